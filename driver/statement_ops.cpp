#include "statement_ops.h"

#include <algorithm>

#include "api_util.h"
#include "column_type.h"
#include "execute.h"
#include "transaction.h"

namespace tsqlite {

void CloseCursor(Stmt& s) {
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
  ExecOutcome out =
      Execute(s.dbc->db, &s.dbc->cache, s.dbc->directory, tsql, s.max_rows, s.dbc->autocommit);
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

void DestroyStatement(Stmt* s) {
  if (s == nullptr) return;
  auto& list = s->dbc->statements;
  list.erase(std::remove(list.begin(), list.end(), s), list.end());
  s->tag = HandleTag::kFreed;
  delete s;
}

}  // namespace tsqlite
