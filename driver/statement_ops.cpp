#include "statement_ops.h"

#include <algorithm>

#include "api_util.h"
#include "column_type.h"
#include "execute.h"
#include "transaction.h"

namespace tsqlite {
namespace {

// How many freed statements a connection keeps, and the most row storage one
// keeps from a closed result: enough for the small results most statements
// give, never the memory of a large one.
constexpr size_t kSpareStatements = 4;
constexpr size_t kSpareRowBytes = 256 * 1024;

// Keeps (up to kSpareRowBytes of) `rows`' blocks for the statement's next
// result when they are more than it keeps already.
void KeepRowStorage(Stmt& s, RowStore&& rows) {
  if (rows.capacity_bytes() <= s.spare_rows.capacity_bytes()) return;
  rows.ClearAndTrim(kSpareRowBytes);
  if (rows.capacity_bytes() > s.spare_rows.capacity_bytes()) s.spare_rows = std::move(rows);
}

// Returns `s` to the state of a new statement, keeping its blocks.
void ClearForReuse(Stmt& s) {
  if (s.result) KeepRowStorage(s, std::move(s.result->rows));
  std::vector<Binding> bindings = std::move(s.bindings);
  std::vector<DiagRecord> records = std::move(s.diag.records);
  RowStore rows = std::move(s.spare_rows);
  Dbc* dbc = s.dbc;
  s = Stmt{};
  bindings.clear();
  records.clear();
  rows.Clear();
  s.bindings = std::move(bindings);
  s.diag.records = std::move(records);
  s.spare_rows = std::move(rows);
  s.dbc = dbc;
  s.tag = HandleTag::kFreed;
}

}  // namespace

void CloseCursor(Stmt& s) {
  if (s.result) KeepRowStorage(s, std::move(s.result->rows));
  s.result.reset();
  s.next_row = 0;
  s.getdata_column = 0;
  s.getdata_offset = 0;
  s.getdata_done = false;
  s.state = s.prepared ? StmtState::kPrepared : StmtState::kAllocated;
}

const ResultSet* Columns(Stmt& s) {
  ResultSet* rs = s.result ? &*s.result : s.prepared ? &*s.prepared : nullptr;
  if (rs != nullptr) Described(*rs);
  return rs;
}

SQLRETURN ExecuteText(Stmt& s, std::string_view tsql) {
  if (s.dbc->db == nullptr) return Error(s.diag, "08003", "Connection not open");
  CloseCursor(s);
  s.row_count = -1;
  if (BeginStatement(*s.dbc, s.diag) == SQL_ERROR) return SQL_ERROR;
  ExecOutcome out = Execute(s.dbc->db, &s.dbc->cache, s.dbc->directory, tsql, s.max_rows,
                            s.dbc->autocommit, &s.spare_rows);
  if (out.rc == SQL_ERROR) {
    s.diag.Add(out.error.sqlstate.empty() ? "HY000" : out.error.sqlstate, out.error.native,
               out.error.message);
    return SQL_ERROR;
  }
  AfterStatement(*s.dbc);
  s.row_count = out.row_count;
  if (out.result) {
    s.result = std::move(out.result);
    s.state = StmtState::kCursor;
  } else {
    s.state = StmtState::kExecuted;
  }
  return out.rc;
}

Stmt* NewStatement(Dbc& dbc) {
  Stmt* s = nullptr;
  if (!dbc.spare_statements.empty()) {
    s = dbc.spare_statements.back();
    dbc.spare_statements.pop_back();
    s->tag = HandleTag::kStmt;
  } else {
    s = new Stmt;
  }
  s->dbc = &dbc;
  s->app_row_desc.stmt = s;
  s->app_param_desc.stmt = s;
  s->imp_row_desc.stmt = s;
  s->imp_param_desc.stmt = s;
  dbc.statements.push_back(s);
  return s;
}

void DestroyStatement(Stmt* s) {
  if (s == nullptr) return;
  Dbc& dbc = *s->dbc;
  auto& list = dbc.statements;
  // Mostly the statement allocated last: searched from the back.
  auto it = std::find(list.rbegin(), list.rend(), s);
  if (it != list.rend()) list.erase(std::next(it).base());
  if (dbc.spare_statements.size() < kSpareStatements) {
    ClearForReuse(*s);
    dbc.spare_statements.push_back(s);
    return;
  }
  s->tag = HandleTag::kFreed;
  delete s;
}

void DeleteSpareStatements(Dbc& dbc) {
  for (Stmt* s : dbc.spare_statements) delete s;
  dbc.spare_statements.clear();
}

}  // namespace tsqlite
