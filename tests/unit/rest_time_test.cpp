#include "optimise/rest_time.h"

#include <gtest/gtest.h>

#include "optimise/slot_time.h"

namespace {

struct RestCase {
  int64_t gap;
  int32_t awp;
  bool too_short;
};

class RestRule : public ::testing::TestWithParam<RestCase> {};

TEST_P(RestRule, ElevenHours) {
  const RestCase& r = GetParam();
  EXPECT_EQ(RestGapTooShort(r.gap, 660, r.awp), r.too_short) << r.gap << " awp " << r.awp;
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, RestRule,
    ::testing::Values(
        // Other rules: at most half the rest time and the whole rest time pass.
        RestCase{300, 2, false}, RestCase{330, 2, false}, RestCase{331, 2, true},
        RestCase{400, 2, true}, RestCase{659, 2, true}, RestCase{660, 2, false},
        RestCase{0, 0, false},
        // The strict rule: every gap below the rest time is too short.
        RestCase{300, 1, true}, RestCase{0, 1, true}, RestCase{659, 1, true},
        RestCase{660, 1, false}));

TEST(RestGap, WholeMinutesBetweenDateTimes) {
  EXPECT_EQ(RestGapMinutes("20261208220000", "20261208160000"), 360);
  EXPECT_EQ(RestGapMinutes("20261209060000", "20261208220000"), 480);
  EXPECT_EQ(RestGapMinutes("20261208160059", "20261208160000"), 0);
  EXPECT_EQ(RestGapMinutes("20270101060000", "20261231200000"), 600);
}

TEST(RestGap, NegativeDifferenceIsALongGap) {
  const int64_t gap = RestGapMinutes("20261208060000", "20261208160000");
  EXPECT_EQ(gap, (4294967296LL - 36000) / 60);
  EXPECT_FALSE(RestGapTooShort(gap, 660, 1));
  EXPECT_FALSE(RestGapTooShort(gap, 660, 2));
}

TEST(WindowDateTimes, NightWindowEndsOnTheNextDay) {
  FixedText<15> start;
  FixedText<15> end;
  WindowDateTimes("20261208", "20261209", 1320, 360, start, end);
  EXPECT_EQ(start, "20261208220000");
  EXPECT_EQ(end, "20261209060000");
  WindowDateTimes("20261208", "20261209", 480, 960, start, end);
  EXPECT_EQ(start, "20261208080000");
  EXPECT_EQ(end, "20261208160000");
  WindowDateTimes("20261208", "20261209", 0, 0, start, end);
  EXPECT_EQ(start, "20261208000000");
  EXPECT_EQ(end, "20261208000000");
}

}  // namespace
