// The SQL functions that translated statements call, and the marker that
// carries a SQL Server error out of a function through SQLite's error text.
//   tsq_convert_text(value, style, length, pad)  convert(char/varchar(n), value[, style])
//   tsq_convert_datetime(value, style, date_only) convert(datetime/date, value[, style])
//   tsq_convert_int(value, type)                 convert(int/smallint/..., value)
//   tsq_convert_float(value, scale)              convert(float/decimal(p,s), value)
//   tsq_dateadd(part, amount, value)             dateadd(part, amount, value)
//   tsq_datediff(part, start, end)               datediff(part, start, end)
// A style of NULL means none was given; a length of -1 means no limit.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>

#include "dialect/dialect.h"

namespace tsq {

void RegisterDialectFunctions(sqlite3* db);

// "tsq:<native>:<sqlstate>:<message>", the text a function fails with.
std::string ErrorMarker(const SqlError& error);

// The error a marker text stands for; nullopt for any other text.
std::optional<SqlError> ParseErrorMarker(std::string_view text);

}  // namespace tsq
