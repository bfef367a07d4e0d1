#include "dialect/dialect.h"

namespace tsq {

Translation Translate(std::string_view tsql) {
  Translation t;
  t.ok = true;
  t.sqlite_sql = std::string(tsql);
  t.kind = StatementKind::kOther;
  return t;
}

void RegisterFunctions(sqlite3* /*db*/) {}

SqlError MapError(sqlite3* db, int rc) {
  SqlError e;
  e.native = 50000;
  e.sqlstate = "HY000";
  e.message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return e;
}

}  // namespace tsq
