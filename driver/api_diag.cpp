// SQLGetDiagRec and SQLGetDiagField for environment, connection and
// statement handles. Reading diagnostics never clears them.
#include <cstdio>
#include <mutex>

#include "api_util.h"
#include "handles.h"

using namespace tsqlite;

namespace {

struct Target {
  Diagnostics* diag = nullptr;
  std::mutex* mutex = nullptr;
  SQLINTEGER odbc_version = SQL_OV_ODBC3;
  Stmt* stmt = nullptr;
  std::string server;
};

bool Resolve(SQLSMALLINT type, SQLHANDLE handle, Target& t) {
  switch (type) {
    case SQL_HANDLE_ENV: {
      Env* env = AsEnv(handle);
      if (env == nullptr) return false;
      t.diag = &env->diag;
      t.mutex = &env->mutex;
      t.odbc_version = env->odbc_version;
      return true;
    }
    case SQL_HANDLE_DBC: {
      Dbc* dbc = AsDbc(handle);
      if (dbc == nullptr) return false;
      t.diag = &dbc->diag;
      t.mutex = &dbc->mutex;
      t.odbc_version = dbc->env->odbc_version;
      t.server = dbc->dsn;
      return true;
    }
    case SQL_HANDLE_STMT: {
      Stmt* s = AsStmt(handle);
      if (s == nullptr) return false;
      t.diag = &s->diag;
      t.mutex = &s->dbc->mutex;
      t.odbc_version = s->dbc->env->odbc_version;
      t.stmt = s;
      t.server = s->dbc->dsn;
      return true;
    }
    default:
      return false;
  }
}

std::string StateFor(const Target& t, const std::string& sqlstate) {
  return t.odbc_version == SQL_OV_ODBC2 ? Odbc2State(sqlstate) : sqlstate;
}

// Output helpers that do not add diagnostics of their own.
SQLRETURN Text(const std::string& v, SQLPOINTER buffer, SQLSMALLINT max, SQLSMALLINT* length) {
  Diagnostics scratch;
  return OutText(v, buffer, max, length, scratch);
}

template <typename T>
SQLRETURN Number(SQLPOINTER buffer, T v) {
  if (buffer != nullptr) *static_cast<T*>(buffer) = v;
  return SQL_SUCCESS;
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                SQLCHAR* sqlstate, SQLINTEGER* native, SQLCHAR* message,
                                SQLSMALLINT max, SQLSMALLINT* length) {
  if (type == SQL_HANDLE_DESC) return SQL_NO_DATA;
  Target t;
  if (!Resolve(type, handle, t)) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(*t.mutex);
  if (record < 1 || max < 0) return SQL_ERROR;
  if (static_cast<size_t>(record) > t.diag->records.size()) return SQL_NO_DATA;
  const DiagRecord& r = t.diag->records[static_cast<size_t>(record) - 1];
  if (sqlstate != nullptr) {
    const std::string state = StateFor(t, r.sqlstate);
    std::snprintf(reinterpret_cast<char*>(sqlstate), 6, "%s", state.c_str());
  }
  if (native != nullptr) *native = r.native;
  return Text(r.message, message, max, length);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                  SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT max,
                                  SQLSMALLINT* length) {
  if (type == SQL_HANDLE_DESC) return SQL_NO_DATA;
  Target t;
  if (!Resolve(type, handle, t)) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(*t.mutex);
  // Header fields.
  switch (field) {
    case SQL_DIAG_NUMBER:
      return Number<SQLINTEGER>(info, static_cast<SQLINTEGER>(t.diag->records.size()));
    case SQL_DIAG_RETURNCODE:
      return Number<SQLRETURN>(info, t.diag->return_code);
    case SQL_DIAG_ROW_COUNT:
      if (t.stmt == nullptr) return SQL_ERROR;
      return Number<SQLLEN>(info, t.stmt->row_count);
    case SQL_DIAG_CURSOR_ROW_COUNT:
      if (t.stmt == nullptr) return SQL_ERROR;
      return Number<SQLLEN>(info,
                            t.stmt->result ? static_cast<SQLLEN>(t.stmt->result->rows.size()) : 0);
    case SQL_DIAG_DYNAMIC_FUNCTION:
      if (t.stmt == nullptr) return SQL_ERROR;
      return Text("", info, max, length);
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      if (t.stmt == nullptr) return SQL_ERROR;
      return Number<SQLINTEGER>(info, SQL_DIAG_UNKNOWN_STATEMENT);
    default:
      break;
  }
  if (record < 1) return SQL_ERROR;
  if (static_cast<size_t>(record) > t.diag->records.size()) return SQL_NO_DATA;
  const DiagRecord& r = t.diag->records[static_cast<size_t>(record) - 1];
  switch (field) {
    case SQL_DIAG_SQLSTATE:
      return Text(StateFor(t, r.sqlstate), info, max, length);
    case SQL_DIAG_NATIVE:
      return Number<SQLINTEGER>(info, r.native);
    case SQL_DIAG_MESSAGE_TEXT:
      return Text(r.message, info, max, length);
    case SQL_DIAG_CLASS_ORIGIN:
      return Text(ClassOrigin(r.sqlstate), info, max, length);
    case SQL_DIAG_SUBCLASS_ORIGIN:
      return Text(SubclassOrigin(r.sqlstate), info, max, length);
    case SQL_DIAG_CONNECTION_NAME:
      return Text("", info, max, length);
    case SQL_DIAG_SERVER_NAME:
      return Text(t.server, info, max, length);
    case SQL_DIAG_COLUMN_NUMBER:
      return Number<SQLINTEGER>(info, t.stmt != nullptr ? r.column : SQL_COLUMN_NUMBER_UNKNOWN);
    case SQL_DIAG_ROW_NUMBER:
      return Number<SQLLEN>(info, t.stmt != nullptr ? r.row : SQL_ROW_NUMBER_UNKNOWN);
    default:
      return SQL_ERROR;
  }
}

}  // extern "C"
