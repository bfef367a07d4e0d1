// TestDb: a throw-away embedded database for integration tests. Each instance
// makes a temporary directory with
//   db/                      the database directory (one .sqlite file per schema)
//   odbc/odbcinst.ini, odbc.ini   a DSN for the embedded driver (ODBCSYSINI)
//   plexor.cfg               the job's configuration file for that DSN
//   run/work/                the working directory of the job, so that its run
//   run/corvina_php/log/     log ../corvina_php/log/plexor_plexor.log lands here
// and creates the job's schema "plexor" (and KvtSystem) from sql/schema.sql.
// The directory is removed when the instance goes out of scope, unless the
// environment variable PLEXOR_KEEP_TEST_DB is set.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ts {

using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

struct PlexorRun {
  int exit_code = -1;  // -1 also when the job had to be killed after the time limit
  std::string out;     // standard output
  std::string log;     // the run log's text after the run
};

class TestDb {
 public:
  explicit TestDb(bool optional_columns = true);
  ~TestDb();
  TestDb(const TestDb&) = delete;
  TestDb& operator=(const TestDb&) = delete;

  // Runs one T-SQL statement through ODBC; the test fails when it fails.
  void Exec(const std::string& tsql);
  // Runs one statement; 0 on success, else the native error (message filled).
  int32_t ExecNative(const std::string& tsql, std::string* message = nullptr);
  // All rows of a query as text (NULL as nullopt); the test fails on error.
  std::vector<Row> Query(const std::string& tsql);
  // First column of the first row, nullopt when NULL or no row.
  Cell Scalar(const std::string& tsql);
  // Scalar as an integer (0 when NULL or no row).
  long ScalarInt(const std::string& tsql);

  // Runs the built job with the config path followed by `args` (user, begin,
  // end, level, job text 1, job text 2, plan group, location, type, mode).
  PlexorRun Run(const std::vector<std::string>& args, int timeout_seconds = 300);
  // Runs the built job with exactly these arguments after the program name.
  PlexorRun RunArgv(const std::vector<std::string>& argv, int timeout_seconds = 300);

  std::string LogText() const;
  const std::string& dir() const { return dir_; }
  const std::string& config_path() const { return config_path_; }
  const std::string& database_dir() const { return database_dir_; }
  const std::string& dsn() const { return dsn_; }

 private:
  void Connect();
  void LoadScript(const std::string& path);

  std::string dir_;
  std::string database_dir_;
  std::string config_path_;
  std::string work_dir_;
  std::string log_path_;
  std::string dsn_;
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
};

// Today's local date as yyyymmdd, and the date `days` after it.
std::string Today();
std::string DaysFromToday(int days);

// Writes `text` to `path` (the test fails when it cannot).
void WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);

// Runs `argv[0]` with the arguments in `cwd`, capturing standard output;
// kills it after `timeout_seconds`. Returns the exit status (-1 when killed).
int RunProcess(const std::vector<std::string>& argv, const std::string& cwd, std::string* out,
               int timeout_seconds);

}  // namespace ts
