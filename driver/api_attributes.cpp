// Entry points that set and read environment, connection and statement
// attributes. Values the driver cannot honour are replaced by the nearest it
// can (01S02, "Option value changed"), as ODBC allows.
#include <cstdint>
#include <mutex>

#include "api_util.h"
#include "handles.h"
#include "stmt_call.h"
#include "transaction.h"

using namespace tsqlite;

namespace {

SQLULEN AsNumber(SQLPOINTER value) {
  return static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value));
}

SQLRETURN Changed(Diagnostics& diag) {
  diag.Add("01S02", 0, "Option value changed");
  return SQL_SUCCESS_WITH_INFO;
}

SQLRETURN Unknown(Diagnostics& diag) {
  return Error(diag, "HY092", "Invalid attribute/option identifier");
}

template <typename T>
SQLRETURN Put(SQLPOINTER target, T value, SQLINTEGER* length = nullptr) {
  if (target != nullptr) *static_cast<T*>(target) = value;
  if (length != nullptr) *length = sizeof(T);
  return SQL_SUCCESS;
}

// SQL_ATTR_ANSI_APP: set by driver managers to tell the driver the
// application uses the narrow functions.
constexpr SQLINTEGER kAttrAnsiApp = 115;

SQLRETURN SetStmtAttr(Stmt& s, SQLINTEGER attr, SQLPOINTER value) {
  const SQLULEN v = AsNumber(value);
  switch (attr) {
    case SQL_ATTR_CURSOR_SCROLLABLE:
      if (v == SQL_NONSCROLLABLE) return SQL_SUCCESS;
      return Changed(s.diag);
    case SQL_ATTR_CURSOR_TYPE:
      if (v == SQL_CURSOR_FORWARD_ONLY) return SQL_SUCCESS;
      return Changed(s.diag);
    case SQL_ATTR_CONCURRENCY:
      // Rows are read when the statement runs, so a cursor never holds locks;
      // read-only and lock concurrency behave alike.
      if (v == SQL_CONCUR_READ_ONLY || v == SQL_CONCUR_LOCK) {
        s.concurrency = v;
        return SQL_SUCCESS;
      }
      s.concurrency = SQL_CONCUR_LOCK;
      return Changed(s.diag);
    case SQL_ATTR_CURSOR_SENSITIVITY:
      if (v == SQL_UNSPECIFIED || v == SQL_INSENSITIVE) {
        s.cursor_sensitivity = v;
        return SQL_SUCCESS;
      }
      return Changed(s.diag);
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
      if (v == 1) return SQL_SUCCESS;
      if (v == 0) return Error(s.diag, "HY024", "Invalid attribute value");
      return Changed(s.diag);
    case SQL_ATTR_ASYNC_ENABLE:
      if (v == SQL_ASYNC_ENABLE_OFF) return SQL_SUCCESS;
      return Changed(s.diag);
    case SQL_ATTR_USE_BOOKMARKS:
      if (v == SQL_UB_OFF) return SQL_SUCCESS;
      return Changed(s.diag);
    case SQL_ATTR_QUERY_TIMEOUT:
      s.query_timeout = v;
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS:
      s.max_rows = v;
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH:
      s.max_length = v;
      return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
      s.noscan = v;
      return SQL_SUCCESS;
    case SQL_ATTR_RETRIEVE_DATA:
      s.retrieve_data = v;
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE:
      s.row_bind_type = v;
      return SQL_SUCCESS;
    case SQL_ATTR_ROWS_FETCHED_PTR:
      s.rows_fetched_ptr = static_cast<SQLULEN*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR:
      s.row_status_ptr = static_cast<SQLUSMALLINT*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
      s.bind_offset_ptr = static_cast<SQLLEN*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_PARAMSET_SIZE:
      if (v == 1) return SQL_SUCCESS;
      return Changed(s.diag);
    case SQL_ATTR_PARAM_BIND_TYPE:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR:
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_KEYSET_SIZE:
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_FETCH_BOOKMARK_PTR:
    case SQL_ATTR_METADATA_ID:
      return SQL_SUCCESS;  // no parameters, no bookmarks, no keysets: nothing to keep
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
      return Error(s.diag, "HYC00", "Optional feature not implemented");
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC:
      return Error(s.diag, "HY017", "Invalid use of an automatically allocated descriptor handle");
    default:
      return Unknown(s.diag);
  }
}

SQLRETURN GetStmtAttr(Stmt& s, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER* length) {
  switch (attr) {
    case SQL_ATTR_APP_ROW_DESC:
      return Put<SQLHDESC>(value, &s.app_row_desc, length);
    case SQL_ATTR_APP_PARAM_DESC:
      return Put<SQLHDESC>(value, &s.app_param_desc, length);
    case SQL_ATTR_IMP_ROW_DESC:
      return Put<SQLHDESC>(value, &s.imp_row_desc, length);
    case SQL_ATTR_IMP_PARAM_DESC:
      return Put<SQLHDESC>(value, &s.imp_param_desc, length);
    case SQL_ATTR_CURSOR_SCROLLABLE:
      return Put<SQLULEN>(value, s.cursor_scrollable, length);
    case SQL_ATTR_CURSOR_TYPE:
      return Put<SQLULEN>(value, s.cursor_type, length);
    case SQL_ATTR_CONCURRENCY:
      return Put<SQLULEN>(value, s.concurrency, length);
    case SQL_ATTR_CURSOR_SENSITIVITY:
      return Put<SQLULEN>(value, s.cursor_sensitivity, length);
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
    case SQL_ATTR_PARAMSET_SIZE:
      return Put<SQLULEN>(value, 1, length);
    case SQL_ATTR_ASYNC_ENABLE:
      return Put<SQLULEN>(value, SQL_ASYNC_ENABLE_OFF, length);
    case SQL_ATTR_USE_BOOKMARKS:
      return Put<SQLULEN>(value, SQL_UB_OFF, length);
    case SQL_ATTR_QUERY_TIMEOUT:
      return Put<SQLULEN>(value, s.query_timeout, length);
    case SQL_ATTR_MAX_ROWS:
      return Put<SQLULEN>(value, s.max_rows, length);
    case SQL_ATTR_MAX_LENGTH:
      return Put<SQLULEN>(value, s.max_length, length);
    case SQL_ATTR_NOSCAN:
      return Put<SQLULEN>(value, s.noscan, length);
    case SQL_ATTR_RETRIEVE_DATA:
      return Put<SQLULEN>(value, s.retrieve_data, length);
    case SQL_ATTR_ROW_BIND_TYPE:
      return Put<SQLULEN>(value, s.row_bind_type, length);
    case SQL_ATTR_PARAM_BIND_TYPE:
      return Put<SQLULEN>(value, SQL_PARAM_BIND_BY_COLUMN, length);
    case SQL_ATTR_ROWS_FETCHED_PTR:
      return Put<SQLULEN*>(value, s.rows_fetched_ptr, length);
    case SQL_ATTR_ROW_STATUS_PTR:
      return Put<SQLUSMALLINT*>(value, s.row_status_ptr, length);
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
      return Put<SQLLEN*>(value, s.bind_offset_ptr, length);
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR:
    case SQL_ATTR_FETCH_BOOKMARK_PTR:
      return Put<SQLPOINTER>(value, nullptr, length);
    case SQL_ATTR_ROW_NUMBER: {
      const bool on_row = s.state == StmtState::kCursor && s.result && s.next_row > 0 &&
                          s.next_row <= s.result->rows.size();
      return Put<SQLULEN>(value, on_row ? s.next_row : 0, length);
    }
    case SQL_ATTR_SIMULATE_CURSOR:
      return Put<SQLULEN>(value, SQL_SC_UNIQUE, length);
    case SQL_ATTR_KEYSET_SIZE:
      return Put<SQLULEN>(value, 0, length);
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
      return Put<SQLULEN>(value, SQL_FALSE, length);
    default:
      return Unknown(s.diag);
  }
}

SQLRETURN SetConnectAttr(Dbc& d, SQLINTEGER attr, SQLPOINTER value) {
  const SQLULEN v = AsNumber(value);
  switch (attr) {
    case SQL_ATTR_AUTOCOMMIT:
      return SetAutocommit(d, v, d.diag);
    case SQL_ATTR_LOGIN_TIMEOUT:
      d.login_timeout = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT:
      d.connection_timeout = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
      d.access_mode = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_PACKET_SIZE:
      d.packet_size = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_QUIET_MODE:
      d.quiet_mode = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
      if (v == SQL_TXN_SERIALIZABLE) return SQL_SUCCESS;
      return Changed(d.diag);
    case SQL_ATTR_ASYNC_ENABLE:
      if (v == SQL_ASYNC_ENABLE_OFF) return SQL_SUCCESS;
      return Changed(d.diag);
    case SQL_ATTR_CURRENT_CATALOG:
    case SQL_ATTR_ODBC_CURSORS:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_TRACEFILE:
    case SQL_ATTR_TRANSLATE_LIB:
    case SQL_ATTR_TRANSLATE_OPTION:
    case SQL_ATTR_METADATA_ID:
    case kAttrAnsiApp:
      return SQL_SUCCESS;
    default:
      return Unknown(d.diag);
  }
}

SQLRETURN GetConnectAttr(Dbc& d, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER max,
                         SQLINTEGER* length) {
  switch (attr) {
    case SQL_ATTR_AUTOCOMMIT:
      return Put<SQLUINTEGER>(value, d.autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF, length);
    case SQL_ATTR_LOGIN_TIMEOUT:
      return Put<SQLUINTEGER>(value, d.login_timeout, length);
    case SQL_ATTR_CONNECTION_TIMEOUT:
      return Put<SQLUINTEGER>(value, d.connection_timeout, length);
    case SQL_ATTR_ACCESS_MODE:
      return Put<SQLUINTEGER>(value, d.access_mode, length);
    case SQL_ATTR_PACKET_SIZE:
      return Put<SQLUINTEGER>(value, d.packet_size, length);
    case SQL_ATTR_QUIET_MODE:
      return Put<SQLULEN>(value, d.quiet_mode, length);
    case SQL_ATTR_TXN_ISOLATION:
      return Put<SQLUINTEGER>(value, SQL_TXN_SERIALIZABLE, length);
    case SQL_ATTR_ASYNC_ENABLE:
      return Put<SQLULEN>(value, SQL_ASYNC_ENABLE_OFF, length);
    case SQL_ATTR_CONNECTION_DEAD:
      return Put<SQLUINTEGER>(value, d.db != nullptr ? SQL_CD_FALSE : SQL_CD_TRUE, length);
    case SQL_ATTR_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
      return Put<SQLUINTEGER>(value, SQL_FALSE, length);
    case SQL_ATTR_CURRENT_CATALOG:
      return OutTextInt("", value, max, length, d.diag);
    default:
      return Unknown(d.diag);
  }
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attr, SQLPOINTER value,
                                SQLINTEGER /*length*/) {
  Env* env = AsEnv(handle);
  if (env == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(env->mutex);
  env->diag.Clear();
  const SQLULEN v = AsNumber(value);
  switch (attr) {
    case SQL_ATTR_ODBC_VERSION:
      if (v != SQL_OV_ODBC2 && v != SQL_OV_ODBC3 && v != SQL_OV_ODBC3_80) {
        return Finish(env->diag, Error(env->diag, "HY024", "Invalid attribute value"));
      }
      env->odbc_version = static_cast<SQLINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_POOLING:
      env->connection_pooling = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_CP_MATCH:
      env->cp_match = static_cast<SQLUINTEGER>(v);
      return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
      if (v == SQL_TRUE) return SQL_SUCCESS;
      return Finish(env->diag, Error(env->diag, "HYC00", "Optional feature not implemented"));
    default:
      return Finish(env->diag, Unknown(env->diag));
  }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attr, SQLPOINTER value,
                                SQLINTEGER /*max*/, SQLINTEGER* length) {
  Env* env = AsEnv(handle);
  if (env == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(env->mutex);
  env->diag.Clear();
  switch (attr) {
    case SQL_ATTR_ODBC_VERSION:
      return Put<SQLINTEGER>(value, env->odbc_version, length);
    case SQL_ATTR_CONNECTION_POOLING:
      return Put<SQLUINTEGER>(value, env->connection_pooling, length);
    case SQL_ATTR_CP_MATCH:
      return Put<SQLUINTEGER>(value, env->cp_match, length);
    case SQL_ATTR_OUTPUT_NTS:
      return Put<SQLINTEGER>(value, SQL_TRUE, length);
    default:
      return Finish(env->diag, Unknown(env->diag));
  }
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attr, SQLPOINTER value,
                                    SQLINTEGER /*length*/) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  return Finish(dbc->diag, SetConnectAttr(*dbc, attr, value));
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attr, SQLPOINTER value,
                                    SQLINTEGER max, SQLINTEGER* length) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  return Finish(dbc->diag, GetConnectAttr(*dbc, attr, value, max, length));
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attr, SQLPOINTER value,
                                 SQLINTEGER /*length*/) {
  return WithStmt(handle, [&](Stmt& s) { return SetStmtAttr(s, attr, value); });
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attr, SQLPOINTER value,
                                 SQLINTEGER /*max*/, SQLINTEGER* length) {
  return WithStmt(handle, [&](Stmt& s) { return GetStmtAttr(s, attr, value, length); });
}

}  // extern "C"
