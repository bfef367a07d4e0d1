#include "connect.h"

#include <odbcinst.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <vector>

#include "dialect/tokenizer.h"

namespace tsqlite {
namespace {

namespace fs = std::filesystem;

std::string Profile(const std::string& dsn, const char* key) {
  char buf[4096] = {0};
  SQLGetPrivateProfileString(dsn.c_str(), key, "", buf, sizeof buf, "odbc.ini");
  return buf;
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

tsq::SqlError ConnectError(std::string message, int32_t native = 0,
                           const char* sqlstate = "08001") {
  tsq::SqlError e;
  e.native = native;
  e.sqlstate = sqlstate;
  e.message = std::move(message);
  return e;
}

std::string QuoteIdentifier(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

bool Run(sqlite3* db, const std::string& sql, tsq::SqlError& error) {
  char* msg = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
  if (rc == SQLITE_OK) return true;
  error = tsq::MapError(db, rc);
  sqlite3_free(msg);
  return false;
}

// The main database is in memory and ends with the connection: nothing may be
// created in it, or it would be lost without a word. Objects need a schema.
int KeepMainEmpty(void*, int action, const char*, const char*, const char* database, const char*) {
  const bool creates = action == SQLITE_CREATE_TABLE || action == SQLITE_CREATE_INDEX ||
                       action == SQLITE_CREATE_VIEW || action == SQLITE_CREATE_TRIGGER;
  if (creates && database != nullptr && sqlite3_stricmp(database, "main") == 0) {
    return SQLITE_DENY;
  }
  return SQLITE_OK;
}

}  // namespace

ConnectSettings ReadDataSource(const std::string& dsn) {
  ConnectSettings s;
  s.dsn = dsn;
  s.database = Trimmed(Profile(dsn, "Database"));
  s.user = Profile(dsn, "User");
  s.password = Profile(dsn, "Password");
  s.busy_timeout_ms = ParseBusyTimeout(Profile(dsn, "BusyTimeout"));
  return s;
}

std::map<std::string, std::string> ParseConnectionString(std::string_view text) {
  std::map<std::string, std::string> keys;
  size_t i = 0;
  while (i < text.size()) {
    const size_t eq = text.find('=', i);
    if (eq == std::string_view::npos) break;
    std::string key = tsq::Upper(Trimmed(text.substr(i, eq - i)));
    size_t pos = eq + 1;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::string value;
    if (pos < text.size() && text[pos] == '{') {
      // Braced value: '}}' stands for '}', the value ends at the lone '}'.
      ++pos;
      while (pos < text.size()) {
        if (text[pos] == '}') {
          if (pos + 1 < text.size() && text[pos + 1] == '}') {
            value += '}';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        value += text[pos++];
      }
      const size_t semi = text.find(';', pos);
      i = semi == std::string_view::npos ? text.size() : semi + 1;
    } else {
      const size_t semi = text.find(';', pos);
      const size_t end = semi == std::string_view::npos ? text.size() : semi;
      value = Trimmed(text.substr(pos, end - pos));
      i = semi == std::string_view::npos ? text.size() : semi + 1;
    }
    if (!key.empty()) keys[key] = value;
  }
  return keys;
}

void ApplyConnectionString(const std::map<std::string, std::string>& keys,
                           ConnectSettings& settings) {
  if (auto it = keys.find("DATABASE"); it != keys.end()) settings.database = it->second;
  if (auto it = keys.find("BUSYTIMEOUT"); it != keys.end()) {
    settings.busy_timeout_ms = ParseBusyTimeout(it->second);
  }
}

int ParseBusyTimeout(std::string_view text) {
  const std::string t = Trimmed(text);
  if (t.empty()) return kDefaultBusyTimeoutMs;
  long long v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || ptr != t.data() + t.size() || v < 0) return kDefaultBusyTimeoutMs;
  return v > 0x7fffffff ? 0x7fffffff : static_cast<int>(v);
}

bool CheckLogin(const ConnectSettings& settings, const std::string& user,
                const std::string& password, tsq::SqlError& error) {
  if (settings.user.empty() && settings.password.empty()) return true;
  if (tsq::Upper(settings.user) == tsq::Upper(user) && settings.password == password) return true;
  error = ConnectError("Login failed for user '" + user + "'.", 18456, "28000");
  return false;
}

bool IsSchemaName(std::string_view name) {
  if (name.empty() || name.size() > 128) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

bool AttachSchema(sqlite3* db, const std::string& directory, const std::string& name,
                  tsq::SqlError& error) {
  const std::string path = (fs::path(directory) / (name + ".sqlite")).string();
  sqlite3_stmt* st = nullptr;
  const std::string sql = "ATTACH DATABASE ?1 AS " + QuoteIdentifier(name);
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    // A failed bind (out of memory) leaves the parameter NULL, and ATTACH of
    // NULL opens an empty temporary database in place of the file.
    rc = sqlite3_bind_text(st, 1, path.c_str(), -1, SQLITE_TRANSIENT);
    if (rc == SQLITE_OK) rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  if (rc != SQLITE_OK) {
    error =
        ConnectError("Cannot attach schema file '" + path + "': " + sqlite3_errmsg(db), 0, "HY000");
    sqlite3_finalize(st);
    return false;
  }
  sqlite3_finalize(st);
  const std::string schema = QuoteIdentifier(name);
  // WAL lets readers in other processes go on while this one writes; with it,
  // synchronous=NORMAL still keeps every committed statement when a process
  // is killed.
  if (!Run(db, "PRAGMA " + schema + ".journal_mode=WAL", error) ||
      !Run(db, "PRAGMA " + schema + ".synchronous=NORMAL", error)) {
    error.message = "Cannot open schema file '" + path + "': " + error.message;
    tsq::SqlError ignored;
    Run(db, "DETACH DATABASE " + schema, ignored);
    return false;
  }
  return true;
}

sqlite3* OpenDatabase(const ConnectSettings& settings, tsq::SqlError& error) {
  if (settings.database.empty()) {
    error = ConnectError("Data source '" + settings.dsn +
                         "' names no database directory (key Database).");
    return nullptr;
  }
  std::error_code ec;
  const fs::file_status status = fs::status(settings.database, ec);
  if (ec || !fs::exists(status)) {
    error = ConnectError("Cannot open database: the directory '" + settings.database +
                         "' does not exist.");
    return nullptr;
  }
  if (!fs::is_directory(status)) {
    error = ConnectError("Cannot open database: '" + settings.database + "' is not a directory.");
    return nullptr;
  }
  std::vector<std::string> schemas;
  for (fs::directory_iterator it(settings.database, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p.extension() != ".sqlite") continue;
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    schemas.push_back(p.stem().string());
  }
  if (ec) {
    error = ConnectError("Cannot read the database directory '" + settings.database +
                         "': " + ec.message() + ".");
    return nullptr;
  }
  std::sort(schemas.begin(), schemas.end());

  sqlite3* db = nullptr;
  // Every call on a connection holds the connection's mutex already: SQLite
  // need not lock the database handle once more.
  int rc = sqlite3_open_v2(
      ":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    error = ConnectError(std::string("Cannot open the database engine: ") + sqlite3_errstr(rc));
    sqlite3_close(db);
    return nullptr;
  }
  const int max_attached = sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, -1);
  if (static_cast<int>(schemas.size()) > max_attached) {
    error = ConnectError("The database directory '" + settings.database + "' holds " +
                         std::to_string(schemas.size()) + " schema files; at most " +
                         std::to_string(max_attached) + " can be opened at once.");
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, settings.busy_timeout_ms);
  sqlite3_set_authorizer(db, KeepMainEmpty, nullptr);
  sqlite3_extended_result_codes(db, 0);
  tsq::RegisterFunctions(db);
  for (const std::string& name : schemas) {
    if (!AttachSchema(db, settings.database, name, error)) {
      sqlite3_close(db);
      return nullptr;
    }
  }
  return db;
}

}  // namespace tsqlite
