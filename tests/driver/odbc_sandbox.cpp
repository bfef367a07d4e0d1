#include "odbc_sandbox.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace drv {
namespace fs = std::filesystem;

SQLCHAR* Sql(const std::string& s) {
  return const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(s.c_str()));
}

std::vector<Diag> AllDiags(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diag> out;
  for (SQLSMALLINT rec = 1;; ++rec) {
    SQLCHAR state[6] = {0};
    SQLCHAR msg[1024] = {0};
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, rec, state, &native, msg, sizeof msg, &len))) {
      break;
    }
    out.push_back(Diag{reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(msg)});
  }
  return out;
}

Diag FirstDiag(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diag> all = AllDiags(type, handle);
  return all.empty() ? Diag{} : all.front();
}

Sandbox::Sandbox() {
  char tmpl[] = "/tmp/tsqlite-test-XXXXXX";
  const char* made = mkdtemp(tmpl);
  if (made == nullptr) {
    ADD_FAILURE() << "cannot create a temporary directory";
    return;
  }
  dir_ = made;
  database_dir_ = dir_ + "/db";
  ini_dir_ = dir_ + "/odbc";
  fs::create_directories(database_dir_);
  fs::create_directories(ini_dir_);
  std::ofstream(ini_dir_ + "/odbcinst.ini")
      << "[TSQLite]\nDescription=embedded database\nDriver=" PLEXOR_DRIVER_LIB "\n";
  std::ofstream(ini_dir_ + "/odbc.ini");
  setenv("ODBCSYSINI", ini_dir_.c_str(), 1);
  setenv("ODBCINI", (ini_dir_ + "/odbc.ini").c_str(), 1);
}

Sandbox::~Sandbox() {
  if (!dir_.empty()) {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
}

std::string Sandbox::AddDsn(const std::string& extra, const std::string& database) {
  // Names are unique in the process: the driver manager caches what it read
  // of a data source by name.
  static int next_dsn = 0;
  const std::string name = "tsq" + std::to_string(getpid()) + "_" + std::to_string(next_dsn++);
  std::ofstream ini(ini_dir_ + "/odbc.ini", std::ios::app);
  ini << "[" << name
      << "]\nDriver=TSQLite\nDatabase=" << (database.empty() ? database_dir_ : database) << "\n"
      << extra << (extra.empty() || extra.back() == '\n' ? "" : "\n");
  return name;
}

Connection::Connection() {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
}

Connection::~Connection() {
  if (connected_) SQLDisconnect(dbc_);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

SQLRETURN Connection::Connect(const std::string& dsn, const std::string& user,
                              const std::string& password) {
  const SQLRETURN rc =
      SQLConnect(dbc_, Sql(dsn), SQL_NTS, Sql(user), SQL_NTS, Sql(password), SQL_NTS);
  connected_ = SQL_SUCCEEDED(rc);
  return rc;
}

SQLRETURN Connection::Exec(const std::string& sql, Diag* diag) {
  Statement st(*this);
  const SQLRETURN rc = st.Exec(sql);
  if (diag != nullptr) *diag = st.LastDiag();
  return rc;
}

void Connection::MustExec(const std::string& sql) {
  Diag d;
  const SQLRETURN rc = Exec(sql, &d);
  EXPECT_TRUE(SQL_SUCCEEDED(rc)) << sql << "\n -> " << d.sqlstate << " " << d.native << " "
                                 << d.message;
}

Rows Connection::Query(const std::string& sql) {
  Rows rows;
  Statement st(*this);
  SQLRETURN rc = st.Exec(sql);
  if (!SQL_SUCCEEDED(rc)) {
    const Diag d = st.LastDiag();
    ADD_FAILURE() << sql << "\n -> " << d.sqlstate << " " << d.native << " " << d.message;
    return rows;
  }
  SQLSMALLINT columns = 0;
  SQLNumResultCols(st.get(), &columns);
  while ((rc = SQLFetch(st.get())) != SQL_NO_DATA) {
    if (!SQL_SUCCEEDED(rc)) {
      ADD_FAILURE() << "fetch failed: " << st.LastDiag().message;
      break;
    }
    std::vector<Cell> row;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
      char buf[4096];
      SQLLEN ind = 0;
      rc = SQLGetData(st.get(), c, SQL_C_CHAR, buf, sizeof buf, &ind);
      if (!SQL_SUCCEEDED(rc)) ADD_FAILURE() << "SQLGetData failed: " << st.LastDiag().message;
      row.push_back(ind == SQL_NULL_DATA ? Cell() : Cell(std::string(buf)));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

Cell Connection::Scalar(const std::string& sql) {
  Rows rows = Query(sql);
  if (rows.empty() || rows[0].empty()) return std::nullopt;
  return rows[0][0];
}

Statement::Statement(const Connection& c) {
  SQLAllocHandle(SQL_HANDLE_STMT, c.dbc(), &stmt_);
}

Statement::~Statement() {
  if (stmt_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

SQLRETURN Statement::Exec(const std::string& sql) {
  return SQLExecDirect(stmt_, Sql(sql), SQL_NTS);
}

namespace {

// The sanitizer runtimes this process runs with. A program started from a
// sanitized test loads the sanitized driver, so it needs them preloaded.
std::string SanitizerRuntimes() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  std::vector<std::string> found;
  while (std::getline(maps, line)) {
    const size_t slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    const bool runtime = path.find("/libasan.so") != std::string::npos ||
                         path.find("/libubsan.so") != std::string::npos;
    if (runtime && std::find(found.begin(), found.end(), path) == found.end()) {
      found.push_back(path);
    }
  }
  // The address sanitizer insists on coming first.
  std::stable_partition(found.begin(), found.end(), [](const std::string& p) {
    return p.find("/libasan.so") != std::string::npos;
  });
  std::string joined;
  for (const std::string& p : found) joined += (joined.empty() ? "" : ":") + p;
  return joined;
}

}  // namespace

int RunWithInput(const std::vector<std::string>& argv, const std::string& input, std::string* out,
                 int timeout_seconds) {
  signal(SIGPIPE, SIG_IGN);  // a program that ends early must not take the test with it
  int in_pipe[2];
  int out_pipe[2];
  if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0) return -1;
  const std::string preload = SanitizerRuntimes();
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!preload.empty()) {
      setenv("LD_PRELOAD", preload.c_str(), 1);
      setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the program's own leaks are not ours
    }
    dup2(in_pipe[0], STDIN_FILENO);
    dup2(out_pipe[1], STDOUT_FILENO);
    dup2(out_pipe[1], STDERR_FILENO);
    close(in_pipe[0]);
    close(in_pipe[1]);
    close(out_pipe[0]);
    close(out_pipe[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(in_pipe[0]);
  close(out_pipe[1]);
  std::thread writer([&] {
    size_t done = 0;
    while (done < input.size()) {
      const ssize_t n = write(in_pipe[1], input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    close(in_pipe[1]);
  });
  std::string captured;
  std::thread reader([&] {
    char buf[4096];
    ssize_t n;
    while ((n = read(out_pipe[0], buf, sizeof buf)) > 0) {
      captured.append(buf, static_cast<size_t>(n));
    }
  });
  int status = 0;
  bool killed = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      killed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  writer.join();
  reader.join();
  close(out_pipe[0]);
  if (out != nullptr) *out = captured;
  if (killed) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int KillWhenReady(const std::function<int()>& body) {
  int ready[2];
  if (pipe(ready) != 0) return -2;
  const pid_t child = fork();
  if (child < 0) return -2;
  if (child == 0) {
    close(ready[0]);
    const int rc = body();
    if (rc != 0) _exit(rc);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char byte = 0;
  const bool got_ready = read(ready[0], &byte, 1) == 1;
  close(ready[0]);
  if (got_ready) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  return got_ready ? -1 : WEXITSTATUS(status);
}

}  // namespace drv
