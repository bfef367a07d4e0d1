// Runs killed at random points of their work: a rerun completes, and the
// database holds together (integrity, unique keys, no assignment proposed
// twice, every plan group released, the staffing rows it wrote recounted).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "generated_roster.h"
#include "move_roster.h"

namespace {

TEST(KilledRuns, ARerunAfterKilledRunsLeavesAConsistentDatabase) {
  ts::TestDb db;
  const gr::GeneratedRoster roster = gr::Generate(db, 31337);
  const ts::RunArgs args = mv::Args(roster.first_day, roster.last_day, "00000");

  std::mt19937 rng(20261208);
  for (int i = 0; i < 4; ++i) {
    const pid_t pid = gr::StartJob(db, args);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution<int>(30, 700)(rng)));
    kill(pid, SIGKILL);
    gr::WaitJob(pid);
  }

  // The staffing rows of the last run are those written from the next second on.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  const std::string since = *db.Scalar("SELECT convert(char(19), CURRENT_TIMESTAMP, 120)");
  const std::size_t before = db.LogText().size();
  const ts::PlexorRun last = db.Run(args.list(), 600);
  ASSERT_EQ(last.exit_code, 0);
  const std::vector<std::string> log = ts::LogMessages(last.log.substr(before));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "*** Programmende Plexor ***");
  for (const std::string& line : log) EXPECT_EQ(line.find("-Fehler"), std::string::npos) << line;
  gr::ExpectConsistent(db, since);

  // Nothing is left to propose.
  const auto proposed = gr::OpenProposals(db);
  db.Run(args.list(), 600);
  EXPECT_EQ(gr::OpenProposals(db), proposed);
}

}  // namespace
