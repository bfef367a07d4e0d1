// The frame of a statement entry point: checks the handle, holds the
// connection's mutex for the call, clears the statement's diagnostics, runs
// `body` and records its return code.
#pragma once

#include <mutex>

#include "api_util.h"
#include "handles.h"

namespace tsqlite {

template <typename F>
SQLRETURN WithStmt(SQLHSTMT handle, F body) {
  Stmt* s = AsStmt(handle);
  if (s == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(s->dbc->mutex);
  s->diag.Clear();
  return Finish(s->diag, body(*s));
}

}  // namespace tsqlite
