// Operations on a statement that several entry points share. The caller holds
// the connection's mutex and has cleared the statement's diagnostics.
#pragma once

#include <string_view>

#include "handles.h"

namespace tsqlite {

// Drops the open result set (if any); the statement returns to prepared or
// allocated.
void CloseCursor(Stmt& s);

// The columns known to the statement, described: of the open result set,
// else of the prepared statement; null when there are none yet.
const ResultSet* Columns(Stmt& s);

// Runs `tsql` on the statement's connection and makes its result current.
SQLRETURN ExecuteText(Stmt& s, std::string_view tsql);

// A new statement on `dbc`, listed with its connection: one the connection
// kept from an earlier free when it has one.
Stmt* NewStatement(Dbc& dbc);

// Frees a statement and removes it from its connection. A few freed
// statements are kept, cleared, for the connection's next allocations.
void DestroyStatement(Stmt* s);

// Deletes the statements `dbc` kept for reuse (before the connection goes).
void DeleteSpareStatements(Dbc& dbc);

}  // namespace tsqlite
