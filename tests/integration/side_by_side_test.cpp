// Runs side by side on one database: plan groups started at the same moment
// record what they record one after the other, and a plan group that another
// run is optimising is skipped with one line, leaving what one run leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "app/plan_group_lock.h"
#include "generated_roster.h"
#include "move_roster.h"
#include "support/fault_run.h"

namespace {

constexpr unsigned kSeed = 1208;

long CountLines(const std::vector<std::string>& log, const std::string& text) {
  return std::count_if(log.begin(), log.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST(SideBySide, PlanGroupsStartedInOneSecondRecordWhatTheyRecordOneAfterTheOther) {
  ts::TestDb together;
  ts::TestDb apart;
  const gr::GeneratedRoster roster = gr::Generate(together, kSeed, 3);
  gr::Generate(apart, kSeed, 3);
  const auto args = [&](const char* plg) {
    return mv::Args(roster.first_day, roster.last_day, plg);
  };

  // Every run on `together` starts in the same second by its clock: two at
  // once, then one more right after them.
  const std::vector<std::string> one_second = ft::FixedClockEnvironment(std::time(nullptr));
  const pid_t first = gr::StartJob(together, args("00001"), one_second);
  const pid_t second = gr::StartJob(together, args("00002"), one_second);
  ASSERT_EQ(gr::WaitJob(first), 0);
  ASSERT_EQ(gr::WaitJob(second), 0);
  ASSERT_EQ(gr::WaitJob(gr::StartJob(together, args("00003"), one_second)), 0);
  gr::UseDataSourcesOf(apart);
  for (const char* plg : {"00001", "00002", "00003"}) apart.Run(args(plg).list());

  const std::vector<std::string> log = ts::LogMessages(together.LogText());
  EXPECT_EQ(CountLines(log, "*** Programmende Plexor ***"), 3);
  EXPECT_EQ(CountLines(log, "-Fehler"), 0) << together.LogText();
  EXPECT_FALSE(gr::OpenProposals(apart).empty());
  EXPECT_EQ(gr::OpenProposals(together), gr::OpenProposals(apart));
}

TEST(SideBySide, APlanGroupBeingOptimisedIsSkippedWithOneLine) {
  ts::TestDb db;
  ts::TestDb alone;
  const gr::GeneratedRoster roster = gr::Generate(db, kSeed, 2);
  gr::Generate(alone, kSeed, 2);
  const auto args = [&](const char* plg) {
    return mv::Args(roster.first_day, roster.last_day, plg).list();
  };

  // Another run holds plan group 00001: a run over every plan group skips it
  // and optimises 00002.
  PlanGroupLock held;
  ASSERT_EQ(LockPlanGroup(db.dsn(), "plexor", "00001", held), LockResult::kTaken);
  gr::UseDataSourcesOf(db);
  const std::vector<std::string> log = mv::Messages(db.Run(args("00000")));
  UnlockPlanGroup(held);
  EXPECT_EQ(CountLines(log, "-Fehler"), 1);
  EXPECT_EQ(CountLines(log,
                       "-Fehler: Einsatzplan_Optimieren() Plangruppe wird bereits optimiert! PLG: "
                       "00001"),
            1);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "*** Programmende Plexor ***");
  EXPECT_EQ(db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt735Bdk WHERE BdkPlg = '00001'"), 0);
  EXPECT_FALSE(db.Scalar("SELECT PlgBeg FROM plexor.Kvt701Plg WHERE PlgPlg = '00001'"));
  EXPECT_GT(db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt735Bdk WHERE BdkPlg = '00002'"), 0);

  // Released, it is optimised; the database is then that of one run alone.
  db.Run(args("00001"));
  gr::UseDataSourcesOf(alone);
  alone.Run(args("00000"));
  EXPECT_EQ(gr::OpenProposals(db), gr::OpenProposals(alone));
  const std::string errors =
      "SELECT ErrPlg, ErrEso, ErrEsa, ErrBdt, ErrZtv, ErrFnr FROM plexor.Kvt746Err ORDER BY 1, 2, "
      "3, 4, 5, 6";
  EXPECT_EQ(db.Query(errors), alone.Query(errors));
}

}  // namespace
