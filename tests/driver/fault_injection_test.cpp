// Driver calls with the embedded database failing on purpose: a probe runs a
// representative sequence of calls (connect, DDL, inserts, reads in pieces,
// prepare and execute, update, delete, manual commit and rollback, catalog,
// disconnect) while the N-th file operation or allocation fails. Every run ends in time, every
// failed call carries a SQLSTATE, no file or allocation outlives the disconnect, the files stay
// intact, and every write reported as done is in them.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/fault_run.h"
#include "support/test_db.h"

namespace {

struct ProbeResult {
  int exit_code = -1;
  ft::FaultReport report;
  std::vector<std::string> lines;
};

class DriverUnderFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ft::AddFaultDataSource(db_);
    setenv("ODBCSYSINI", (db_.dir() + "/odbc").c_str(), 1);
    setenv("ODBCINI", (db_.dir() + "/odbc/odbc.ini").c_str(), 1);
  }

  ProbeResult Run(const ft::FaultPlan& plan, const std::string& mode = "all") {
    ft::CopyDatabase(mode == "all" ? db_.database_dir() : SmallDatabase(), ft::FaultDir(db_));
    ProbeResult r;
    std::string out;
    r.exit_code = ft::RunUnderFaults({DRIVER_PROBE_BIN, db_.dsn() + "_f", mode}, db_.dir(), plan,
                                     &out, &r.report, 30);
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) r.lines.push_back(line);
    return r;
  }

  void Check(const ft::FaultPlan& plan, const ProbeResult& r, long live_allocations) {
    std::string what = plan.kind + " fault at " + std::to_string(plan.at) +
                       (plan.persist ? " onwards" : "") + " (" + r.report.first_failed + ")\n";
    for (const std::string& line : r.lines) what += line + "; ";
    ASSERT_EQ(r.exit_code, 0) << what << ": crashed or hung";
    ASSERT_FALSE(r.lines.empty()) << what;
    EXPECT_EQ(r.lines.back(), "done") << what;
    std::set<int> written;
    bool deleted = false;
    bool updated = false;
    bool rolled_back = false;
    for (const std::string& line : r.lines) {
      EXPECT_NE(line.rfind("nodiag", 0), 0u) << what << ": " << line;
      int k = 0;
      char verdict[4] = {0};
      if (std::sscanf(line.c_str(), "insert %d %3s", &k, verdict) == 2 &&
          std::string(verdict) == "ok") {
        written.insert(k);
      }
      deleted = deleted || line == "delete 3 ok";
      if (line == "commit 20 ok") written.insert(20);
      rolled_back = rolled_back || line == "rollback 21 ok";
      updated = updated || line == "update ok";
    }
    EXPECT_EQ(r.report.open_files, 0) << what;
    EXPECT_EQ(r.report.live_allocations, live_allocations) << what;
    EXPECT_EQ(ft::IntegrityProblems(ft::FaultDir(db_)), "") << what;
    if (written.empty()) return;
    std::set<int> stored;
    for (const auto& row :
         ft::QueryFile(ft::FaultDir(db_) + "/plexor.sqlite", "SELECT k, t FROM ProbeRun")) {
      stored.insert(std::stoi(row[0]));
      if (updated && std::stoi(row[0]) <= 6) {
        EXPECT_EQ(row[1], "u") << what;
      }
    }
    for (int k : written) {
      if (!(deleted && k == 3)) {
        EXPECT_TRUE(stored.count(k)) << what << ": row " << k << " lost";
      }
    }
    if (deleted) {
      EXPECT_FALSE(stored.count(3)) << what;
    }
    // After a rollback that failed, turning auto-commit on commits the row.
    if (rolled_back) {
      EXPECT_FALSE(stored.count(21)) << what << ": a rolled back row is stored";
    }
  }

  void StepOver(const std::string& kind, long events, long first, long spread, bool persist,
                long live_allocations) {
    int runs = 0;
    for (long n : ft::Sample(events, first, spread)) {
      const ft::FaultPlan plan{kind, n, persist};
      Check(plan, Run(plan), live_allocations);
      ++runs;
      if (HasFailure()) return;
    }
    std::cout << kind << (persist ? " (persistent)" : "") << ": " << runs << " runs over " << events
              << " events\n";
  }

  // A database directory with one schema file of one table, for the many
  // short runs of the connect test.
  std::string SmallDatabase() {
    const std::string dir = db_.dir() + "/small";
    if (std::filesystem::exists(dir)) return dir;
    std::filesystem::create_directories(dir);
    sqlite3* file = nullptr;
    sqlite3_open((dir + "/plexor.sqlite").c_str(), &file);
    sqlite3_exec(file, "PRAGMA journal_mode=WAL; CREATE TABLE Kvt701Plg (PlgPlg TEXT)", nullptr,
                 nullptr, nullptr);
    sqlite3_close(file);
    return dir;
  }

  ts::TestDb db_;
};

TEST_F(DriverUnderFaults, EveryFaultIsReportedAndNothingLeaks) {
  const ProbeResult clean = Run({});
  ASSERT_EQ(clean.exit_code, 0);
  ASSERT_TRUE(clean.report.read);
  for (const std::string& line : clean.lines) EXPECT_EQ(line.find("err"), std::string::npos);
  const long live = clean.report.live_allocations;
  Check({}, clean, live);
  StepOver("io", clean.report.io, 400, 0, false, live);
  if (!HasFailure()) StepOver("io", clean.report.io, 0, 10, true, live);
  if (!HasFailure()) StepOver("malloc", clean.report.malloc, 100, 100, false, live);
  if (!HasFailure()) StepOver("malloc", clean.report.malloc, 0, 10, true, live);
}

// Every allocation of a connect fails in turn: a connect either fails or has
// every schema file attached (a failed bind once attached an empty temporary
// database in place of the file, and everything written went there).
TEST_F(DriverUnderFaults, AConnectEitherFailsOrHasItsSchemaFiles) {
  const ProbeResult clean = Run({}, "connect");
  ASSERT_EQ(clean.exit_code, 0);
  ASSERT_TRUE(clean.report.read);
  ASSERT_EQ(clean.lines, (std::vector<std::string>{"connected", "read ok", "done"}));
  for (long n = 1; n <= clean.report.malloc && !HasFailure(); ++n) {
    const ProbeResult r = Run({"malloc", n, false}, "connect");
    ASSERT_EQ(r.exit_code, 0) << n;
    EXPECT_EQ(r.lines.back(), "done") << n;
    EXPECT_EQ(r.report.live_allocations, clean.report.live_allocations) << n;
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
      EXPECT_NE(r.lines[i].rfind("nodiag", 0), 0u) << n;
      EXPECT_NE(r.lines[i], "error 42S02 208") << "malloc fault at " << n << ": schema file lost";
    }
  }
}

}  // namespace
