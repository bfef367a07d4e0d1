// The plan-group row routines and cursor (in this process), and whole runs of
// the job over one or all plan groups.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/plan_group_loop.h"
#include "app/plan_group_pass.h"
#include "db/plan_group_table.h"
#include "db/statement.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

using ts::Cell;

// Local time now as "yyyy-mm-dd hh:mm:ss".
std::string NowText() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

std::string PlgColumn(ts::TestDb& db, const std::string& code, const std::string& expr) {
  Cell c = db.Scalar("SELECT " + expr + " FROM plexor.Kvt701Plg WHERE PlgPlg = '" + code + "'");
  return c ? *c : "<NULL>";
}

std::string PlgBeg(ts::TestDb& db, const std::string& code) {
  return PlgColumn(db, code, "convert(char(19), PlgBeg, 120)");
}

long ErrorCount(ts::TestDb& db, const std::string& where) {
  return db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt746Err WHERE " + where);
}

bool HasErrorLine(const std::string& log) {
  return log.find("-Fehler") != std::string::npos;
}

// ---- routines on Kvt701Plg, called directly ----

class PlanGroupTable : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ts::ConnectJob(db_)); }
  ts::TestDb db_;
};

TEST_F(PlanGroupTable, ReadDeliversTheRowAndUpdateWritesItBack) {
  ts::PlanGroupValues row_values;
  row_values.txt = "O'Brien's group";
  row_values.hzt = 3;
  row_values.sta = 4;
  row_values.dat = "2026-01-02 03:04:05";
  row_values.beg = "2026-02-03 04:05:06";
  row_values.usr = "previous";
  row_values.pgm = "OTHERPGM";
  row_values.fts = 7;
  row_values.switches = 1;
  row_values.opt = 5;
  row_values.opl = 2;
  ts::InsertPlanGroup(db_, row_values);

  PlgRow row;
  row.PlgPlg.set("00001");
  ASSERT_EQ(Plg_PKey_Read(row, 2), 0);
  EXPECT_EQ(row.PlgTxt, "O'Brien's group");
  EXPECT_EQ(row.PlgKal, "001");
  EXPECT_EQ(row.PlgHzt, 3);
  EXPECT_EQ(row.PlgSta, 4);
  EXPECT_EQ(row.PlgDat, "20260102030405");
  EXPECT_TRUE(row.PlgPdt.empty());
  EXPECT_EQ(row.PlgBeg, "20260203040506");
  EXPECT_EQ(row.PlgUsr, "previous");
  EXPECT_EQ(row.PlgPgm, "OTHERPGM");
  EXPECT_EQ(row.PlgFts, 7);
  EXPECT_EQ(row.PlgQu, 1);
  EXPECT_EQ(row.PlgRe, 1);
  EXPECT_EQ(row.PlgOpt, 5);
  EXPECT_EQ(row.PlgOpl, 2);

  row.PlgUsr.set("x'y");
  row.PlgBeg.set("20261208061500");
  row.PlgFts = 0;
  row.PlgPgm.clear();
  row.PlgHzt = 99;  // written back as well
  ASSERT_EQ(Plg_PKey_Upd(row), 0);
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgTxt"), "O'Brien's group");
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgUsr"), "x'y");
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgPgm"), "");
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgFts"), "0");
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgHzt"), "99");
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgSta"), "4");
  EXPECT_EQ(PlgBeg(db_, "00001"), "2026-12-08 06:15:00");
  EXPECT_EQ(PlgColumn(db_, "00001", "convert(char(19), PlgDat, 120)"), "2026-01-02 03:04:05");
  // A date-time that was NULL stays NULL (not 1900-01-01).
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgPdt"), "<NULL>");
  // Switches and level are not written.
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgOpl"), "2");
}

TEST_F(PlanGroupTable, MissingRowLeavesTheCallersRow) {
  PlgRow row;
  row.PlgPlg.set("00009");
  row.PlgOpl = 3;
  row.PlgTxt.set("mine");
  EXPECT_EQ(Plg_PKey_Read(row, 2), 100);
  EXPECT_EQ(row.PlgOpl, 3);
  EXPECT_EQ(row.PlgTxt, "mine");
  EXPECT_EQ(Plg_PKey_Upd(row), 100);  // nothing matched
}

TEST_F(PlanGroupTable, CursorWalksAllRowsInCodeOrder) {
  for (const char* code : {"00003", "00001", "00002"}) {
    ts::PlanGroupValues row_values;
    row_values.code = code;
    row_values.opl = code[4] - '0';
    ts::InsertPlanGroup(db_, row_values);
  }
  PlgRow row;
  EXPECT_EQ(Plg_Cur_Read(row), -1);  // not open
  ASSERT_EQ(Plg_Cur_Open(), 0);
  std::string order;
  int32_t rc;
  while ((rc = Plg_Cur_Read(row)) == 0) {
    order += row.PlgPlg.c_str();
    order += "/" + std::to_string(row.PlgOpl) + " ";
  }
  EXPECT_EQ(rc, 100);
  EXPECT_EQ(order, "00001/1 00002/2 00003/3 ");
  EXPECT_EQ(row.PlgPlg, "00003");  // the end leaves the last row
  EXPECT_EQ(Plg_Cur_Close(), 0);
  EXPECT_EQ(Plg_Cur_Read(row), -1);
  EXPECT_EQ(Plg_Cur_Close(), 0);
}

TEST(PlanGroupTableShort, MissingOptionalColumnsFallBackOnceForBothRoutines) {
  ts::TestDb db(false);
  ASSERT_TRUE(ts::ConnectJob(db));
  ts::PlanGroupValues row_values;
  row_values.with_optional = false;
  row_values.hzt = 2;
  ts::InsertPlanGroup(db, row_values);

  PlgRow row;
  row.PlgPlg.set("00001");
  row.PlgOpl = 6;
  ASSERT_EQ(Plg_PKey_Read(row, 2), 0);
  EXPECT_FALSE(db::PlgOptionalColumns().present);
  EXPECT_EQ(row.PlgHzt, 2);
  EXPECT_EQ(row.PlgOpl, 6);  // not read, kept

  ASSERT_EQ(Plg_Cur_Open(), 0);
  PlgRow cur;
  EXPECT_EQ(Plg_Cur_Read(cur), 0);
  EXPECT_EQ(cur.PlgPlg, "00001");
  EXPECT_EQ(cur.PlgOpl, 0);
  Plg_Cur_Close();

  // The cursor alone also finds out.
  db::PlgOptionalColumns().present = true;
  ASSERT_EQ(Plg_Cur_Open(), 0);
  EXPECT_FALSE(db::PlgOptionalColumns().present);
  EXPECT_EQ(Plg_Cur_Read(cur), 0);
  Plg_Cur_Close();
}

// ---- whole runs ----

class PlanGroupRun : public ::testing::Test {
 protected:
  void SetUp() override {
    begin_ = ts::DaysFromToday(1);
    end_ = ts::DaysFromToday(3);
    ts::InsertCalendar(db_, ts::DaysFromToday(-3), ts::DaysFromToday(70));
  }

  // One off-target slot (short, 1603) per day of the period.
  void OffTargetSlots(const std::string& plg, const std::string& eso = "ESO01") {
    for (int d = 1; d <= 3; ++d) {
      ts::BsmValues bsm;
      bsm.plg = plg;
      bsm.eso = eso;
      bsm.date = ts::DaysFromToday(d);
      bsm.sol = 2;
      bsm.min = 1;
      bsm.ist = 1;
      ts::InsertBsm(db_, bsm);
    }
  }

  ts::PlexorRun RunAll(const std::string& user = "runner") {
    ts::RunArgs args;
    args.user = user;
    args.begin = begin_;
    args.end = end_;
    return db_.Run(args.list());
  }

  ts::TestDb db_;
  std::string begin_;
  std::string end_;
};

TEST_F(PlanGroupRun, LevelsOneToThreeAreOptimisedMarkedAndReleased) {
  for (int opl = 1; opl <= 3; ++opl) {
    ts::PlanGroupValues row_values;
    row_values.code = "0000" + std::to_string(opl);
    row_values.opl = opl;
    row_values.usr = "someone";
    row_values.pgm = "OTHERPGM";
    row_values.fts = 5;
    row_values.sta = 8;
    ts::InsertPlanGroup(db_, row_values);
    OffTargetSlots(row_values.code);
  }
  const std::string before = NowText();
  ts::PlexorRun run = RunAll();
  const std::string after = NowText();
  ASSERT_EQ(run.exit_code, 0);
  std::vector<std::string> lines = ts::LogMessages(run.log);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front(), "*** Programmstart Plexor ***");
  EXPECT_EQ(lines.back(), "*** Programmende Plexor ***");
  EXPECT_FALSE(HasErrorLine(run.log)) << run.log;

  const std::string beg = PlgBeg(db_, "00001");
  EXPECT_GE(beg, before.substr(0, 19));
  EXPECT_LE(beg, after);
  for (const std::string code : {"00001", "00002", "00003"}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(PlgColumn(db_, code, "PlgUsr"), "");
    EXPECT_EQ(PlgColumn(db_, code, "PlgPgm"), "");
    EXPECT_EQ(PlgColumn(db_, code, "PlgFts"), "0");
    EXPECT_EQ(PlgColumn(db_, code, "PlgSta"), "8");
    EXPECT_EQ(PlgColumn(db_, code, "PlgDat"), "<NULL>");
    // Every plan group carries the one run start time.
    EXPECT_EQ(PlgBeg(db_, code), beg);
    // Numbering starts at 1 for every plan group.
    EXPECT_EQ(db_.Scalar("SELECT MIN(ErrLfn) FROM plexor.Kvt746Err WHERE ErrPlg = '" + code + "'"),
              Cell("1"));
    EXPECT_EQ(db_.Scalar("SELECT MAX(ErrLfn) FROM plexor.Kvt746Err WHERE ErrPlg = '" + code + "'"),
              Cell("3"));
  }
}

TEST_F(PlanGroupRun, OtherLevelsLeaveThePlanGroupAlone) {
  int n = 0;
  for (int opl : {0, 4, -1}) {
    ts::PlanGroupValues row_values;
    row_values.code = "0000" + std::to_string(++n);
    row_values.opl = opl;
    row_values.usr = "someone";
    row_values.beg = "2020-01-01 00:00:00";
    row_values.fts = 5;
    ts::InsertPlanGroup(db_, row_values);
    OffTargetSlots(row_values.code);
    ts::ErrValues old;
    old.plg = row_values.code;
    old.bdt = begin_;
    ts::InsertError(db_, old);
  }
  ts::PlexorRun run = RunAll();
  EXPECT_FALSE(HasErrorLine(run.log)) << run.log;
  for (const std::string code : {"00001", "00002", "00003"}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(PlgColumn(db_, code, "PlgUsr"), "someone");
    EXPECT_EQ(PlgColumn(db_, code, "PlgFts"), "5");
    EXPECT_EQ(PlgBeg(db_, code), "2020-01-01 00:00:00");
    EXPECT_EQ(ErrorCount(db_, "ErrPlg = '" + code + "' AND ErrErf = 'earlier'"), 1);
    EXPECT_EQ(ErrorCount(db_, "ErrPlg = '" + code + "'"), 1);
  }
}

TEST_F(PlanGroupRun, NamedPlanGroupIsTheOnlyOneOptimised) {
  for (const char* code : {"00001", "00002"}) {
    ts::PlanGroupValues row_values;
    row_values.code = code;
    row_values.usr = "someone";
    ts::InsertPlanGroup(db_, row_values);
    OffTargetSlots(code);
  }
  ts::RunArgs args;
  args.begin = begin_;
  args.end = end_;
  args.plan_group = "00002";
  ts::PlexorRun run = db_.Run(args.list());
  EXPECT_FALSE(HasErrorLine(run.log)) << run.log;
  EXPECT_EQ(PlgColumn(db_, "00001", "PlgUsr"), "someone");
  EXPECT_EQ(PlgColumn(db_, "00002", "PlgUsr"), "");
  EXPECT_EQ(ErrorCount(db_, "ErrPlg = '00001'"), 0);
  EXPECT_EQ(ErrorCount(db_, "ErrPlg = '00002'"), 3);
}

TEST_F(PlanGroupRun, UnknownPlanGroupIsLoggedAndSkipped) {
  ts::RunArgs args;
  args.begin = begin_;
  args.end = end_;
  args.plan_group = "00009";
  ts::PlexorRun run = db_.Run(args.list());
  std::vector<std::string> lines = ts::LogMessages(run.log);
  ASSERT_EQ(lines.size(), 3u) << run.log;
  EXPECT_EQ(lines[1], "-Fehler: Einsatzplan_Optimieren()->Plg_PKey_Read() RC: 100! PLG: 00009");
  EXPECT_EQ(lines[2], "*** Programmende Plexor ***");
}

TEST_F(PlanGroupRun, EmptyPlanGroupTableIsAQuietRun) {
  ts::PlexorRun run = RunAll();
  std::vector<std::string> lines = ts::LogMessages(run.log);
  ASSERT_EQ(lines.size(), 2u) << run.log;
  EXPECT_EQ(lines[0], "*** Programmstart Plexor ***");
  EXPECT_EQ(lines[1], "*** Programmende Plexor ***");
}

TEST_F(PlanGroupRun, DefaultEndFollowsEachPlanGroupsHorizon) {
  // Begin on a Wednesday (weekday 3) at least a day ahead.
  const std::string wednesday = ts::NextWeekday(ts::DaysFromToday(1), 3);
  int hzt = 0;
  for (const char* code : {"00001", "00002"}) {
    ts::PlanGroupValues row_values;
    row_values.code = code;
    row_values.hzt = hzt;
    hzt += 2;
    ts::InsertPlanGroup(db_, row_values);
    for (int d = -1; d <= 25; ++d) {
      ts::BsmValues bsm;
      bsm.plg = code;
      bsm.date = ts::AddDays(wednesday, d);
      bsm.ist = 0;
      ts::InsertBsm(db_, bsm);
    }
  }
  ts::RunArgs args;
  args.begin = wednesday;
  ts::PlexorRun run = db_.Run(args.list());
  EXPECT_FALSE(HasErrorLine(run.log)) << run.log;
  const std::string range =
      "SELECT convert(char(8), MIN(ErrBdt), 112), convert(char(8), MAX(ErrBdt), 112) FROM "
      "plexor.Kvt746Err WHERE ErrPlg = ";
  auto rows = db_.Query(range + "'00001'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], Cell(wednesday));
  EXPECT_EQ(rows[0][1], Cell(ts::AddDays(wednesday, 4)));  // 7 * 1 - 3
  rows = db_.Query(range + "'00002'");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], Cell(wednesday));
  EXPECT_EQ(rows[0][1], Cell(ts::AddDays(wednesday, 18)));  // 7 * 3 - 3
}

TEST(PlanGroupRunShort, MissingOptionalColumnsSkipEveryPlanGroup) {
  ts::TestDb db(false);
  ts::InsertCalendar(db, ts::DaysFromToday(0), ts::DaysFromToday(10));
  ts::PlanGroupValues row_values;
  row_values.with_optional = false;
  row_values.usr = "someone";
  ts::InsertPlanGroup(db, row_values);
  ts::BsmValues bsm;
  bsm.with_optional = false;
  bsm.date = ts::DaysFromToday(1);
  bsm.ist = 0;
  ts::InsertBsm(db, bsm);
  ts::RunArgs args;
  ts::PlexorRun run = db.Run(args.list());
  std::vector<std::string> lines = ts::LogMessages(run.log);
  ASSERT_EQ(lines.size(), 2u) << run.log;
  EXPECT_EQ(PlgColumn(db, "00001", "PlgUsr"), "someone");
  EXPECT_EQ(ErrorCount(db, "1 = 1"), 0);
}

}  // namespace
