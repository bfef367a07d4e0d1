// Transactions of a connection. With autocommit on (the default) every
// statement commits when it has run. With autocommit off, the first statement
// after a commit or rollback opens a transaction with BEGIN IMMEDIATE: it
// takes the write lock of every attached schema file before anything is read
// (waiting for the busy timeout as every write does), so what the transaction
// reads cannot change under it before it writes. SQLEndTran commits or rolls
// back; switching autocommit on again commits; so does a COMMIT statement
// of the application's own. A transaction that SQLite ended by itself after
// an error is reported until the application ends it, so its later
// statements never commit on their own. A process that dies, or
// a connection closed, inside a transaction loses that transaction only.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include "diagnostics.h"
#include "handles.h"

namespace tsqlite {

// Called before a statement runs on `dbc`: without autocommit, makes sure a
// transaction is open. SQL_SUCCESS, or SQL_ERROR with a record in `diag`.
SQLRETURN BeginStatement(Dbc& dbc, Diagnostics& diag);

// Called after a statement ran without error: a statement of the
// application's own (COMMIT, ROLLBACK) may have ended the transaction.
void AfterStatement(Dbc& dbc);

// Ends the open transaction (if any) with SQL_COMMIT or SQL_ROLLBACK.
SQLRETURN EndTransaction(Dbc& dbc, SQLSMALLINT completion, Diagnostics& diag);

// SQL_ATTR_AUTOCOMMIT: SQL_AUTOCOMMIT_ON commits an open transaction first.
SQLRETURN SetAutocommit(Dbc& dbc, SQLULEN value, Diagnostics& diag);

// Forgets the transaction of a connection whose database was closed (SQLite
// rolled it back).
void ForgetTransaction(Dbc& dbc);

}  // namespace tsqlite
