// Catalog entry points: SQLTables and SQLColumns.
#include <optional>

#include "api_util.h"
#include "catalog.h"
#include "handles.h"
#include "statement_ops.h"
#include "stmt_call.h"

using namespace tsqlite;

namespace {

std::optional<std::string> Arg(SQLCHAR* text, SQLSMALLINT length) {
  if (text == nullptr) return std::nullopt;
  return InText(text, length);
}

template <typename F>
SQLRETURN Catalog(SQLHSTMT handle, F make) {
  return WithStmt(handle, [&](Stmt& s) {
    if (s.state == StmtState::kCursor) return Error(s.diag, "24000", "Invalid cursor state");
    if (s.dbc->db == nullptr) return Error(s.diag, "08003", "Connection not open");
    s.prepared.reset();
    CloseCursor(s);
    s.result = make(s.dbc->db);
    s.row_count = -1;
    s.state = StmtState::kCursor;
    return SQLRETURN{SQL_SUCCESS};
  });
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                            SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                            SQLSMALLINT table_length, SQLCHAR* types, SQLSMALLINT types_length) {
  return Catalog(handle, [&](sqlite3* db) {
    return ListTables(db, Arg(catalog, catalog_length), Arg(schema, schema_length),
                      Arg(table, table_length), Arg(types, types_length));
  });
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR* /*catalog*/, SQLSMALLINT /*catalog_length*/,
                             SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                             SQLSMALLINT table_length, SQLCHAR* column, SQLSMALLINT column_length) {
  return Catalog(handle, [&](sqlite3* db) {
    return ListColumns(db, Arg(schema, schema_length), Arg(table, table_length),
                       Arg(column, column_length));
  });
}

}  // extern "C"
