// A database held by a writer in another process: statements wait up to the
// data source's BusyTimeout, then fail with SQL Server's lock time-out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "odbc_sandbox.h"

namespace drv {
namespace {

// A child process that holds the write lock of `file` until `hold_ms` have
// passed, then commits and ends.
class LockHolder {
 public:
  LockHolder(const std::string& file, int hold_ms) {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      sqlite3* db = nullptr;
      if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) _exit(1);
      if (sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO t (id) VALUES (100);", nullptr, nullptr,
                       nullptr) != SQLITE_OK) {
        _exit(2);
      }
      if (write(ready[1], "x", 1) != 1) _exit(3);
      usleep(static_cast<useconds_t>(hold_ms) * 1000);
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    locked_ = pid_ > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
  }
  ~LockHolder() {
    if (pid_ > 0) {
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }
  bool locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

class Busy : public ::testing::Test {
 protected:
  // A schema "s" with table t, and a data source with the given timeout.
  std::string Prepare(int timeout_ms) {
    const std::string dsn = sandbox_.AddDsn("BusyTimeout=" + std::to_string(timeout_ms));
    Connection setup;
    EXPECT_EQ(setup.Connect(dsn), SQL_SUCCESS);
    setup.MustExec("CREATE SCHEMA s");
    setup.MustExec("CREATE TABLE s.t (id int NOT NULL)");
    return dsn;
  }
  std::string File() const { return sandbox_.database_dir() + "/s.sqlite"; }
  Sandbox sandbox_;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(Busy, WriterWaitsForTheTimeoutThenFailsWithLockTimeout) {
  const std::string dsn = Prepare(400);
  Connection c;
  ASSERT_EQ(c.Connect(dsn), SQL_SUCCESS);
  LockHolder holder(File(), 1500);
  ASSERT_TRUE(holder.locked());
  const auto start = std::chrono::steady_clock::now();
  Diag d;
  EXPECT_EQ(c.Exec("INSERT INTO s.t (id) VALUES (1)", &d), SQL_ERROR);
  const double waited = SecondsSince(start);
  EXPECT_EQ(d.native, 1222) << d.message;
  EXPECT_EQ(d.sqlstate, "HYT00");
  EXPECT_GE(waited, 0.3);
  EXPECT_LT(waited, 1.4);
  // Readers are not held up by the writer.
  EXPECT_EQ(c.Scalar("SELECT COUNT(*) FROM s.t"), "0");
}

TEST_F(Busy, WriterWithinTheTimeoutGoesThrough) {
  const std::string dsn = Prepare(10000);
  Connection c;
  ASSERT_EQ(c.Connect(dsn), SQL_SUCCESS);
  LockHolder holder(File(), 300);
  ASSERT_TRUE(holder.locked());
  EXPECT_EQ(c.Exec("INSERT INTO s.t (id) VALUES (1)"), SQL_SUCCESS) << c.LastDiag().message;
  EXPECT_EQ(c.Scalar("SELECT COUNT(*) FROM s.t"), "2");
}

}  // namespace
}  // namespace drv
