#include "calendar/planning_period.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(PeriodEndOffset, EndsOnTheLastDayOfTheWeekHWeeksLater) {
  EXPECT_EQ(PeriodEndOffset(2, 3), 18);
  EXPECT_EQ(PeriodEndOffset(0, 7), 0);
  EXPECT_EQ(PeriodEndOffset(0, 1), 6);
  // Begin not in the calendar: weekday 0.
  EXPECT_EQ(PeriodEndOffset(1, 0), 14);
}

TEST(PeriodEndOffset, OddDatabaseValuesSaturateInsteadOfOverflowing) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(PeriodEndOffset(kMax, 0), kMax);
  EXPECT_EQ(PeriodEndOffset(kMin, 0), kMin);
  EXPECT_EQ(PeriodEndOffset(0, kMin), kMax);
  EXPECT_EQ(PeriodEndOffset(-1, 3), -3);
}

}  // namespace
