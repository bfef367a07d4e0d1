#include "transaction.h"

#include "api_util.h"
#include "dialect/dialect.h"

namespace tsqlite {
namespace {

SQLRETURN Run(Dbc& dbc, const char* sql, Diagnostics& diag) {
  const int rc = sqlite3_exec(dbc.db, sql, nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return SQL_SUCCESS;
  const tsq::SqlError e = tsq::MapError(dbc.db, rc);
  return Error(diag, e.sqlstate.empty() ? "HY000" : e.sqlstate, e.message, e.native);
}

// True when the transaction the driver opened was ended by SQLite itself
// (some errors, such as a full disk, roll the whole transaction back).
bool Lost(const Dbc& dbc) {
  return dbc.in_transaction && sqlite3_get_autocommit(dbc.db) != 0;
}

}  // namespace

SQLRETURN BeginStatement(Dbc& dbc, Diagnostics& diag) {
  if (dbc.autocommit || dbc.db == nullptr) return SQL_SUCCESS;
  if (Lost(dbc)) {
    return Error(diag, "25000",
                 "The transaction was rolled back after an error; end it with a rollback before "
                 "running further statements.");
  }
  if (dbc.in_transaction) return SQL_SUCCESS;
  const SQLRETURN rc = Run(dbc, "BEGIN IMMEDIATE", diag);
  if (rc == SQL_SUCCESS) dbc.in_transaction = true;
  return rc;
}

void AfterStatement(Dbc& dbc) {
  if (Lost(dbc)) dbc.in_transaction = false;
}

SQLRETURN EndTransaction(Dbc& dbc, SQLSMALLINT completion, Diagnostics& diag) {
  if (completion != SQL_COMMIT && completion != SQL_ROLLBACK) {
    return Error(diag, "HY012", "Invalid transaction operation code");
  }
  if (!dbc.in_transaction || dbc.db == nullptr) return SQL_SUCCESS;
  if (Lost(dbc)) {
    dbc.in_transaction = false;
    if (completion == SQL_ROLLBACK) return SQL_SUCCESS;
    return Error(diag, "25S03", "Transaction is rolled back");
  }
  const SQLRETURN rc = Run(dbc, completion == SQL_COMMIT ? "COMMIT" : "ROLLBACK", diag);
  // A commit that could not finish leaves the transaction open: the
  // application may try again or roll back.
  dbc.in_transaction = sqlite3_get_autocommit(dbc.db) == 0;
  return rc;
}

SQLRETURN SetAutocommit(Dbc& dbc, SQLULEN value, Diagnostics& diag) {
  if (value != SQL_AUTOCOMMIT_ON && value != SQL_AUTOCOMMIT_OFF) {
    return Error(diag, "HY024", "Invalid attribute value");
  }
  if (value == SQL_AUTOCOMMIT_ON && !dbc.autocommit) {
    const SQLRETURN rc = EndTransaction(dbc, SQL_COMMIT, diag);
    if (rc == SQL_ERROR) return rc;
  }
  dbc.autocommit = value == SQL_AUTOCOMMIT_ON;
  return SQL_SUCCESS;
}

void ForgetTransaction(Dbc& dbc) {
  dbc.in_transaction = false;
}

}  // namespace tsqlite
