// A throw-away place to talk to the embedded driver through unixODBC: a
// temporary directory holding a database directory and the ini files of the
// driver manager (ODBCSYSINI), data sources added per test, and small RAII
// wrappers for connections and statements with their diagnostics.
#pragma once

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drv {

struct Diag {
  std::string sqlstate;
  int32_t native = 0;
  std::string message;
};

// The first diagnostic record of a handle (empty when there is none).
Diag FirstDiag(SQLSMALLINT type, SQLHANDLE handle);
// Every diagnostic record of a handle.
std::vector<Diag> AllDiags(SQLSMALLINT type, SQLHANDLE handle);

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // Adds a data source for the driver and returns its name. `database` is the
  // Database key (the sandbox's database directory when empty); `extra` holds
  // further "Key=value" lines.
  std::string AddDsn(const std::string& extra = "", const std::string& database = "");

  const std::string& dir() const { return dir_; }
  const std::string& database_dir() const { return database_dir_; }
  const std::string& ini_dir() const { return ini_dir_; }

 private:
  std::string dir_;
  std::string database_dir_;
  std::string ini_dir_;
};

using Cell = std::optional<std::string>;
using Rows = std::vector<std::vector<Cell>>;

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  SQLRETURN Connect(const std::string& dsn, const std::string& user = "",
                    const std::string& password = "");
  SQLHENV env() const { return env_; }
  SQLHDBC dbc() const { return dbc_; }
  Diag LastDiag() const { return FirstDiag(SQL_HANDLE_DBC, dbc_); }

  // Runs one statement; the return code of SQLExecDirect. `diag` receives the
  // first diagnostic record.
  SQLRETURN Exec(const std::string& sql, Diag* diag = nullptr);
  // Runs one statement and fails the test unless it succeeds.
  void MustExec(const std::string& sql);
  // All rows of a query as text through SQLGetData; fails the test on error.
  Rows Query(const std::string& sql);
  // The first column of the first row (nullopt when NULL or no row).
  Cell Scalar(const std::string& sql);

 private:
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
};

class Statement {
 public:
  explicit Statement(const Connection& c);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  SQLHSTMT get() const { return stmt_; }
  SQLRETURN Exec(const std::string& sql);
  Diag LastDiag() const { return FirstDiag(SQL_HANDLE_STMT, stmt_); }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

// A sandbox with one data source (no login required) and a connection to it.
class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dsn_ = sandbox_.AddDsn();
    ASSERT_TRUE(SQL_SUCCEEDED(conn_.Connect(dsn_))) << conn_.LastDiag().message;
  }
  Sandbox sandbox_;
  std::string dsn_;
  Connection conn_;
};

// SQLCHAR* view of a text for the ODBC calls.
SQLCHAR* Sql(const std::string& s);

// Runs a program with arguments, its standard input fed from `input`;
// returns the exit status and the standard output in `out`.
int RunWithInput(const std::vector<std::string>& argv, const std::string& input, std::string* out,
                 int timeout_seconds);

// Forks a child process that runs `body`; when that returns 0 the child
// reports ready and waits, and is killed (SIGKILL) where it stands, with
// whatever `body` left open (allocate what must stay open with new). Returns
// the child's exit status when it never got ready, else -1 (killed).
int KillWhenReady(const std::function<int()>& body);

}  // namespace drv
