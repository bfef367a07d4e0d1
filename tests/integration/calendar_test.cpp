// Calendar lookups and the effective planning period, called in this process
// against a small base calendar.
#include "calendar/calendar.h"

#include <gtest/gtest.h>

#include <limits>

#include "calendar/planning_period.h"
#include "db/plan_group_table.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace {

class Calendar : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ts::ConnectJob(db_)); }

  RunContext Context(const char* begin, const char* end) {
    RunContext ctx;
    ctx.period_begin.set(begin);
    ctx.period_end.set(end);
    ctx.start_time.set("20261203101500");
    return ctx;
  }

  ts::TestDb db_;
};

TEST_F(Calendar, StepsThroughCalendarDaysAndStopsAtTheEnd) {
  ts::InsertCalendar(db_, "20261201", "20261210");
  FixedText<9> out;
  EXPECT_EQ(Kalendertag_Ermitteln("20261201", 1, out), 0);
  EXPECT_EQ(out, "20261202");
  EXPECT_EQ(Kalendertag_Ermitteln("20261205", -3, out), 0);
  EXPECT_EQ(out, "20261202");

  // In place, as the day loops do it.
  FixedText<9> d;
  d.set("20261209");
  EXPECT_EQ(Kalendertag_Ermitteln(d.c_str(), 1, d), 0);
  EXPECT_EQ(d, "20261210");
  EXPECT_EQ(Kalendertag_Ermitteln(d.c_str(), 1, d), 100);
  EXPECT_EQ(d, "20261210");

  // A day outside the calendar gives a copy of the input.
  EXPECT_EQ(Kalendertag_Ermitteln("20261220", 0, out), 100);
  EXPECT_EQ(out, "20261220");
}

TEST_F(Calendar, SingleReadsDeliverOnlyWhenFound) {
  ts::InsertCalendar(db_, "20261201", "20261210");
  BakDay day;
  day.BakDtm.set("20261207");
  day.offset = 1;
  ASSERT_EQ(Bak_Tag_Read(day), 0);
  EXPECT_EQ(day.BakDtm, "20261208");
  EXPECT_EQ(day.BakJhr, 2026);
  EXPECT_EQ(day.BakMon, 12);
  EXPECT_EQ(day.BakTag, 8);
  EXPECT_EQ(day.BakWtg, 2);  // a Tuesday
  EXPECT_EQ(day.BakJtg, 342);
  EXPECT_EQ(day.offset, 1);

  BakDay missing;
  missing.BakDtm.set("20261210");
  missing.offset = 5;
  missing.BakWtg = 42;
  EXPECT_EQ(Bak_Tag_Read(missing), 100);
  EXPECT_EQ(missing.BakDtm, "20261210");
  EXPECT_EQ(missing.BakWtg, 42);

  int32_t weekday = -5;
  EXPECT_EQ(Bak_Wtg_Read("20261206", weekday), 0);
  EXPECT_EQ(weekday, 7);
  weekday = -5;
  EXPECT_EQ(Bak_Wtg_Read("20261211", weekday), 100);
  EXPECT_EQ(weekday, -5);

  FixedText<9> last;
  EXPECT_EQ(Bak_MaxDtm_Read(last), 0);
  EXPECT_EQ(last, "20261210");
}

TEST_F(Calendar, EmptyCalendarHasAnEmptyLastDay) {
  FixedText<9> last;
  last.set("garbage");
  EXPECT_EQ(Bak_MaxDtm_Read(last), 0);
  EXPECT_TRUE(last.empty());
}

TEST_F(Calendar, PlanGroupDayTypeFollowsTheGroupsCalendarNumber) {
  ts::PlanGroupValues plg;
  plg.kal = "001";
  ts::InsertPlanGroup(db_, plg);
  db_.Exec(
      "INSERT INTO plexor.Kvt755Pka (PkaPlg, PkaNum, PkaDtm, PkaTtp, PkaGwt) VALUES "
      "('00001', '002', " +
      ts::SqlDate("20261208") + ", 'XX', 9)");
  db_.Exec(
      "INSERT INTO plexor.Kvt755Pka (PkaPlg, PkaNum, PkaDtm, PkaTtp, PkaGwt) VALUES "
      "('00001', '001', " +
      ts::SqlDate("20261208") + ", 'SO', 3)");
  FixedText<4> type;
  int32_t number = 0;
  ASSERT_EQ(Pka_Tag_Read("00001", "20261208", type, number), 0);
  EXPECT_EQ(type, "SO");
  EXPECT_EQ(number, 3);

  type.set("K");
  number = 11;
  EXPECT_EQ(Pka_Tag_Read("00001", "20261209", type, number), 100);
  EXPECT_EQ(Pka_Tag_Read("00002", "20261208", type, number), 100);
  EXPECT_EQ(type, "K");
  EXPECT_EQ(number, 11);
}

TEST_F(Calendar, HorizonOfAPlanGroup) {
  ts::PlanGroupValues plg;
  plg.hzt = 4;
  ts::InsertPlanGroup(db_, plg);
  int32_t horizon = -1;
  EXPECT_EQ(Plg_Hzt_Read("00001", horizon), 0);
  EXPECT_EQ(horizon, 4);
  horizon = -1;
  EXPECT_EQ(Plg_Hzt_Read("00002", horizon), 100);
  EXPECT_EQ(horizon, -1);
  // A quote in the code is data, not statement text.
  EXPECT_EQ(Plg_Hzt_Read("0' OR '1'='1", horizon), 100);
  EXPECT_EQ(horizon, -1);
}

TEST_F(Calendar, GivenPeriodIsTakenAsItStands) {
  RunContext ctx = Context("20261202", "20261205");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_begin, "20261202");
  EXPECT_EQ(ctx.effective_end, "20261205");
  EXPECT_EQ(ctx.period_begin, "20261202");

  ctx = Context("00000000", "20261231");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_begin, "20261203");  // the run's start date
  EXPECT_EQ(ctx.effective_end, "20261231");
  EXPECT_EQ(ctx.period_begin, "00000000");
}

TEST_F(Calendar, DefaultEndIsTheLastDayOfTheWeekHWeeksLater) {
  ts::InsertCalendar(db_, "20261130", "20270131");
  ts::PlanGroupValues plg;
  plg.hzt = 2;
  ts::InsertPlanGroup(db_, plg);

  // 2026-12-02 is a Wednesday (weekday 3): 7 * 3 - 3 = 18 days on.
  RunContext ctx = Context("20261202", "00000000");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_end, "20261220");

  // No plan-group row: horizon 0, the end of the begin's own week.
  ctx = Context("20261202", "00000000");
  Planzeitraum_Ermitteln("00009", ctx);
  EXPECT_EQ(ctx.effective_end, "20261206");

  // A Sunday begin with horizon 0 ends on itself.
  ctx = Context("20261206", "00000000");
  Planzeitraum_Ermitteln("00009", ctx);
  EXPECT_EQ(ctx.effective_end, "20261206");
}

TEST_F(Calendar, DefaultEndFallsBackWhenTheCalendarRunsOut) {
  ts::InsertCalendar(db_, "20261205", "20261225");
  ts::PlanGroupValues plg;
  plg.hzt = 1;
  ts::InsertPlanGroup(db_, plg);

  // Begin not in the calendar: weekday 0, 14 days on.
  RunContext ctx = Context("20261201", "00000000");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_begin, "20261201");
  EXPECT_EQ(ctx.effective_end, "20261215");

  // Computed end beyond the calendar: its last day.
  ctx = Context("20261216", "00000000");  // Wednesday, +11 = 20261227
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_end, "20261225");
}

TEST_F(Calendar, DefaultEndWithoutCalendarIsEmpty) {
  ts::InsertPlanGroup(db_, ts::PlanGroupValues{});
  RunContext ctx = Context("20261202", "00000000");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_begin, "20261202");
  EXPECT_TRUE(ctx.effective_end.empty());
}

TEST_F(Calendar, AbsurdHorizonEndsOnTheLastCalendarDay) {
  ts::InsertCalendar(db_, "20261201", "20261210");
  ts::PlanGroupValues plg;
  plg.hzt = std::numeric_limits<int32_t>::max();
  ts::InsertPlanGroup(db_, plg);
  RunContext ctx = Context("20261202", "00000000");
  Planzeitraum_Ermitteln("00001", ctx);
  EXPECT_EQ(ctx.effective_end, "20261210");
}

}  // namespace
