// A generated roster of three plan groups (one per level), two locations,
// two deployment types and three days: the run ends, leaves no pair of a
// short and a surplus slot within reach that still has a movable person,
// proposes no assignment twice, stores the figures a recount gives, and a
// second run proposes nothing more.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "move_roster.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

struct GeneratedAssignment {
  std::string pnr, plg, eso, esa, date;
  int szv, asw;
  bool movable;  // the sweep may take this person
};

class GeneratedRoster : public ::testing::Test {
 protected:
  void SetUp() override {
    d1_ = ts::DaysFromToday(1);
    d3_ = ts::DaysFromToday(3);
    mv::AddDays(db_, ts::AddDays(d1_, -1), ts::AddDays(d3_, 1));
    std::mt19937 rng(20261208);
    const auto pick = [&](int lo, int hi) {
      return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    int serial = 0;
    for (int g = 1; g <= 3; ++g) {
      const std::string plg = "0000" + std::to_string(g);
      ts::PlanGroupValues row_values;
      row_values.code = plg;
      row_values.opl = g;  // 1 plan group, 2 location, 3 type
      ts::InsertPlanGroup(db_, row_values);
      levels_[plg] = g;
      for (const std::string& date : {d1_, ts::AddDays(d1_, 1), d3_}) {
        for (const char* e : {"1", "2"}) {
          // Location codes differ between plan groups: the proposal counts
          // of a slot do not look at the plan group.
          const std::string eso = "E" + std::to_string(g) + "0" + e;
          for (const char* esa : {"ESA01", "ESA02"}) {
            for (int szv : {360, 840}) {
              for (int asw : {1, 2}) {
                if (pick(0, 9) < 3) continue;
                ts::BsmValues s = mv::Slot(date, eso, esa, szv, szv + 480, 0, 0, 0, 0);
                s.plg = plg;
                s.asw = asw;
                s.sol = pick(0, 3);
                s.min = std::max(0, s.sol - pick(0, 1));
                s.max = s.sol + pick(0, 1);
                const int n = pick(0, 5);
                for (int i = 0; i < n; ++i) {
                  mv::Assignment a;
                  a.pnr = "G" + std::to_string(1000000 + ++serial);
                  a.date = date;
                  a.plg = plg;
                  a.eso = eso;
                  a.esa = esa;
                  a.szv = szv;
                  a.szb = szv + 480;
                  a.ztv = a.szv;
                  a.ztb = a.szb;
                  a.asw = asw;
                  a.rnd = pick(1, 9);
                  mv::Person p;
                  p.pnr = a.pnr;
                  p.plg = plg;
                  p.eso = eso;
                  p.esa = esa;
                  p.awp = pick(0, 9) == 0 ? 3 : pick(0, 2);
                  const int kind = pick(0, 11);
                  if (kind == 0) a.sts = "U";
                  if (kind == 1) a.fc1 = "X";
                  if (kind == 2) a.sta = 1;
                  if (kind == 3) a.sts = "O";
                  const bool live = a.sts != "O";
                  if (live) ++s.ist;
                  if (live && kind == 1) ++s.htg;
                  mv::AddPerson(db_, p, date);
                  mv::AddAssignment(db_, a);
                  assignments_.push_back(
                      {a.pnr, plg, eso, esa, date, szv, asw, kind > 3 && p.awp != 3});
                }
                s.fkt = mv::Figure(s.sol, s.min, s.max, s.ist, s.htg);
                mv::AddSlot(db_, s);
              }
            }
          }
        }
      }
    }
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
  for (const mv::StoredSlot& s : slots) {
    const mv::Recount r = mv::RecountSlot(db_, s);
    const std::string where = s.plg + " " + s.eso + "/" + s.esa + " " + s.date + " " +
                              std::to_string(s.szv) + " asw " + std::to_string(s.asw);
    EXPECT_EQ(s.ist, r.ist) << where;
    EXPECT_EQ(s.htg, r.htg) << where;
    EXPECT_EQ(s.ova, r.ova) << where;
    EXPECT_EQ(s.ove, r.ove) << where;
    EXPECT_EQ(s.fkt, mv::Figure(static_cast<int>(s.sol), static_cast<int>(s.min),
                                static_cast<int>(s.max), r.ist, r.htg, r.htv, r.htn, r.ove, r.ova))
        << where;
  }

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
