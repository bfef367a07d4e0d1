// Entry points that prepare and execute statements and report their outcome.
#include <mutex>

#include "api_util.h"
#include "execute.h"
#include "handles.h"
#include "statement_ops.h"
#include "stmt_call.h"
#include "transaction.h"

using namespace tsqlite;

namespace {

SQLRETURN CursorOpenError(Stmt& s) {
  return Error(s.diag, "24000", "Invalid cursor state");
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  return WithStmt(handle, [&](Stmt& s) {
    if (text == nullptr) return Error(s.diag, "HY009", "Invalid use of null pointer");
    if (s.state == StmtState::kCursor) return CursorOpenError(s);
    s.prepared.reset();
    s.prepared_sql.clear();
    return ExecuteText(s, InTextView(text, length));
  });
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  return WithStmt(handle, [&](Stmt& s) {
    if (text == nullptr) return Error(s.diag, "HY009", "Invalid use of null pointer");
    if (s.state == StmtState::kCursor) return CursorOpenError(s);
    if (s.dbc->db == nullptr) return Error(s.diag, "08003", "Connection not open");
    s.prepared.reset();
    s.prepared_sql.clear();
    s.state = StmtState::kAllocated;
    const std::string sql = InText(text, length);
    ResultSet columns;
    tsq::SqlError error;
    if (!DescribeStatement(s.dbc->db, sql, columns, error)) {
      return Error(s.diag, error.sqlstate.empty() ? "HY000" : error.sqlstate, error.message,
                   error.native);
    }
    s.prepared_sql = sql;
    s.prepared = std::move(columns);
    s.state = StmtState::kPrepared;
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state == StmtState::kCursor) return CursorOpenError(s);
    if (!s.prepared) return Error(s.diag, "HY010", "Function sequence error");
    return ExecuteText(s, s.prepared_sql);
  });
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state != StmtState::kExecuted && s.state != StmtState::kCursor) {
      return Error(s.diag, "HY010", "Function sequence error");
    }
    if (count != nullptr) *count = s.row_count;
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state == StmtState::kAllocated) return Error(s.diag, "HY010", "Function sequence error");
    const ResultSet* rs = Columns(s);
    if (count != nullptr) {
      *count = static_cast<SQLSMALLINT>(
          rs != nullptr && s.state != StmtState::kExecuted ? rs->columns.size() : 0);
    }
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  return WithStmt(handle, [&](Stmt& s) {
    CloseCursor(s);
    return static_cast<SQLRETURN>(SQL_NO_DATA);
  });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state != StmtState::kCursor) return CursorOpenError(s);
    CloseCursor(s);
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
  // Statements run to completion inside the executing call; nothing runs
  // asynchronously that could be cancelled.
  return WithStmt(handle, [](Stmt&) { return static_cast<SQLRETURN>(SQL_SUCCESS); });
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count) {
  return WithStmt(handle, [&](Stmt&) {
    if (count != nullptr) *count = 0;
    return static_cast<SQLRETURN>(SQL_SUCCESS);
  });
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT,
                                   SQLSMALLINT, SQLULEN, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*) {
  return WithStmt(handle, [](Stmt& s) {
    return Error(s.diag, "HYC00", "Optional feature not implemented: parameter markers");
  });
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER in_length, SQLCHAR* out,
                               SQLINTEGER out_max, SQLINTEGER* out_length) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  if (in == nullptr) {
    return Finish(dbc->diag, Error(dbc->diag, "HY009", "Invalid use of null pointer"));
  }
  // No escape clauses are processed: the text goes to the engine as written.
  return Finish(dbc->diag, OutTextInt(InText(in, in_length), out, out_max, out_length, dbc->diag));
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion) {
  if (type == SQL_HANDLE_DBC) {
    Dbc* dbc = AsDbc(handle);
    if (dbc == nullptr) return SQL_INVALID_HANDLE;
    std::lock_guard<std::mutex> lock(dbc->mutex);
    dbc->diag.Clear();
    return Finish(dbc->diag, EndTransaction(*dbc, completion, dbc->diag));
  }
  if (type != SQL_HANDLE_ENV) return SQL_INVALID_HANDLE;
  Env* env = AsEnv(handle);
  if (env == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(env->mutex);
  env->diag.Clear();
  if (completion != SQL_COMMIT && completion != SQL_ROLLBACK) {
    return Finish(env->diag, Error(env->diag, "HY012", "Invalid transaction operation code"));
  }
  // Each connection on its own; a failure is reported on the environment.
  SQLRETURN rc = SQL_SUCCESS;
  for (Dbc* dbc : env->connections) {
    std::lock_guard<std::mutex> dbc_lock(dbc->mutex);
    if (EndTransaction(*dbc, completion, env->diag) == SQL_ERROR) rc = SQL_ERROR;
  }
  return Finish(env->diag, rc);
}

}  // extern "C"
