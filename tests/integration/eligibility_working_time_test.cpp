// Eligibility: the daily working time and the rest time around the target.
#include <gtest/gtest.h>

#include <string>

#include "eligibility_fixture.h"

namespace {

using elig::Assignment;
using elig::Eligibility;

// --- Daily working time ------------------------------------------------------

// An assignment with a large booked working time, so that the quick figure is
// above the limit whichever row of the day the database returns first.
Assignment Booked() {
  Assignment a;
  a.azt = 999;
  return a;
}

TEST_F(Eligibility, QuickFigureWithinTheLimitPasses) {
  // Booked 120 minutes plus the target's 480 inside the window: 600 = 10 h.
  source_.azt = 120;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, FullComputationDecidesAboveTheQuickLimit) {
  // Quick figure 121 + 480 = 601 > 600; the day itself covers 08:00-16:00
  // and 20:00-21:00, 540 minutes.
  source_.azt = 121;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, DayAboveTheDailyMaximumGives1521) {
  person_.azk = 8;  // 480 < 540 covered minutes
  source_.azt = 60;
  Build();
  Switches(0, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeCountsOnlyLiveAssignmentsOfTheDay) {
  // 480 (window) + 60 (20:00) = 540 within 9 h; every excluded row would add.
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Assignment deleted = Booked();
  deleted.sts = "D";
  Neighbour(0, 1000, 1100, deleted);
  Assignment other = Booked();
  other.sts = "O";
  Neighbour(0, 1000, 1100, other);
  Assignment inactive = Booked();
  inactive.akt = 9999;
  Neighbour(0, 1000, 1100, inactive);
  Neighbour(1, 1000, 1100, Booked());  // another day
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, WorkingTimeCountsALiveExtraAssignment) {
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Neighbour(0, 1000, 1100, Booked());
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeTakesTheOtherSlotOfAKindThreeAssignment) {
  // Its own slot 08:00-08:20 lies in the window; its other slot 1000-1400
  // adds 400 minutes (covering the 20:00 assignment).
  person_.azk = 9;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  Assignment kind_three = Booked();
  kind_three.asw = 3;
  kind_three.osv = 1000;
  kind_three.osb = 1400;
  Neighbour(0, 480, 500, kind_three);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Eligibility, WorkingTimeCountsAtMostTwentyIntervals) {
  // Without a day plan the window 0-0 takes the second place; the next 18
  // half hours cover 00:00-09:30 (570 minutes). The five half hours after
  // them and the 20:00 assignment would make 810 minutes.
  person_.day_plan = false;
  person_.azk = 10;
  source_.azt = 999;
  Build();
  Switches(0, 1, 0, 0);
  for (int i = 0; i < 25; ++i) {
    Neighbour(0, 30 * i, 30 * i + 30, Booked());
  }
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Rest time ---------------------------------------------------------------

class RestTime : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    person_.rzk = 11;  // 660 minutes
  }
  void Prepare(int awp) {
    person_.awp = awp;
    Build();
    Switches(0, 0, 1, 0);
  }
  // An assignment ending `gap` minutes before the target's 08:00 start.
  void PreviousEndingBefore(int gap) {
    const int end = 480 - gap;
    if (end >= 0) {
      Neighbour(0, end - 60 < 0 ? 0 : end - 60, end);
    } else {
      Neighbour(-1, 1440 + end - 60, 1440 + end);
    }
  }
};

TEST_F(RestTime, GapOfAtMostHalfTheRestIsAcceptedForOtherRules) {
  Prepare(2);
  PreviousEndingBefore(300);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, GapBetweenHalfAndTheWholeRestGives1531) {
  Prepare(2);
  PreviousEndingBefore(400);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, FullRestPasses) {
  Prepare(2);
  PreviousEndingBefore(660);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, StrictRuleRejectsEveryShortGap) {
  Prepare(1);
  PreviousEndingBefore(300);
  Neighbour(1, 600, 900);  // read last: the next start is the next day's 10:00
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, StrictRulePassesAFullRestOnBothSides) {
  Prepare(1);
  PreviousEndingBefore(660);
  Neighbour(1, 600, 900);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, NightTargetEndsOnTheNextDay) {
  // 22:00-06:00; the next assignment starts at 14:00 of the next day, 480
  // minutes after the target's end.
  target_.von = 1320;
  target_.bis = 360;
  Prepare(2);
  Neighbour(1, 840, 960);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(RestTime, LastQualifyingRowInReadingOrderIsTheNextStart) {
  // Rows after the target: 20:00 today (the surplus slot) and 06:00 the
  // next day, read last; 14 hours after 16:00 is a full rest for the strict
  // rule, whereas the nearer 20:00 would not be.
  Prepare(1);
  Neighbour(1, 360, 420);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(RestTime, NegativeDifferenceCountsAsALongGap) {
  // A target of kind 3 counts as 00:00-00:00 when the neighbours are read,
  // so a row at 06:00 becomes the next start; measured from the target's end
  // at 16:00 the difference is negative and passes.
  target_.asw = 3;
  Prepare(1);
  Assignment morning;
  morning.asw = 1;
  morning.akt = 2;  // read after the surplus slot's row
  Neighbour(0, 360, 420, morning);
  EXPECT_EQ(ProposedFnr(), 0);
}

}  // namespace
