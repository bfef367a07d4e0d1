#include "execute.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "column_type.h"
#include "connect.h"
#include "dialect/result_types.h"

namespace tsqlite {
namespace {

namespace fs = std::filesystem;

tsq::SqlError Error(int32_t native, const char* sqlstate, std::string message) {
  tsq::SqlError e;
  e.native = native;
  e.sqlstate = sqlstate;
  e.message = std::move(message);
  return e;
}

// Whether [tail, end) holds only blanks and ';'. A zero byte counts as text:
// SQLite stops reading there, so whatever follows it would be dropped.
bool OnlyBlanks(const char* tail, const char* end) {
  for (; tail != nullptr && tail < end; ++tail) {
    if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') return false;
  }
  return true;
}

bool SchemaAttached(sqlite3* db, const std::string& name) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_database_list WHERE name = ?1 COLLATE NOCASE",
                         -1, &st, nullptr) != SQLITE_OK) {
    return false;
  }
  sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
  const bool found = sqlite3_step(st) == SQLITE_ROW;
  sqlite3_finalize(st);
  return found;
}

ExecOutcome CreateSchema(sqlite3* db, const std::string& directory, const std::string& name) {
  ExecOutcome out;
  if (!IsSchemaName(name)) {
    out.rc = SQL_ERROR;
    out.error = Error(102, "42000", "Incorrect syntax near '" + name + "'.");
    return out;
  }
  const std::string exists_message =
      "There is already an object named '" + name + "' in the database.";
  if (SchemaAttached(db, name)) {
    out.rc = SQL_ERROR;
    out.error = Error(2714, "42S01", exists_message);
    return out;
  }
  std::error_code ec;
  const bool file_exists = fs::exists(fs::path(directory) / (name + ".sqlite"), ec);
  if (!AttachSchema(db, directory, name, out.error)) {
    out.rc = SQL_ERROR;
    return out;
  }
  if (file_exists) {
    // Made by another connection since this one connected: now attached here too.
    out.rc = SQL_ERROR;
    out.error = Error(2714, "42S01", exists_message);
  }
  return out;
}

// One value of the current row: the column's value is fetched once and read
// through it, rather than through a column call (each with its own checks)
// per property.
void ReadValue(sqlite3_stmt* st, int i, RowStore& rows) {
  sqlite3_value* v = sqlite3_column_value(st, i);
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      rows.AddInteger(sqlite3_value_int64(v));
      break;
    case SQLITE_FLOAT:
      rows.AddReal(sqlite3_value_double(v));
      break;
    case SQLITE_NULL:
      rows.AddNull();
      break;
    default: {
      const void* data = sqlite3_value_blob(v);
      const int n = sqlite3_value_bytes(v);
      rows.AddText(static_cast<const char*>(data), data != nullptr && n > 0 ? n : 0);
      break;
    }
  }
}

ColumnDecls DeclaredColumns(sqlite3_stmt* st) {
  auto declared = std::make_shared<std::vector<ColumnDecl>>(sqlite3_column_count(st));
  bool expressions = false;
  for (size_t i = 0; i < declared->size(); ++i) {
    ColumnDecl& d = (*declared)[i];
    const int n = static_cast<int>(i);
    const char* name = sqlite3_column_name(st, n);
    const char* table = sqlite3_column_table_name(st, n);
    const char* schema = sqlite3_column_database_name(st, n);
    const char* decl = sqlite3_column_decltype(st, n);
    d.name = name != nullptr ? name : "";
    d.table = table != nullptr ? table : "";
    d.schema = schema != nullptr ? schema : "";
    d.decltype_text = decl != nullptr ? decl : "";
    if (d.decltype_text.empty()) expressions = true;
  }
  // Expressions: typed from what the translation wrote of them.
  if (expressions) {
    const std::vector<std::string> types = tsq::SelectListTypes(sqlite3_sql(st));
    if (types.size() == declared->size()) {
      for (size_t i = 0; i < types.size(); ++i) {
        ColumnDecl& d = (*declared)[i];
        if (d.decltype_text.empty()) d.decltype_text = types[i];
      }
    }
  }
  return declared;
}

// The column declarations of a cached plan's statement, made anew when the
// engine has compiled the statement again (the schema changed).
ColumnDecls PlanColumns(tsq::CachedPlan& plan) {
  const int compiled = sqlite3_stmt_status(plan.stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
  if (!plan.columns || plan.columns_compiled != compiled) {
    plan.columns = DeclaredColumns(plan.stmt);
    plan.columns_compiled = compiled;
  }
  return std::static_pointer_cast<const std::vector<ColumnDecl>>(plan.columns);
}

// Prepares the single statement of `sql`; `st` stays null for an empty text.
bool Prepare(sqlite3* db, const std::string& sql, sqlite3_stmt** st, tsq::SqlError& error) {
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), st, &tail);
  if (rc != SQLITE_OK) {
    // Refused by the connection's authorizer: an object without a schema.
    error = rc == SQLITE_AUTH ? Error(2760, "42000",
                                      "The specified schema name \"dbo\" either does not exist "
                                      "or you do not have permission to use it.")
                              : tsq::MapError(db, rc);
    sqlite3_finalize(*st);
    *st = nullptr;
    return false;
  }
  if (!OnlyBlanks(tail, sql.data() + sql.size())) {
    error = Error(tsq::kOneStatementNative, "HY000", tsq::kOneStatementMessage);
    sqlite3_finalize(*st);
    *st = nullptr;
    return false;
  }
  return true;
}

// In autocommit mode a statement that opened a transaction must not leave it
// open: every statement commits when it is executed (see Execute()).
void EndOpenTransaction(sqlite3* db) {
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

// What running a compiled statement needs to know of its translation.
struct RunInfo {
  bool counts_rows = false;
  bool no_data_without_rows = false;
};

// Steps `st` to its end: a query's rows are read (at most `max_rows`, 0 for
// all) and described. The caller resets or finalizes `st`.
ExecOutcome Run(sqlite3* db, sqlite3_stmt* st, const RunInfo& info, SQLULEN max_rows,
                RowStore* storage) {
  ExecOutcome out;
  const int columns = sqlite3_column_count(st);
  int rc = SQLITE_OK;
  if (columns > 0) {
    ResultSet rs;
    if (storage != nullptr) {
      rs.rows = std::move(*storage);
      rs.rows.Clear();
    }
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      if (max_rows > 0 && rs.rows.size() >= max_rows) {
        rc = SQLITE_DONE;  // the rest is not wanted; resetting ends the read
        break;
      }
      for (int i = 0; i < columns; ++i) ReadValue(st, i, rs.rows);
      rs.rows.EndRow();
    }
    if (rc == SQLITE_DONE) out.result = std::move(rs);
  } else {
    rc = sqlite3_step(st);
  }
  if (rc != SQLITE_DONE) {
    out.rc = SQL_ERROR;
    out.error = tsq::MapError(db, rc);
    out.result.reset();
  } else if (columns == 0 && info.counts_rows) {
    out.row_count = sqlite3_changes(db);
    if (out.row_count == 0 && info.no_data_without_rows) out.rc = SQL_NO_DATA;
  }
  return out;
}

// Runs `tsql` through the plan cache; false when it has to run as it is.
bool ExecuteCached(sqlite3* db, tsq::PlanCache& cache, std::string_view tsql, SQLULEN max_rows,
                   RowStore* storage, ExecOutcome& out) {
  tsq::CachedPlan* plan = cache.PlanFor(db, tsql);
  if (plan == nullptr) return false;
  cache.Bind(*plan);
  out = Run(db, plan->stmt, RunInfo{plan->counts_rows, plan->no_data_without_rows}, max_rows,
            storage);
  if (out.result) out.result->declared = PlanColumns(*plan);
  cache.Record(*plan);
  sqlite3_reset(plan->stmt);
  sqlite3_clear_bindings(plan->stmt);
  return true;
}

// Runs one statement, through the plan cache when it has one for it.
ExecOutcome RunStatement(sqlite3* db, tsq::PlanCache* cache, const std::string& directory,
                         std::string_view tsql, SQLULEN max_rows, RowStore* storage) {
  ExecOutcome out;
  if (cache != nullptr && ExecuteCached(db, *cache, tsql, max_rows, storage, out)) return out;
  tsq::Translation t = tsq::Translate(tsql);
  if (!t.ok) {
    out.rc = SQL_ERROR;
    out.error = t.error;
    return out;
  }
  if (t.kind == tsq::StatementKind::kCreateSchema) return CreateSchema(db, directory, t.schema);

  sqlite3_stmt* st = nullptr;
  if (!Prepare(db, t.sqlite_sql, &st, out.error)) {
    out.rc = SQL_ERROR;
    return out;
  }
  if (st == nullptr) return out;  // nothing to run
  out = Run(db, st, RunInfo{t.counts_rows, t.no_data_without_rows}, max_rows, storage);
  if (out.result) out.result->declared = DeclaredColumns(st);
  if (cache != nullptr) cache->Record(t.sqlite_sql);
  sqlite3_finalize(st);
  return out;
}

}  // namespace

ExecOutcome Execute(sqlite3* db, const std::string& directory, std::string_view tsql,
                    SQLULEN max_rows, bool autocommit) {
  return Execute(db, nullptr, directory, tsql, max_rows, autocommit);
}

ExecOutcome Execute(sqlite3* db, tsq::PlanCache* cache, const std::string& directory,
                    std::string_view tsql, SQLULEN max_rows, bool autocommit, RowStore* storage) {
  ExecOutcome out = RunStatement(db, cache, directory, tsql, max_rows, storage);
  // The one place where a statement's work is committed.
  if (autocommit) EndOpenTransaction(db);
  return out;
}

bool DescribeStatement(sqlite3* db, std::string_view tsql, ResultSet& columns,
                       tsq::SqlError& error) {
  columns = ResultSet{};
  tsq::Translation t = tsq::Translate(tsql);
  if (!t.ok) {
    error = t.error;
    return false;
  }
  if (t.kind == tsq::StatementKind::kCreateSchema) return true;
  sqlite3_stmt* st = nullptr;
  if (!Prepare(db, t.sqlite_sql, &st, error)) return false;
  if (st != nullptr) {
    columns.declared = DeclaredColumns(st);
    sqlite3_finalize(st);
  }
  return true;
}

}  // namespace tsqlite
