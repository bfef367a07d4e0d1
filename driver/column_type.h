// Derives the ODBC description of a result column (SQL type, size, display
// size) from the column's declared type alone (the engine's declaration, or
// what the translation knows of an expression), never from the values held.
#pragma once

#include <string_view>

#include "result_set.h"

namespace tsqlite {

// Fills sql_type, type_name, column_size, decimal_digits, display_size and
// octet_length of `column` from `decltype_text`, which may be empty (an
// expression whose type is not known).
void DescribeColumn(std::string_view decltype_text, ColumnInfo& column);

// The described columns of `rs`, describing them first if they are not yet.
const std::vector<ColumnInfo>& Described(ResultSet& rs);

}  // namespace tsqlite
