// The job on a small generated roster with the embedded database failing on
// purpose: the N-th file operation (open, read, write, sync, truncation,
// lock) or the N-th allocation fails, once or from then on. Every run ends
// normally and in time (at the connect or with its end line), the files stay
// intact, no assignment gets two open proposals, and a run that logged no
// failure recorded exactly what a run without faults records.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "generated_roster.h"
#include "move_roster.h"
#include "support/fault_run.h"

namespace {

const char* const kOpenProposals =
    "SELECT BdkPnr, BdkBdt, BdkEso, BdkEsa, BdkSzv, BdkOso, BdkOsa, BdkOsv FROM Kvt735Bdk WHERE "
    "BdkSta = 9 ORDER BY 1, 2, 3, 4, 5";
const char* const kDoubleOpen =
    "SELECT BdkPnr, BdkBdt, BdkSzv FROM Kvt735Bdk WHERE BdkSta = 9 GROUP BY BdkPnr, BdkEso, "
    "BdkEsa, BdkBdt, BdkSzv HAVING COUNT(*) > 1";

class JobUnderFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    roster_ = gr::Generate(db_, 4242, 1);
    config_ = ft::AddFaultDataSource(db_);
    gr::UseDataSourcesOf(db_);
    log_path_ = db_.dir() + "/run/corvina_php/log/plexor_plexor.log";
  }

  struct Outcome {
    int exit_code;
    ft::FaultReport report;
    std::string out;
    std::vector<std::string> log;
  };

  Outcome Run(const ft::FaultPlan& plan) {
    ft::CopyDatabase(db_.database_dir(), ft::FaultDir(db_));
    std::ofstream(log_path_, std::ios::trunc).close();
    std::vector<std::string> argv{PLEXOR_BIN, config_};
    for (const std::string& a : mv::Args(roster_.first_day, roster_.last_day, "00001").list()) {
      argv.push_back(a);
    }
    Outcome o;
    o.exit_code = ft::RunUnderFaults(argv, db_.dir() + "/run/work", plan, &o.out, &o.report, 60);
    o.log = ts::LogMessages(db_.LogText());
    return o;
  }

  std::vector<std::vector<std::string>> Proposals() {
    return ft::QueryFile(ft::FaultDir(db_) + "/plexor.sqlite", kOpenProposals);
  }

  // Checks one faulted run; true when it logged a failure or failed to connect.
  bool Check(const ft::FaultPlan& plan, const Outcome& o,
             const std::vector<std::vector<std::string>>& reference) {
    std::string what =
        plan.kind + " fault at " + std::to_string(plan.at) + (plan.persist ? " onwards" : "");
    EXPECT_EQ(o.exit_code, 0) << what << ": crashed or hung";
    EXPECT_TRUE(o.report.read) << what;
    what += " (" + o.report.first_failed + ")";
    bool logged = false;
    for (const std::string& line : o.log) logged = logged || line.rfind("-Fehler", 0) == 0;
    const bool connect_failed = o.out.find("Connect Error: SQLCode: ") != std::string::npos;
    if (!connect_failed) {
      EXPECT_TRUE(!o.log.empty() && o.log.back() == "*** Programmende Plexor ***")
          << what << ": " << db_.LogText();
    }
    EXPECT_EQ(ft::IntegrityProblems(ft::FaultDir(db_)), "") << what;
    EXPECT_TRUE(ft::QueryFile(ft::FaultDir(db_) + "/plexor.sqlite", kDoubleOpen).empty()) << what;
    if (!logged && !connect_failed) {
      EXPECT_EQ(Proposals(), reference) << what << ": a failure went unreported";
    }
    return logged || connect_failed;
  }

  void StepOver(const std::string& kind, long events, long first, long spread, bool persist,
                const std::vector<std::vector<std::string>>& reference) {
    int reported = 0;
    int runs = 0;
    for (long n : ft::Sample(events, first, spread)) {
      const ft::FaultPlan plan{kind, n, persist};
      reported += Check(plan, Run(plan), reference) ? 1 : 0;
      ++runs;
      if (HasFailure()) return;
    }
    std::cout << kind << (persist ? " (persistent)" : "") << ": " << runs << " runs over " << events
              << " events, " << reported << " with a logged failure\n";
  }

  ts::TestDb db_;
  gr::GeneratedRoster roster_;
  std::string config_;
  std::string log_path_;
};

TEST_F(JobUnderFaults, EveryFaultEndsLoggedOrHarmless) {
  const Outcome clean = Run({});
  ASSERT_EQ(clean.exit_code, 0);
  ASSERT_TRUE(clean.report.read);
  ASSERT_EQ(clean.log.back(), "*** Programmende Plexor ***");
  const std::vector<std::vector<std::string>> reference = Proposals();
  ASSERT_FALSE(reference.empty());
  StepOver("io", clean.report.io, 40, 40, false, reference);
  StepOver("io", clean.report.io, 0, 8, true, reference);
  StepOver("malloc", clean.report.malloc, 40, 40, false, reference);
  StepOver("malloc", clean.report.malloc, 0, 8, true, reference);
}

}  // namespace

namespace {

// Days that the sweep cannot read or step to are not skipped without a trace.
TEST(SweepFailures, AnUnreadableStaffingMatrixIsLoggedForEveryDay) {
  ts::TestDb db;
  const gr::GeneratedRoster roster = gr::Generate(db, 4242, 1);
  db.Exec("DROP TABLE plexor.Kvt725Bsm");
  const std::vector<std::string> log =
      mv::Messages(db.Run(mv::Args(roster.first_day, roster.last_day, "00001").list()));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "*** Programmende Plexor ***");
  for (const std::string& day :
       {roster.first_day, ts::AddDays(roster.first_day, 1), roster.last_day}) {
    EXPECT_NE(
        std::find(log.begin(), log.end(),
                  "-Fehler: UebBsz_Work_Plg()->Bsm_PlgUntC_Read() RC: -1! PLG: 00001 DAT: " + day),
        log.end())
        << day;
  }
}

TEST(SweepFailures, AnUnreadableCalendarEndsTheSweepWithALine) {
  ts::TestDb db;
  const gr::GeneratedRoster roster = gr::Generate(db, 4242, 1);
  db.Exec("DROP TABLE KvtSystem.Kvt133Bak");
  const std::vector<std::string> log =
      mv::Messages(db.Run(mv::Args(roster.first_day, roster.last_day, "00001").list()));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "*** Programmende Plexor ***");
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "-Fehler: UebBsz_Work_Plg()->Kalendertag_Ermitteln() RC: 208! PLG: 00001 "
                      "DAT: " +
                          roster.first_day),
            log.end());
}

}  // namespace
