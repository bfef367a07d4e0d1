#include "support/test_db.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "config/config_writer.h"
#include "schema_script.h"

namespace fs = std::filesystem;

namespace ts {
namespace {

std::atomic<int> g_instances{0};

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE h, SQLINTEGER* native_out) {
  SQLCHAR state[16] = {0};
  SQLCHAR msg[2048] = {0};
  SQLINTEGER native = 0;
  SQLSMALLINT len = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(type, h, 1, state, &native, msg, sizeof msg, &len))) {
    if (native_out != nullptr) *native_out = 0;
    return "(no diagnostics)";
  }
  if (native_out != nullptr) *native_out = native;
  return std::string(reinterpret_cast<char*>(state)) + " native " + std::to_string(native) + ": " +
         reinterpret_cast<char*>(msg);
}

SQLCHAR* Sql(const std::string& s) {
  return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(s.c_str()));
}

std::string FormatDate(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%Y%m%d", &local);
  return buf;
}

}  // namespace

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(f.good()) << "cannot write " << path;
  f << text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string Today() {
  return FormatDate(std::time(nullptr));
}

std::string DaysFromToday(int days) {
  // Noon avoids a daylight-saving shift moving the date.
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  local.tm_hour = 12;
  local.tm_min = 0;
  local.tm_sec = 0;
  local.tm_mday += days;
  local.tm_isdst = -1;
  return FormatDate(std::mktime(&local));
}

int RunProcess(const std::vector<std::string>& argv, const std::string& cwd, std::string* out,
               int timeout_seconds) {
  int pipefd[2];
  if (pipe(pipefd) != 0) return -1;
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    dup2(pipefd[1], STDOUT_FILENO);
    close(pipefd[0]);
    close(pipefd[1]);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipefd[1]);
  std::string captured;
  std::thread reader([&] {
    char buf[4096];
    ssize_t n;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0) captured.append(buf, static_cast<size_t>(n));
  });
  int status = 0;
  bool killed = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  while (true) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      killed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  reader.join();
  close(pipefd[0]);
  if (out != nullptr) *out = captured;
  if (killed) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TestDb::TestDb(bool optional_columns) {
  char tmpl[] = "/tmp/plexor-test-XXXXXX";
  char* made = mkdtemp(tmpl);
  if (made == nullptr) {
    ADD_FAILURE() << "cannot create a temporary directory";
    return;
  }
  dir_ = made;
  database_dir_ = dir_ + "/db";
  work_dir_ = dir_ + "/run/work";
  log_path_ = dir_ + "/run/corvina_php/log/plexor_plexor.log";
  config_path_ = dir_ + "/plexor.cfg";
  dsn_ = "plexortest" + std::to_string(getpid()) + "_" + std::to_string(g_instances++);
  fs::create_directories(database_dir_);
  fs::create_directories(work_dir_);
  fs::create_directories(dir_ + "/run/corvina_php/log");
  fs::create_directories(dir_ + "/odbc");
  WriteFile(dir_ + "/odbc/odbcinst.ini",
            "[TSQLite]\nDescription=embedded database\nDriver=" PLEXOR_DRIVER_LIB "\n");
  WriteFile(dir_ + "/odbc/odbc.ini", "[" + dsn_ + "]\nDriver=TSQLite\nDatabase=" + database_dir_ +
                                         "\nUser=plexor\nPassword=secret\nBusyTimeout=10000\n");
  setenv("ODBCSYSINI", (dir_ + "/odbc").c_str(), 1);
  setenv("ODBCINI", (dir_ + "/odbc/odbc.ini").c_str(), 1);
  EXPECT_TRUE(Konfig_Schreiben(config_path_, dsn_, "plexor", "plexor", "secret"));
  Connect();
  LoadScript(std::string(PLEXOR_SOURCE_DIR) + "/sql/schema.sql");
  if (!optional_columns) {
    LoadScript(std::string(PLEXOR_SOURCE_DIR) + "/sql/schema_without_optional.sql");
  }
}

TestDb::~TestDb() {
  if (dbc_ != SQL_NULL_HDBC) {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  }
  if (env_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env_);
  if (!dir_.empty() && std::getenv("PLEXOR_KEEP_TEST_DB") == nullptr) {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
}

void TestDb::Connect() {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
  SQLRETURN rc =
      SQLConnect(dbc_, Sql(dsn_), SQL_NTS, Sql("plexor"), SQL_NTS, Sql("secret"), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) {
    ADD_FAILURE() << "test connection failed: " << Diagnostics(SQL_HANDLE_DBC, dbc_, nullptr);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    dbc_ = SQL_NULL_HDBC;
  }
}

void TestDb::LoadScript(const std::string& path) {
  std::string text = ReadFile(path);
  ASSERT_FALSE(text.empty()) << "missing schema script " << path;
  for (const std::string& batch : SchemaBatches(text, "plexor")) Exec(batch);
}

int32_t TestDb::ExecNative(const std::string& tsql, std::string* message) {
  if (dbc_ == SQL_NULL_HDBC) {
    if (message != nullptr) *message = "not connected";
    return -1;
  }
  SQLHSTMT st = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
  SQLRETURN rc = SQLExecDirect(st, Sql(tsql), SQL_NTS);
  int32_t result = 0;
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
    SQLINTEGER native = 0;
    std::string text = Diagnostics(SQL_HANDLE_STMT, st, &native);
    if (message != nullptr) *message = text;
    result = native != 0 ? native : -1;
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return result;
}

void TestDb::Exec(const std::string& tsql) {
  std::string message;
  int32_t rc = ExecNative(tsql, &message);
  EXPECT_EQ(rc, 0) << tsql << "\n" << message;
}

std::vector<Row> TestDb::Query(const std::string& tsql) {
  std::vector<Row> rows;
  if (dbc_ == SQL_NULL_HDBC) {
    ADD_FAILURE() << "not connected";
    return rows;
  }
  SQLHSTMT st = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
  SQLRETURN rc = SQLExecDirect(st, Sql(tsql), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) {
    ADD_FAILURE() << tsql << "\n" << Diagnostics(SQL_HANDLE_STMT, st, nullptr);
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return rows;
  }
  SQLSMALLINT cols = 0;
  SQLNumResultCols(st, &cols);
  while (SQL_SUCCEEDED(SQLFetch(st))) {
    Row row;
    for (SQLUSMALLINT c = 1; c <= cols; ++c) {
      char buf[4096];
      SQLLEN ind = 0;
      SQLRETURN g = SQLGetData(st, c, SQL_C_CHAR, buf, sizeof buf, &ind);
      if (!SQL_SUCCEEDED(g) || ind == SQL_NULL_DATA) {
        row.emplace_back(std::nullopt);
      } else {
        row.emplace_back(std::string(buf));
      }
    }
    rows.push_back(std::move(row));
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return rows;
}

Cell TestDb::Scalar(const std::string& tsql) {
  std::vector<Row> rows = Query(tsql);
  if (rows.empty() || rows[0].empty()) return std::nullopt;
  return rows[0][0];
}

long TestDb::ScalarInt(const std::string& tsql) {
  Cell c = Scalar(tsql);
  return c ? std::strtol(c->c_str(), nullptr, 10) : 0;
}

PlexorRun TestDb::Run(const std::vector<std::string>& args, int timeout_seconds) {
  std::vector<std::string> argv{config_path_};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunArgv(argv, timeout_seconds);
}

PlexorRun TestDb::RunArgv(const std::vector<std::string>& argv, int timeout_seconds) {
  std::vector<std::string> full{PLEXOR_BIN};
  full.insert(full.end(), argv.begin(), argv.end());
  PlexorRun run;
  run.exit_code = RunProcess(full, work_dir_, &run.out, timeout_seconds);
  run.log = LogText();
  return run;
}

std::string TestDb::LogText() const {
  return ReadFile(log_path_);
}

}  // namespace ts
