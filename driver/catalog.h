// Catalog result sets (SQLTables, SQLColumns) built from the attached schema
// files. Name arguments are ODBC search patterns ('%', '_', escape '\'),
// compared without regard to case; an empty pattern matches everything.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>

#include "result_set.h"

namespace tsqlite {

// True when `text` matches the search pattern (case-insensitive).
bool PatternMatches(const std::string& pattern, const std::string& text);

// The rows of SQLTables. `types` is the list of table types ("TABLE",
// "'TABLE','VIEW'", empty for all).
ResultSet ListTables(sqlite3* db, const std::optional<std::string>& catalog,
                     const std::optional<std::string>& schema,
                     const std::optional<std::string>& table,
                     const std::optional<std::string>& types);

// The rows of SQLColumns.
ResultSet ListColumns(sqlite3* db, const std::optional<std::string>& schema,
                      const std::optional<std::string>& table,
                      const std::optional<std::string>& column);

}  // namespace tsqlite
