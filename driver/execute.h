// Running one T-SQL statement on a connection's SQLite database: translate,
// prepare, step to completion (a query's rows are kept in memory), release
// the SQLite statement. In autocommit mode every statement commits when it
// has run.
#pragma once

#include <sql.h>
#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>

#include "dialect/dialect.h"
#include "dialect/plan_cache.h"
#include "result_set.h"

namespace tsqlite {

struct ExecOutcome {
  SQLRETURN rc = SQL_SUCCESS;  // SQL_SUCCESS, SQL_NO_DATA (update/delete of no row) or SQL_ERROR
  tsq::SqlError error;         // when rc is SQL_ERROR
  std::optional<ResultSet> result;  // a statement that yields rows
  SQLLEN row_count = -1;            // rows changed by an insert, update or delete
};

// Runs `tsql`. `directory` is where CREATE SCHEMA puts its file; `max_rows`
// (0: all) limits the rows a query keeps. With `autocommit` the statement
// commits when it has run; without, it stays in the connection's transaction.
ExecOutcome Execute(sqlite3* db, const std::string& directory, std::string_view tsql,
                    SQLULEN max_rows, bool autocommit = true);

// The same through `cache` (may be null): a statement of a known shape reuses
// its translation and compiled statement. `storage` (may be null) lends the
// blocks of an earlier result to this one's rows; it is left empty.
ExecOutcome Execute(sqlite3* db, tsq::PlanCache* cache, const std::string& directory,
                    std::string_view tsql, SQLULEN max_rows, bool autocommit = true,
                    RowStore* storage = nullptr);

// The columns a statement would yield, without running it (SQLPrepare).
// Returns false and fills `error` when it does not translate or prepare.
bool DescribeStatement(sqlite3* db, std::string_view tsql, ResultSet& columns,
                       tsq::SqlError& error);

}  // namespace tsqlite
