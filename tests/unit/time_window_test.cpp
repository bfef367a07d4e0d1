#include "optimise/time_window.h"

#include <gtest/gtest.h>

namespace {

struct WindowCase {
  int32_t a, b;  // target window
  int32_t c, d;  // working window
  int32_t window_class;
  bool match;
};

void PrintTo(const WindowCase& w, std::ostream* os) {
  *os << "target " << w.a << "-" << w.b << " window " << w.c << "-" << w.d;
}

class WindowComparison : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowComparison, ClassAndMatch) {
  const WindowCase& w = GetParam();
  int32_t window_class = -1;
  EXPECT_EQ(Zeitfenster_Vergleich(w.a, w.b, w.c, w.d, window_class), w.match);
  EXPECT_EQ(window_class, w.window_class);
}

INSTANTIATE_TEST_SUITE_P(
    DayWindows, WindowComparison,
    ::testing::Values(
        // 08:00-16:00 against the same window.
        WindowCase{480, 960, 480, 960, 1, true},
        // Starts earlier and ends later.
        WindowCase{360, 1080, 480, 960, 2, true},
        // Same start, ends later / same start, ends earlier.
        WindowCase{480, 1080, 480, 960, 3, true}, WindowCase{480, 720, 480, 960, 6, true},
        // Starts earlier, same end / starts later, same end.
        WindowCase{360, 960, 480, 960, 4, true}, WindowCase{600, 960, 480, 960, 7, true},
        // Inside the window.
        WindowCase{600, 720, 480, 960, 5, true},
        // Overlapping the end: 120 of 240 minutes shared is just enough, 60 is not.
        WindowCase{840, 1080, 480, 960, 8, true}, WindowCase{900, 1140, 480, 960, 8, false},
        // Overlapping the beginning: 120 of 240 shared matches, 60 of 240 does not.
        WindowCase{360, 600, 480, 960, 9, true}, WindowCase{300, 540, 480, 960, 9, false},
        // The target begins where the window ends, or ends where it begins.
        WindowCase{960, 1200, 480, 960, 0, false}, WindowCase{240, 480, 480, 960, 0, false},
        // Without a day plan the window is 0-0: a day target lies inside it.
        WindowCase{480, 960, 0, 0, 5, true}));

INSTANTIATE_TEST_SUITE_P(NightWindows, WindowComparison,
                         ::testing::Values(
                             // 22:00-06:00 against the same window.
                             WindowCase{1320, 360, 1320, 360, 1, true},
                             // Inside a night window, on either side of midnight.
                             WindowCase{1380, 60, 1320, 360, 5, true},
                             WindowCase{1330, 1400, 1320, 360, 5, true},
                             // A night target over the end of a night window: 240 of 480 shared.
                             WindowCase{1320, 360, 1200, 120, 8, true},
                             // A night target reaching past a day window's end by more than half.
                             WindowCase{900, 120, 480, 960, 8, false},
                             // The night window's morning part belongs to the day before: a morning
                             // target on the same date lies before the window begins.
                             WindowCase{60, 180, 1320, 360, 0, false},
                             // A night target against a morning window of its own date.
                             WindowCase{1320, 360, 0, 480, 0, false}));

TEST(WindowComparison, MinutesOutsideTheClockStillGiveAClass) {
  const int32_t extremes[][4] = {{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX},
                                 {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN},
                                 {INT32_MAX, INT32_MAX - 1, 0, INT32_MAX}};
  for (const auto& x : extremes) {
    int32_t window_class = -1;
    Zeitfenster_Vergleich(x[0], x[1], x[2], x[3], window_class);
    EXPECT_GE(window_class, 0);
    EXPECT_LE(window_class, 9);
  }
}

TEST(WindowComparison, ClassesReachingBeyondTheWindow) {
  for (int32_t c = 0; c <= 9; ++c) {
    const bool beyond = c == 2 || c == 3 || c == 4 || c == 8 || c == 9;
    EXPECT_EQ(ReachesBeyondWindow(c), beyond) << c;
  }
}

}  // namespace
