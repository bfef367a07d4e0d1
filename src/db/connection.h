// The one ODBC connection of the run, the statement handles its single reads
// and writes share, the configured schema name that every statement
// qualifies its tables with, and the diagnostic record of the last failed
// call. All of it is process-wide and lives until the process ends; the
// connection is never closed explicitly.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"
#include "db/bound_columns.h"

namespace db {

// First diagnostic record of the last failed call whose diagnostics were read.
struct DiagRecord {
  char sqlstate[256];
  int32_t native;
  char message[5000];
};

DiagRecord& LastDiag();

// Clears `rec` and fills it with diagnostic record 1 of the handle. When the
// handle has none, the record stays cleared (native error 0).
void Diag_Lesen(SQLSMALLINT handle_type, SQLHANDLE handle, DiagRecord& rec);

// Connects to the data source. Result 0 when connected (also with
// information), -1 otherwise; a failed connect prints
// "Connect Error: SQLCode: %ld sqlState: %s Msg: %s\n" on standard output.
int32_t dbConnect(const char* user, const char* password, const char* dsn);

// The connection handle, or SQL_NULL_HDBC before a connect.
SQLHDBC Connection();

// Makes `dbc`, a connection that another part of the process opened and
// keeps owning, the one every statement of this layer runs on
// (SQL_NULL_HDBC: none). For programs that never call dbConnect.
void UseConnection(SQLHDBC dbc);

// A statement handle on the connection and the columns bound on it.
struct StatementHandle {
  SQLHSTMT handle = SQL_NULL_HSTMT;
  BoundColumns bound;
};

// Allocates `st.handle` on the connection with nothing bound; false (and no
// handle) without a connection or when none can be allocated.
bool AllocateStatement(StatementHandle& st);

// The handles that single reads and writes share (a handle per statement
// cost more than many a small statement itself), eight of them. A read takes
// the one whose first column is bound as `first` already, else the next in
// turn, so that reads that alternate keep their bindings; `first` nullptr (a
// write, a read without columns) takes the first handle. Each is allocated
// at first use and freed when the connection changes; nullptr when none can
// be allocated. Its user closes its cursor before anybody else may use it.
StatementHandle* SingleStatement(const BoundColumns::Slot* first);

// Changes whenever the connection does (dbConnect, UseConnection): a handle
// allocated under another generation belongs to another connection.
uint32_t ConnectionGeneration();

// Longest schema name: it qualifies every table name and names the run log.
inline constexpr std::size_t kMaxSchemaName = 20;

// The schema name (at most kMaxSchemaName characters) that qualifies every
// table name.
void SetSchema(std::string_view name);
const char* Schema();

}  // namespace db
