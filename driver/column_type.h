// Derives the ODBC description of a result column (SQL type, size, display
// size) from the column's declared SQLite type and, since every row is at
// hand, from the values the column actually holds.
#pragma once

#include <string_view>

#include "result_set.h"

namespace tsqlite {

// Fills sql_type, type_name, column_size, decimal_digits, display_size and
// octet_length of `column` number `index` of `rs`. `decltype_text` may be empty
// (an expression column).
void DescribeColumn(std::string_view decltype_text, size_t index, const ResultSet& rs,
                    ColumnInfo& column);

// The described columns of `rs`, describing them first if they are not yet.
const std::vector<ColumnInfo>& Described(ResultSet& rs);

}  // namespace tsqlite
