// Entry points that connect and disconnect.
#include <mutex>

#include "api_util.h"
#include "connect.h"
#include "handles.h"
#include "statement_ops.h"
#include "transaction.h"

using namespace tsqlite;

namespace {

SQLRETURN Open(Dbc& dbc, const ConnectSettings& settings, const std::string& user,
               const std::string& password) {
  if (dbc.db != nullptr) return Error(dbc.diag, "08002", "Connection name in use");
  tsq::SqlError error;
  if (!CheckLogin(settings, user, password, error)) {
    return Error(dbc.diag, error.sqlstate, error.message, error.native);
  }
  sqlite3* db = OpenDatabase(settings, error);
  if (db == nullptr) {
    return Error(dbc.diag, error.sqlstate.empty() ? "08001" : error.sqlstate, error.message,
                 error.native);
  }
  dbc.db = db;
  dbc.dsn = settings.dsn;
  dbc.directory = settings.database;
  dbc.user = user;
  return SQL_SUCCESS;
}

std::string KeyValue(const std::map<std::string, std::string>& keys, const char* a,
                     const char* b = nullptr) {
  if (auto it = keys.find(a); it != keys.end()) return it->second;
  if (b != nullptr) {
    if (auto it = keys.find(b); it != keys.end()) return it->second;
  }
  return std::string();
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsn_length, SQLCHAR* user,
                             SQLSMALLINT user_length, SQLCHAR* password,
                             SQLSMALLINT password_length) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  const std::string name = InText(dsn, dsn_length);
  ConnectSettings settings = ReadDataSource(name);
  return Finish(dbc->diag,
                Open(*dbc, settings, InText(user, user_length), InText(password, password_length)));
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND /*window*/, SQLCHAR* in,
                                   SQLSMALLINT in_length, SQLCHAR* out, SQLSMALLINT out_max,
                                   SQLSMALLINT* out_length, SQLUSMALLINT /*completion*/) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  const std::string text = InText(in, in_length);
  const auto keys = ParseConnectionString(text);
  const std::string dsn = KeyValue(keys, "DSN");
  ConnectSettings settings = dsn.empty() ? ConnectSettings{} : ReadDataSource(dsn);
  settings.dsn = dsn;
  ApplyConnectionString(keys, settings);
  SQLRETURN rc =
      Open(*dbc, settings, KeyValue(keys, "UID", "USER"), KeyValue(keys, "PWD", "PASSWORD"));
  if (SQL_SUCCEEDED(rc)) rc = Combine(rc, OutText(text, out, out_max, out_length, dbc->diag));
  return Finish(dbc->diag, rc);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  Dbc* dbc = AsDbc(handle);
  if (dbc == nullptr) return SQL_INVALID_HANDLE;
  std::lock_guard<std::mutex> lock(dbc->mutex);
  dbc->diag.Clear();
  if (dbc->db == nullptr)
    return Finish(dbc->diag, Error(dbc->diag, "08003", "Connection not open"));
  // Statements keep no SQLite state (the plan cache finalizes its compiled
  // statements), so the database closes at once; the
  // statement handles stay valid until they are freed.
  for (Stmt* s : dbc->statements) {
    CloseCursor(*s);
    s->prepared.reset();
    s->state = StmtState::kAllocated;
  }
  dbc->cache.Clear();
  sqlite3_close_v2(dbc->db);
  dbc->db = nullptr;
  ForgetTransaction(*dbc);
  return SQL_SUCCESS;
}

}  // extern "C"
