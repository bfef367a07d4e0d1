// SQL Server dialect on SQLite: translates one T-SQL statement into SQLite
// SQL, registers the SQL functions the translated statements call, and maps
// SQLite failures to SQL Server's native error numbers, SQLSTATEs and
// messages. No ODBC here; the driver builds on it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tsq {

// The error of a text that holds more than one statement.
inline constexpr int32_t kOneStatementNative = 50000;
inline constexpr const char* kOneStatementMessage = "Only one statement can be executed at a time.";

struct SqlError {
  int32_t native = 0;
  std::string sqlstate;
  std::string message;
};

enum class StatementKind { kQuery, kModify, kDdl, kCreateSchema, kOther };

struct Translation {
  bool ok = false;  // false: `error` says why (e.g. syntax 102 / 42000)
  SqlError error;
  StatementKind kind = StatementKind::kOther;
  // The engine reports the rows it changed: INSERT, UPDATE, DELETE, MERGE,
  // REPLACE (also behind WITH) and TRUNCATE TABLE.
  bool counts_rows = false;
  // An UPDATE or DELETE that changes no row ends with SQL_NO_DATA.
  bool no_data_without_rows = false;
  std::string sqlite_sql;  // one SQLite statement (empty for kCreateSchema)
  std::string schema;      // kCreateSchema: the schema name (driver creates <dir>/<name>.sqlite and
                           // attaches it)
};

// Translates one T-SQL statement (a trailing ';' is allowed) into SQLite SQL.
Translation Translate(std::string_view tsql);

// Registers on `db` the SQL functions that translated statements call.
void RegisterFunctions(sqlite3* db);

// SQL Server's native error, SQLSTATE and message for a failed sqlite3 call on `db` with result
// `rc`.
SqlError MapError(sqlite3* db, int rc);

}  // namespace tsq
