// Entry points that allocate and free handles.
#include <algorithm>
#include <mutex>

#include "api_util.h"
#include "handles.h"
#include "statement_ops.h"

using namespace tsqlite;

namespace {

SQLRETURN AllocStatement(Dbc* dbc, SQLHANDLE* out) {
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  if (dbc->db == nullptr) {
    *out = SQL_NULL_HSTMT;
    return Finish(dbc->diag, Error(dbc->diag, "08003", "Connection not open"));
  }
  *out = NewStatement(*dbc);
  return SQL_SUCCESS;
}

SQLRETURN FreeConnection(Dbc* dbc) {
  Env* env = dbc->env;
  {
    std::lock_guard<std::mutex> lock(dbc->mutex);
    dbc->diag.Clear();
    if (dbc->db != nullptr) {
      return Finish(dbc->diag, Error(dbc->diag, "HY010", "Function sequence error"));
    }
    while (!dbc->statements.empty()) DestroyStatement(dbc->statements.back());
    DeleteSpareStatements(*dbc);
  }
  {
    std::lock_guard<std::mutex> lock(env->mutex);
    auto& list = env->connections;
    list.erase(std::remove(list.begin(), list.end(), dbc), list.end());
  }
  dbc->tag = HandleTag::kFreed;
  delete dbc;
  return SQL_SUCCESS;
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (output == nullptr) {
    if (type == SQL_HANDLE_ENV) return SQL_ERROR;
    if (type == SQL_HANDLE_DBC) {
      Env* env = AsEnv(input);
      if (env == nullptr) return SQL_INVALID_HANDLE;
      env->diag.Clear();
      return Finish(env->diag, Error(env->diag, "HY009", "Invalid use of null pointer"));
    }
    if (type == SQL_HANDLE_STMT) {
      Dbc* dbc = AsDbc(input);
      if (dbc == nullptr) return SQL_INVALID_HANDLE;
      std::lock_guard<std::mutex> lock(dbc->mutex);
      dbc->diag.Clear();
      return Finish(dbc->diag, Error(dbc->diag, "HY009", "Invalid use of null pointer"));
    }
    return SQL_ERROR;
  }
  switch (type) {
    case SQL_HANDLE_ENV: {
      *output = new Env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      Env* env = AsEnv(input);
      if (env == nullptr) {
        *output = SQL_NULL_HDBC;
        return SQL_INVALID_HANDLE;
      }
      std::lock_guard<std::mutex> lock(env->mutex);
      env->diag.Clear();
      Dbc* dbc = new Dbc;
      dbc->env = env;
      env->connections.push_back(dbc);
      *output = dbc;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
      Dbc* dbc = AsDbc(input);
      if (dbc == nullptr) {
        *output = SQL_NULL_HSTMT;
        return SQL_INVALID_HANDLE;
      }
      return AllocStatement(dbc, output);
    }
    case SQL_HANDLE_DESC: {
      Dbc* dbc = AsDbc(input);
      if (dbc == nullptr) return SQL_INVALID_HANDLE;
      std::lock_guard<std::mutex> lock(dbc->mutex);
      dbc->diag.Clear();
      *output = SQL_NULL_HDESC;
      return Finish(dbc->diag, Error(dbc->diag, "HYC00", "Explicit descriptors are not supported"));
    }
    default:
      return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV: {
      Env* env = AsEnv(handle);
      if (env == nullptr) return SQL_INVALID_HANDLE;
      {
        std::lock_guard<std::mutex> lock(env->mutex);
        env->diag.Clear();
        if (!env->connections.empty()) {
          return Finish(env->diag, Error(env->diag, "HY010", "Function sequence error"));
        }
      }
      env->tag = HandleTag::kFreed;
      delete env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      Dbc* dbc = AsDbc(handle);
      if (dbc == nullptr) return SQL_INVALID_HANDLE;
      return FreeConnection(dbc);
    }
    case SQL_HANDLE_STMT: {
      Stmt* s = AsStmt(handle);
      if (s == nullptr) return SQL_INVALID_HANDLE;
      std::lock_guard<std::mutex> lock(s->dbc->mutex);
      DestroyStatement(s);
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DESC:
      return SQL_INVALID_HANDLE;
    default:
      return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  Stmt* s = AsStmt(handle);
  if (s == nullptr) return SQL_INVALID_HANDLE;
  std::unique_lock<std::mutex> lock(s->dbc->mutex);
  s->diag.Clear();
  switch (option) {
    case SQL_CLOSE:
      CloseCursor(*s);
      return SQL_SUCCESS;
    case SQL_UNBIND:
      s->bindings.clear();
      return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
      return SQL_SUCCESS;
    case SQL_DROP:
      DestroyStatement(s);
      return SQL_SUCCESS;
    default:
      return Finish(s->diag, Error(s->diag, "HY092", "Invalid attribute/option identifier"));
  }
}

}  // extern "C"
