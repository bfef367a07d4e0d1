#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "optimise/day_working_time.h"

namespace {

using Window = std::pair<int32_t, int32_t>;

struct DayCase {
  const char* name;
  Window window;
  std::vector<Window> rows;  // in cursor order
  int32_t total;
};

void PrintTo(const DayCase& d, std::ostream* os) {
  *os << d.name;
}

int32_t Total(const DayCase& d, DayIntervalList* out = nullptr) {
  DayIntervalList list("20261208", "20261209", d.window.first, d.window.second);
  for (const Window& row : d.rows) {
    if (!list.AddAssignment(row.first, row.second)) break;
  }
  list.Finish();
  if (out != nullptr) *out = list;
  return MergedMinutes(list);
}

class DayMerge : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayMerge, Total) {
  EXPECT_EQ(Total(GetParam()), GetParam().total);
}

std::vector<Window> HalfHours(int count, int32_t first_begin) {
  std::vector<Window> rows;
  for (int i = 0; i < count; ++i) {
    const int32_t begin = first_begin + 30 * i;
    rows.push_back({begin, begin + 30});
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayMerge,
    ::testing::Values(
        DayCase{"window alone", {480, 960}, {}, 480},
        DayCase{
            "assignments inside and past the window", {480, 960}, {{600, 720}, {900, 1080}}, 600},
        DayCase{"assignment after the window", {480, 960}, {{1020, 1140}}, 600},
        DayCase{"night assignment, no window", {0, 0}, {{1320, 360}}, 480},
        DayCase{"nothing at all", {0, 0}, {}, 0},
        DayCase{"assignment touching the window's end", {480, 960}, {{960, 1080}}, 600},
        DayCase{"assignment before the window", {480, 960}, {{300, 420}}, 600},
        DayCase{"window inside a long assignment", {600, 700}, {{480, 960}}, 480},
        DayCase{"night window after a day assignment", {1320, 360}, {{480, 960}}, 960},
        // 25 half hours from 00:00: the first 20 fill the list, the window
        // at 20:00 is not among them.
        DayCase{"list full before the window", {1200, 1300}, HalfHours(25, 0), 600},
        // The window at 01:00 is placed before the row at 01:30, so 19 rows
        // and the window fill the list.
        DayCase{"window among the first twenty", {60, 90}, HalfHours(25, 0), 570},
        // 19 rows and then the window as the 20th interval.
        DayCase{"window fills the last place", {1200, 1300}, HalfHours(19, 0), 670}));

TEST(DayIntervalList, WindowGoesBeforeTheFirstLaterRow) {
  DayIntervalList list("20261208", "20261209", 480, 960);
  EXPECT_TRUE(list.AddAssignment(300, 420));
  EXPECT_TRUE(list.AddAssignment(600, 720));
  list.Finish();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.at(0).start, "20261208050000");
  EXPECT_EQ(list.at(1).start, "20261208080000");
  EXPECT_EQ(list.at(1).end, "20261208160000");
  EXPECT_EQ(list.at(2).begin_minute, 600);
}

TEST(DayIntervalList, IntervalsCrossingMidnightEndOnTheNextDay) {
  DayIntervalList list("20261231", "20270101", 1320, 360);
  list.Finish();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.at(0).start, "20261231220000");
  EXPECT_EQ(list.at(0).end, "20270101060000");
}

TEST(DayIntervalList, StopsTakingRowsWhenFull) {
  DayIntervalList list("20261208", "20261209", 1200, 1300);
  for (int i = 0; i < 19; ++i) EXPECT_TRUE(list.AddAssignment(30 * i, 30 * i + 30));
  EXPECT_FALSE(list.AddAssignment(600, 630));
  EXPECT_FALSE(list.AddAssignment(660, 690));
  list.Finish();
  EXPECT_EQ(list.size(), DayIntervalList::kCapacity);
  EXPECT_EQ(list.at(19).begin_minute, 600);
}

TEST(DayIntervalList, WindowIsListedOnceWhenRowsComeOutOfBeginOrder) {
  // Rows of the other slot kind carry their own begin, so the begins need not
  // ascend; the window must not be counted twice.
  DayIntervalList list("20261208", "20261209", 480, 540);
  list.AddAssignment(600, 660);
  list.AddAssignment(300, 360);
  list.AddAssignment(700, 760);
  list.Finish();
  EXPECT_EQ(list.size(), 4u);
}

}  // namespace
