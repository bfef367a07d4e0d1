// Whole runs of the job over staffing matrices built by the tests: the days
// and levels the sweep visits, the order of short and surplus slots, and the
// restart after every proposal.
#include "optimise/sweep.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "in_process.h"
#include "move_roster.h"
#include "optimise/surplus_search.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

using mv::Assignment;
using mv::Person;

const std::vector<std::string> kCleanRun = {"*** Programmstart Plexor ***",
                                            "*** Programmende Plexor ***"};

void AddPlanGroup(ts::TestDb& db, int opl, const std::string& code = "00001") {
  ts::PlanGroupValues g;
  g.code = code;
  g.opl = opl;
  ts::InsertPlanGroup(db, g);
}

// A movable person assigned to a slot, with complete day values.
void AddMovable(ts::TestDb& db, const std::string& pnr, const ts::BsmValues& slot, int rnd) {
  Person p;
  p.pnr = pnr;
  p.plg = slot.plg;
  mv::AddPerson(db, p, slot.date);
  Assignment a;
  a.pnr = pnr;
  a.date = slot.date;
  a.plg = slot.plg;
  a.eso = slot.eso;
  a.esa = slot.esa;
  a.bsz = slot.bsz;
  a.szv = slot.szv;
  a.szb = slot.szb;
  a.rnd = rnd;
  mv::AddAssignment(db, a);
}

std::vector<std::string> Moves(ts::TestDb& db) {
  std::vector<std::string> out;
  for (const mv::StoredProposal& p : mv::Proposals(db)) {
    out.push_back(p.pnr + ":" + p.eso + "/" + p.esa + ">" + p.oso + "/" + p.osa);
  }
  return out;
}

// ---- the typical request ----

// Plan group 00001 with level 2 (location), the period given, no location:
// the type pass finds nothing, the location pass moves persons from the
// largest surplus slot into the worst short slot, restarting after every
// proposal; the slots still off target end up in the error table.
TEST(TypicalRequest, FromEndToEnd) {
  ts::TestDb db;
  const std::string d1 = ts::DaysFromToday(1);
  const std::string d2 = ts::DaysFromToday(2);
  mv::AddDays(db, ts::AddDays(d1, -3), ts::AddDays(d2, 3));
  AddPlanGroup(db, 2);
  db.Exec("UPDATE plexor.Kvt701Plg SET PlgRu2 = 1 WHERE PlgPlg = '00001'");  // rest test on

  // Day 1, location ESO01: two short slots of type ESA01, the later one worse.
  const ts::BsmValues s1 = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 2, 2, 3, 0);  // -166
  const ts::BsmValues s2 = mv::Slot(d1, "ESO01", "ESA01", 360, 840, 1, 1, 2, 0);   // -150
  // Surplus slots of other types: U1 far above its maximum with three movable
  // persons and one that may not be moved, U2 above its target with one.
  const ts::BsmValues u1 = mv::Slot(d1, "ESO01", "ESA02", 360, 840, 0, 0, 0, 4);  // 190
  const ts::BsmValues u2 = mv::Slot(d1, "ESO01", "ESA03", 360, 840, 1, 1, 2, 2);  // 90
  // Day 2, location ESO02: short slots without any surplus slot.
  const ts::BsmValues s3 = mv::Slot(d2, "ESO02", "ESA01", 360, 840, 3, 1, 3, 1);  // -50
  const ts::BsmValues s4 = mv::Slot(d2, "ESO02", "ESA02", 360, 840, 3, 2, 3, 1);  // -133
  ASSERT_EQ(s1.fkt, -166);
  ASSERT_EQ(s2.fkt, -150);
  ASSERT_EQ(u1.fkt, 190);
  ASSERT_EQ(u2.fkt, 90);
  for (const ts::BsmValues& s : {s1, s2, u1, u2, s3, s4}) mv::AddSlot(db, s);

  // P1 follows the strict rest rule: its shift ends when S1 begins.
  Person p1;
  p1.pnr = "00000001";
  p1.awp = 1;
  mv::AddPerson(db, p1, d1);
  Person p2;
  p2.pnr = "00000002";
  p2.rzk = 0;
  mv::AddPerson(db, p2, d1);
  Person p3;  // same shift end as P1, but only half the rest time binds
  p3.pnr = "00000003";
  mv::AddPerson(db, p3, d1);
  int rnd = 1;
  for (const char* pnr : {"00000001", "00000002", "00000003"}) {
    Assignment a;
    a.pnr = pnr;
    a.date = d1;
    a.esa = "ESA02";
    a.rnd = rnd++;
    mv::AddAssignment(db, a);
  }
  Assignment fixed;
  fixed.pnr = "00000009";
  fixed.date = d1;
  fixed.esa = "ESA02";
  fixed.sta = 1;
  mv::AddAssignment(db, fixed);
  AddMovable(db, "00000004", u2, 1);

  const ts::PlexorRun run = db.Run(mv::Args(d1, d2).list());
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(mv::Messages(run), kCleanRun);

  const std::vector<mv::StoredProposal> props = mv::Proposals(db);
  ASSERT_EQ(props.size(), 3u);
  // First the worst short slot S1 gets P1 with the rest-time conflict ...
  EXPECT_EQ(props[0].pnr, "00000001");
  EXPECT_EQ(props[0].osv, 840);
  EXPECT_EQ(props[0].fnr, 1531);
  // ... then S2, now the worst, gets P2 (P1 is proposed already) ...
  EXPECT_EQ(props[1].pnr, "00000002");
  EXPECT_EQ(props[1].osv, 360);
  EXPECT_EQ(props[1].fnr, 0);
  // ... then S1, still short, gets P3.
  EXPECT_EQ(props[2].pnr, "00000003");
  EXPECT_EQ(props[2].osv, 840);
  EXPECT_EQ(props[2].fnr, 0);

  const mv::StoredProposal& p = props[0];
  EXPECT_TRUE(std::regex_match(p.key, std::regex("OPTVS[0-9]{4,20}"))) << p.key;
  EXPECT_EQ(p.date, d1);
  EXPECT_EQ(p.plg, "00001");
  EXPECT_EQ(p.eso, "ESO01");
  EXPECT_EQ(p.esa, "ESA02");
  EXPECT_EQ(p.szv, 360);
  EXPECT_EQ(p.szb, 840);
  EXPECT_EQ(p.bsz, "F");
  EXPECT_EQ(p.asw, 1);
  EXPECT_EQ(p.oso, "ESO01");
  EXPECT_EQ(p.osa, "ESA01");
  EXPECT_EQ(p.osb, 1320);
  EXPECT_EQ(p.osz, "S");
  EXPECT_EQ(p.osw, 1);
  EXPECT_EQ(p.ttp, "W");
  EXPECT_EQ(p.sta, 9);
  EXPECT_EQ(p.sts, "U");
  EXPECT_EQ(p.lfd, 1);
  EXPECT_EQ(p.erf, "OPTIMIERUNG");
  EXPECT_EQ(p.akt, 360);
  EXPECT_EQ(p.zvo, d1);
  EXPECT_EQ(p.zbi, d1);
  EXPECT_NE(props[0].key, props[1].key);
  EXPECT_EQ(db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt735Bdk WHERE BdkDat IS NULL"), 0);

  // Both slots of every proposal were recounted with the open proposals.
  const mv::StoredSlot r1 = mv::SlotAt(db, "ESO01", "ESA01", d1, 840);
  EXPECT_EQ(r1.ist, 0);
  EXPECT_EQ(r1.ove, 2);
  EXPECT_EQ(r1.fkt, 0);
  EXPECT_TRUE(r1.recounted);
  const mv::StoredSlot r2 = mv::SlotAt(db, "ESO01", "ESA01", d1, 360);
  EXPECT_EQ(r2.ove, 1);
  EXPECT_EQ(r2.fkt, 0);
  const mv::StoredSlot ru1 = mv::SlotAt(db, "ESO01", "ESA02", d1, 360);
  EXPECT_EQ(ru1.ist, 4);
  EXPECT_EQ(ru1.ova, 3);
  EXPECT_EQ(ru1.fkt, 190);
  const mv::StoredSlot ru2 = mv::SlotAt(db, "ESO01", "ESA03", d1, 360);
  EXPECT_FALSE(ru2.recounted);
  EXPECT_EQ(ru2.fkt, 90);

  // The scan counts assignments only: every slot is still off target.
  const std::vector<ts::Row> errors = db.Query(
      "SELECT ErrEso, ErrEsa, convert(char(8), ErrBdt, 112), ErrZtv, ErrFnr, ErrKng "
      "FROM plexor.Kvt746Err ORDER BY ErrBdt, ErrEso, ErrEsa, ErrZtv");
  const std::vector<ts::Row> expected = {{"ESO01", "ESA01", d1, "360", "1601", "PLANO"},
                                         {"ESO01", "ESA01", d1, "840", "1601", "PLANO"},
                                         {"ESO01", "ESA02", d1, "360", "1605", "PLANO"},
                                         {"ESO01", "ESA03", d1, "360", "1604", "PLANO"},
                                         {"ESO02", "ESA01", d2, "360", "1603", "PLANO"},
                                         {"ESO02", "ESA02", d2, "360", "1602", "PLANO"}};
  EXPECT_EQ(errors, expected);
  EXPECT_EQ(db.Scalar("SELECT PlgUsr FROM plexor.Kvt701Plg").value_or(""), "");
}

// ---- levels and scope ----

// Day 1: short slot A has a surplus slot of its own type, B one of its
// location only, C one in another location only.
class LevelRoster : public ::testing::Test {
 protected:
  void Build(int opl) {
    d1_ = ts::DaysFromToday(1);
    mv::AddDays(db_, ts::AddDays(d1_, -2), ts::AddDays(d1_, 2));
    AddPlanGroup(db_, opl);
    for (const ts::BsmValues& s : {mv::Slot(d1_, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0),
                                   mv::Slot(d1_, "ESO01", "ESA02", 360, 840, 1, 1, 1, 0),
                                   mv::Slot(d1_, "ESO02", "ESA01", 360, 840, 1, 1, 1, 0)}) {
      mv::AddSlot(db_, s);
    }
    const ts::BsmValues ta = mv::Slot(d1_, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 1);
    const ts::BsmValues tb = mv::Slot(d1_, "ESO01", "ESA03", 360, 840, 0, 0, 0, 1);
    const ts::BsmValues tc = mv::Slot(d1_, "ESO03", "ESA09", 360, 840, 0, 0, 0, 1);
    for (const ts::BsmValues& s : {ta, tb, tc}) mv::AddSlot(db_, s);
    AddMovable(db_, "0000000A", ta, 1);
    AddMovable(db_, "0000000B", tb, 1);
    AddMovable(db_, "0000000C", tc, 1);
  }
  std::vector<std::string> RunMoves(const std::string& location = "00000",
                                    const std::string& type = "00000") {
    const ts::PlexorRun run = db_.Run(mv::Args(d1_, d1_, "00001", location, type).list());
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(mv::Messages(run), kCleanRun);
    return Moves(db_);
  }
  ts::TestDb db_;
  std::string d1_;
};

const std::string kMoveA = "0000000A:ESO01/ESA01>ESO01/ESA01";
const std::string kMoveB = "0000000B:ESO01/ESA03>ESO01/ESA02";
const std::string kMoveC = "0000000C:ESO03/ESA09>ESO02/ESA01";

TEST_F(LevelRoster, TypeLevelOnlyForEsa) {
  Build(3);
  EXPECT_EQ(RunMoves(), (std::vector<std::string>{kMoveA}));
}

TEST_F(LevelRoster, TypeThenLocationLevelForEso) {
  Build(2);
  EXPECT_EQ(RunMoves(), (std::vector<std::string>{kMoveA, kMoveB}));
}

TEST_F(LevelRoster, AllThreeLevelsInOrderForPlg) {
  Build(1);
  EXPECT_EQ(RunMoves(), (std::vector<std::string>{kMoveA, kMoveB, kMoveC}));
}

TEST_F(LevelRoster, LocationScopeTakesPersonsFromOtherLocationsAtPlanGroupLevel) {
  Build(1);
  EXPECT_EQ(RunMoves("ESO02"), (std::vector<std::string>{kMoveC}));
}

TEST_F(LevelRoster, LocationAndTypeScopeNarrowsTheShortSlots) {
  Build(1);
  EXPECT_EQ(RunMoves("ESO01", "ESA02"), (std::vector<std::string>{kMoveB}));
}

// ---- slots and persons that yield nothing ----

TEST(SweepSources, SurplusSlotWithoutMovablePersonsYieldsNothingAndLogsNothing) {
  ts::TestDb db;
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db, d1, ts::AddDays(d1, 1));
  AddPlanGroup(db, 3);
  mv::AddSlot(db, mv::Slot(d1, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0));
  const ts::BsmValues u = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 5);
  mv::AddSlot(db, u);
  // A slot exactly at target is no source either.
  const ts::BsmValues level = mv::Slot(d1, "ESO01", "ESA01", 1320, 360, 1, 1, 1, 1);
  ASSERT_EQ(level.fkt, 0);
  mv::AddSlot(db, level);
  AddMovable(db, "00000010", level, 1);
  // Another assignment type on the same day is no source.
  ts::BsmValues other = mv::Slot(d1, "ESO01", "ESA01", 600, 900, 0, 0, 0, 1);
  other.asw = 2;
  mv::AddSlot(db, other);
  AddMovable(db, "00000011", other, 1);
  // Every kind of assignment that may not be moved.
  const auto add = [&](const std::string& pnr, auto change) {
    Assignment a;
    a.pnr = pnr;
    a.date = d1;
    a.szv = 840;
    a.szb = 1320;
    change(a);
    mv::AddAssignment(db, a);
  };
  add("00000001", [](Assignment& a) { a.fc1 = "X"; });
  add("00000002", [](Assignment& a) { a.fc2 = "X"; });
  add("00000003", [](Assignment& a) { a.fc3 = "X"; });
  add("00000004", [](Assignment& a) { a.sts = "U"; });
  add("00000005", [](Assignment& a) { a.sta = 2; });
  add("00000006", [](Assignment& a) { a.akt = 9999; });

  const ts::PlexorRun run = db.Run(mv::Args(d1, d1).list());
  EXPECT_EQ(mv::Messages(run), kCleanRun);
  EXPECT_TRUE(mv::Proposals(db).empty());
}

TEST(SweepSources, EmptyStatusAndFunctionCodesCountAsBlank) {
  ts::TestDb db;
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db, d1, ts::AddDays(d1, 1));
  AddPlanGroup(db, 3);
  mv::AddSlot(db, mv::Slot(d1, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0));
  const ts::BsmValues u = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 1);
  mv::AddSlot(db, u);
  Person p;
  p.pnr = "00000001";
  mv::AddPerson(db, p, d1);
  Assignment a;
  a.pnr = "00000001";
  a.date = d1;
  a.szv = 840;
  a.szb = 1320;
  a.sts = "";
  a.fc1 = a.fc2 = a.fc3 = "";
  mv::AddAssignment(db, a);
  db.Run(mv::Args(d1, d1).list());
  EXPECT_EQ(mv::Proposals(db).size(), 1u);
}

// ---- days ----

class SweepDays : public ::testing::Test {
 protected:
  // One pair of a short slot and a surplus slot with one person on each of
  // three days.
  void Build(const std::vector<std::string>& calendar_days) {
    for (const std::string& d : calendar_days) mv::AddDays(db_, d, d);
    AddPlanGroup(db_, 3);
    int n = 1;
    for (int i = 1; i <= 3; ++i) {
      const std::string d = ts::DaysFromToday(i);
      mv::AddSlot(db_, mv::Slot(d, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0));
      const ts::BsmValues u = mv::Slot(d, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 1);
      mv::AddSlot(db_, u);
      AddMovable(db_, "0000000" + std::to_string(n++), u, 1);
    }
  }
  std::vector<std::string> ProposedDays() {
    std::vector<std::string> out;
    for (const mv::StoredProposal& p : mv::Proposals(db_)) out.push_back(p.date);
    return out;
  }
  ts::TestDb db_;
  const std::string d1_ = ts::DaysFromToday(1);
  const std::string d2_ = ts::DaysFromToday(2);
  const std::string d3_ = ts::DaysFromToday(3);
};

TEST_F(SweepDays, EveryDayOfThePeriodInCalendarOrder) {
  Build({d1_, d2_, d3_, ts::DaysFromToday(4)});
  const ts::PlexorRun run = db_.Run(mv::Args(d1_, d3_).list());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(ProposedDays(), (std::vector<std::string>{d1_, d2_, d3_}));
}

TEST_F(SweepDays, BeginEqualToEndSweepsOneDay) {
  Build({d1_, d2_, d3_, ts::DaysFromToday(4)});
  db_.Run(mv::Args(d2_, d2_).list());
  EXPECT_EQ(ProposedDays(), (std::vector<std::string>{d2_}));
}

TEST_F(SweepDays, DayMissingInsideThePeriodEndsTheSweep) {
  Build({d1_, d3_, ts::DaysFromToday(4)});
  const ts::PlexorRun run = db_.Run(mv::Args(d1_, d3_).list());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(mv::Messages(run), kCleanRun);
  EXPECT_EQ(ProposedDays(), (std::vector<std::string>{d1_}));
}

TEST_F(SweepDays, DayAfterThePeriodMissingFromTheCalendar) {
  Build({d1_, d2_, d3_});
  const ts::PlexorRun run = db_.Run(mv::Args(d1_, d3_).list(), 60);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(mv::Messages(run), kCleanRun);
  EXPECT_EQ(ProposedDays(), (std::vector<std::string>{d1_, d2_, d3_}));
}

// ---- termination ----

// Slots of assignment type 4 keep their figures when recounted: the short
// slot stays short, and the sweep stops only because every person of the
// surplus slot has an open proposal.
TEST(SweepTermination, StopsWhenEverySurplusPersonIsProposed) {
  ts::TestDb db;
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db, d1, ts::AddDays(d1, 1));
  AddPlanGroup(db, 3);
  ts::BsmValues s = mv::Slot(d1, "ESO01", "ESA01", 360, 840, 5, 5, 5, 0);
  s.asw = 4;
  mv::AddSlot(db, s);
  ts::BsmValues u = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 2);
  u.asw = 4;
  mv::AddSlot(db, u);
  AddMovable(db, "00000001", u, 1);
  AddMovable(db, "00000002", u, 2);
  db.Exec("UPDATE plexor.Kvt730Bdp SET BdpAsw = 4");

  const ts::PlexorRun run = db.Run(mv::Args(d1, d1).list(), 60);
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(mv::Messages(run), kCleanRun);
  EXPECT_EQ(Moves(db), (std::vector<std::string>{"00000001:ESO01/ESA01>ESO01/ESA01",
                                                 "00000002:ESO01/ESA01>ESO01/ESA01"}));
  const mv::StoredSlot short_slot = mv::SlotAt(db, "ESO01", "ESA01", d1, 360);
  EXPECT_EQ(short_slot.fkt, s.fkt);
  EXPECT_EQ(short_slot.ove, 0);
  const mv::StoredSlot surplus = mv::SlotAt(db, "ESO01", "ESA01", d1, 840);
  EXPECT_EQ(surplus.fkt, u.fkt);
  EXPECT_EQ(surplus.ova, 0);
  EXPECT_EQ(surplus.ist, 2);
  EXPECT_TRUE(surplus.recounted);
}

}  // namespace

// ---- read failures ----

namespace {

TEST(SweepFailures, UnreadableAssignmentsAreLoggedWithTheSurplusSlot) {
  ts::TestDb db;
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db, d1, ts::AddDays(d1, 1));
  AddPlanGroup(db, 3);
  mv::AddSlot(db, mv::Slot(d1, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0));
  mv::AddSlot(db, mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 1));
  db.Exec("DROP TABLE plexor.Kvt730Bdp");
  const ts::PlexorRun run = db.Run(mv::Args(d1, d1).list());
  EXPECT_EQ(mv::Messages(run),
            (std::vector<std::string>{kCleanRun[0],
                                      "-Fehler: Prf_UebBsz_Pers()->Bdp_BszPnr_Read() RC: -1! PLG: "
                                      "00001 ESO: ESO01 ESA: ESA01 DAT: " +
                                          d1 + " VON: 840.",
                                      kCleanRun[1]}));
}

class SurplusSearch : public mv::InProcess {};

TEST_F(SurplusSearch, FailedSurplusCursorIsLoggedWithTheShortSlot) {
  BsmRow row;
  row.BsmPlg.set("00001");
  row.BsmEso.set("ESO01");
  row.BsmEsa.set("ESA01");
  row.BsmBdt.set("2026x");  // the surplus statement cannot convert the day
  row.BsmAsw = 1;
  EXPECT_EQ(Get_UebBszEsa(row), 0);
  EXPECT_EQ(Get_UebBszEso(row), 0);
  EXPECT_EQ(Get_UebBszPlg(row), 0);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{
                "-Fehler: Get_UebBszEsa()->Bsm_EsaUebC_Read() RC: -1! PLG: 00001 ESO: ESO01 ESA: "
                "ESA01 DAT: 2026x",
                "-Fehler: Get_UebBszEso()->Bsm_EsoUebC_Read() RC: -1! PLG: 00001 ESO: ESO01 DAT: "
                "2026x",
                "-Fehler: Get_UebBszPlg()->Bsm_PlgUebC_Read() RC: -1! PLG: 00001 DAT: 2026x"}));
}

TEST_F(SurplusSearch, BeginAfterEndSweepsNothing) {
  const std::string d1 = ts::DaysFromToday(1);
  mv::AddDays(db_, d1, ts::AddDays(d1, 1));
  mv::AddSlot(db_, mv::Slot(d1, "ESO01", "ESA01", 360, 840, 1, 1, 1, 0));
  const ts::BsmValues u = mv::Slot(d1, "ESO01", "ESA01", 840, 1320, 0, 0, 0, 1);
  mv::AddSlot(db_, u);
  AddMovable(db_, "00000001", u, 1);
  RunContext ctx;
  ctx.level_code.set("PLG");
  ctx.effective_begin.set(ts::AddDays(d1, 1));
  ctx.effective_end.set(d1);
  UebBsz_Work_Plg(ctx, "00001");
  UebBsz_Work_Eso(ctx, "00001", "ESO01");
  UebBsz_Work_Esa(ctx, "00001", "ESO01", "ESA01");
  EXPECT_TRUE(mv::Proposals(db_).empty());
  ctx.effective_begin.set(d1);
  UebBsz_Work_Esa(ctx, "00001", "ESO01", "ESA01");
  EXPECT_EQ(mv::Proposals(db_).size(), 1u);
}

}  // namespace
