#include <gtest/gtest.h>

#include "optimise/neighbour_check.h"

namespace {

struct OverlapCase {
  int32_t a1, a2, b1, b2;
  int32_t minutes;
};

void PrintTo(const OverlapCase& o, std::ostream* os) {
  *os << o.a1 << "-" << o.a2 << " with " << o.b1 << "-" << o.b2;
}

class OverlapMinutes : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(OverlapMinutes, Result) {
  const OverlapCase& o = GetParam();
  EXPECT_EQ(Ueberlappung_Minuten(o.a1, o.a2, o.b1, o.b2), o.minutes);
}

INSTANTIATE_TEST_SUITE_P(SharedPart, OverlapMinutes,
                         ::testing::Values(
                             // Two day windows sharing 10:00-16:00, in either order.
                             OverlapCase{480, 960, 600, 1200, 360},
                             OverlapCase{600, 1200, 480, 960, 360},
                             // Both crossing midnight: 23:00 to 06:00.
                             OverlapCase{1320, 360, 1380, 480, 420},
                             // An empty second window, or both empty.
                             OverlapCase{480, 960, 600, 600, 0}, OverlapCase{480, 480, 480, 480, 0},
                             // The same window twice gives its length.
                             OverlapCase{1320, 360, 1320, 360, 480},
                             OverlapCase{480, 960, 480, 960, 480}));

INSTANTIATE_TEST_SUITE_P(NotTheSharedLength, OverlapMinutes,
                         ::testing::Values(
                             // Day windows sharing nothing: the wrapped distance.
                             OverlapCase{480, 600, 700, 800, 1340},
                             // First crossing midnight, second within the day: later begin to b2.
                             OverlapCase{1320, 360, 300, 480, 600},
                             // First within the day, second crossing midnight: later begin to a2.
                             OverlapCase{480, 960, 1320, 360, 1080},
                             // An empty first window: from the later begin to b1.
                             OverlapCase{600, 600, 480, 700, 1320}, OverlapCase{0, 0, 480, 960, 0},
                             // An empty target against a window ending at midnight.
                             OverlapCase{0, 0, 480, 0, 960}));

TEST(OverlapMinutes, MinutesFromTheDatabaseOutsideTheClockDoNotWrap) {
  EXPECT_EQ(Ueberlappung_Minuten(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(Ueberlappung_Minuten(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN), 0);
}

}  // namespace
