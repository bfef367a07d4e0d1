// Conversion of one result value into an application buffer of a given C
// type, with the ODBC rules for NULL, truncation and range: a NULL writes
// SQL_NULL_DATA to the indicator and leaves the buffer untouched; a text cut to
// the buffer is terminated and reported as 01004; a number that does not fit
// fails with 22003; a fraction lost to an integer target is reported as 01S07;
// a text that is no number fails with 22018.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

#include "result_set.h"

namespace tsqlite {

struct Conversion {
  SQLRETURN rc = SQL_SUCCESS;  // SQL_SUCCESS, SQL_SUCCESS_WITH_INFO, SQL_ERROR or SQL_NO_DATA
  std::string_view sqlstate;   // set unless rc is SQL_SUCCESS or SQL_NO_DATA (static text)
  std::string_view message;    // static text
  size_t consumed = 0;  // character/binary targets: bytes of the value delivered by this call
};

// True for the C types ConvertValue understands (SQL_C_DEFAULT excluded).
bool IsSupportedCType(SQLSMALLINT c_type);

// The C type that SQL_C_DEFAULT stands for with a column of `sql_type`.
SQLSMALLINT DefaultCType(SQLSMALLINT sql_type);

// Writes `value` as `c_type` into `target` (`buffer_length` bytes, used by the
// character and binary types only) and its length or SQL_NULL_DATA into
// `indicator` (may be null). `offset` is the number of bytes of a character or
// binary value that earlier calls already delivered (SQLGetData in pieces).
Conversion ConvertValue(const Value& value, SQLSMALLINT c_type, SQLPOINTER target,
                        SQLLEN buffer_length, SQLLEN* indicator, size_t offset = 0);

// The text SQL Server gives for a number: integers in decimal, floating point
// in the shortest form that reads back as the same value ("1.5", "0.1").
std::string IntegerText(int64_t v);
std::string RealText(double v);

}  // namespace tsqlite
