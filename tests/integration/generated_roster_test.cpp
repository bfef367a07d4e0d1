// A generated roster of three plan groups (one per level), two locations,
// two deployment types and three days: the run ends, leaves no pair of a
// short and a surplus slot within reach that still has a movable person,
// proposes no assignment twice, stores the figures a recount gives, and a
// second run proposes nothing more.
#include "generated_roster.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "move_roster.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

using gr::GeneratedAssignment;

class GeneratedRoster : public ::testing::Test {
 protected:
  void SetUp() override {
    gr::GeneratedRoster roster = gr::Generate(db_);
    d1_ = roster.first_day;
    d3_ = roster.last_day;
    levels_ = roster.levels;
    assignments_ = roster.assignments;
  }

  ts::PlexorRun RunAll() { return db_.Run(mv::Args(d1_, d3_, "00000").list(), 600); }

  std::set<std::tuple<std::string, std::string, std::string, std::string, long>> Proposed() {
    std::set<std::tuple<std::string, std::string, std::string, std::string, long>> out;
    for (const mv::StoredProposal& p : mv::Proposals(db_, "BdkSta = 9")) {
      EXPECT_TRUE(out.insert({p.pnr, p.eso, p.esa, p.date, p.szv}).second)
          << "two open proposals for " << p.pnr << " " << p.date;
    }
    return out;
  }

  void ExpectCleanRun(const ts::PlexorRun& run) {
    ASSERT_EQ(run.exit_code, 0);
    const std::vector<std::string> log = mv::Messages(run);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "*** Programmende Plexor ***");
    for (const std::string& line : log) EXPECT_EQ(line.find("-Fehler"), std::string::npos) << line;
  }

  ts::TestDb db_;
  std::string d1_, d3_;
  std::map<std::string, int> levels_;
  std::vector<GeneratedAssignment> assignments_;
};

bool InReach(int level, const mv::StoredSlot& short_slot, const mv::StoredSlot& surplus) {
  if (short_slot.plg != surplus.plg || short_slot.date != surplus.date ||
      short_slot.asw != surplus.asw) {
    return false;
  }
  if (level == 1) return true;
  if (short_slot.eso != surplus.eso) return false;
  return level == 2 || short_slot.esa == surplus.esa;
}

TEST_F(GeneratedRoster, RunLeavesNothingToProposeAndASecondRunAddsNothing) {
  ExpectCleanRun(RunAll());
  const auto proposed = Proposed();
  EXPECT_FALSE(proposed.empty());

  const std::vector<mv::StoredSlot> slots = mv::Slots(db_);
  for (const mv::StoredSlot& s : slots) gr::ExpectRecounted(db_, s);

  // Every short slot that is still short has no surplus slot within reach
  // with a person the sweep could still propose.
  for (const mv::StoredSlot& s : slots) {
    if (s.fkt >= 0) continue;
    for (const mv::StoredSlot& u : slots) {
      if (u.fkt <= 0 || !InReach(levels_[s.plg], s, u)) continue;
      for (const GeneratedAssignment& a : assignments_) {
        if (!a.movable || a.plg != u.plg || a.eso != u.eso || a.esa != u.esa || a.date != u.date ||
            a.szv != u.szv || a.asw != u.asw) {
          continue;
        }
        EXPECT_TRUE(proposed.count({a.pnr, a.eso, a.esa, a.date, a.szv}))
            << a.pnr << " could still go from " << u.eso << "/" << u.esa << " to " << s.eso << "/"
            << s.esa << " on " << s.date;
      }
    }
  }

  ExpectCleanRun(RunAll());
  EXPECT_EQ(Proposed(), proposed);
}

}  // namespace
