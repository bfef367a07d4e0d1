// Helpers shared by the ODBC entry points: texts in and out of application
// buffers with the ODBC length rules, and the bookkeeping of a call's result
// in the handle's diagnostics.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

#include "diagnostics.h"

namespace tsqlite {

// An input text of `length` bytes, or up to its terminator for SQL_NTS: a
// copy, or a view of the caller's buffer (valid for the call).
std::string InText(const SQLCHAR* text, SQLINTEGER length);
std::string_view InTextView(const SQLCHAR* text, SQLINTEGER length);

// Copies `value` into `buffer` (`buffer_length` bytes, terminated), stores its
// full length in `length_out`; a cut value adds 01004 to `diag` and gives
// SQL_SUCCESS_WITH_INFO.
SQLRETURN OutText(std::string_view value, SQLPOINTER buffer, SQLLEN buffer_length,
                  SQLSMALLINT* length_out, Diagnostics& diag);
SQLRETURN OutTextInt(std::string_view value, SQLPOINTER buffer, SQLLEN buffer_length,
                     SQLINTEGER* length_out, Diagnostics& diag);

// Adds the record and returns SQL_ERROR.
SQLRETURN Error(Diagnostics& diag, std::string_view sqlstate, std::string_view message,
                int32_t native = 0);

// Records `rc` as the call's return code and returns it.
inline SQLRETURN Finish(Diagnostics& diag, SQLRETURN rc) {
  diag.return_code = rc;
  return rc;
}

// SQL_SUCCESS_WITH_INFO wins over SQL_SUCCESS, SQL_ERROR over both.
inline SQLRETURN Combine(SQLRETURN a, SQLRETURN b) {
  if (a == SQL_ERROR || b == SQL_ERROR) return SQL_ERROR;
  if (a == SQL_SUCCESS_WITH_INFO || b == SQL_SUCCESS_WITH_INFO) return SQL_SUCCESS_WITH_INFO;
  return a;
}

}  // namespace tsqlite
