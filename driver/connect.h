// Opening a database: the settings of a data source (odbc.ini keys Database,
// User, Password, BusyTimeout, possibly overridden by a connection string),
// the login check, and the SQLite connection with every schema file of the
// database directory attached under its name in WAL mode.
#pragma once

#include <sqlite3.h>

#include <map>
#include <string>
#include <string_view>

#include "dialect/dialect.h"

namespace tsqlite {

inline constexpr int kDefaultBusyTimeoutMs = 30000;

struct ConnectSettings {
  std::string dsn;
  std::string database;  // the directory
  std::string user;      // required login, empty when the source needs none
  std::string password;
  int busy_timeout_ms = kDefaultBusyTimeoutMs;
};

// The data source's settings from odbc.ini (empty values for a missing DSN).
ConnectSettings ReadDataSource(const std::string& dsn);

// "KEY=value;KEY={va;lue};..." with keys upper-cased; later keys win.
std::map<std::string, std::string> ParseConnectionString(std::string_view text);

// Applies a connection string's DATABASE / BUSYTIMEOUT to `settings`.
void ApplyConnectionString(const std::map<std::string, std::string>& keys,
                           ConnectSettings& settings);

// A busy timeout text in ms; the default when empty or not a number >= 0.
int ParseBusyTimeout(std::string_view text);

// The login check: with a user or password configured, the given ones must
// match (the user name without regard to case). Fills `error` on failure.
bool CheckLogin(const ConnectSettings& settings, const std::string& user,
                const std::string& password, tsq::SqlError& error);

// Opens the database of `settings.database`. On failure returns null and
// fills `error`.
sqlite3* OpenDatabase(const ConnectSettings& settings, tsq::SqlError& error);

// Creates (or opens) `<directory>/<name>.sqlite` and attaches it as `name` in
// WAL mode. On failure fills `error` and returns false.
bool AttachSchema(sqlite3* db, const std::string& directory, const std::string& name,
                  tsq::SqlError& error);

// True when `name` is usable as a schema file name: letters, digits and '_'.
bool IsSchemaName(std::string_view name);

}  // namespace tsqlite
