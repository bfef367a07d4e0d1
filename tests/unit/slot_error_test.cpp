#include "errlog/slot_error.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

BsmRow Slot(int32_t sol, int32_t min, int32_t max, int32_t ist, int32_t htg = 0, int32_t htv = 0,
            int32_t htn = 0) {
  BsmRow r;
  r.BsmSol = sol;
  r.BsmMin = min;
  r.BsmMax = max;
  r.BsmIst = ist;
  r.BsmHtg = htg;
  r.BsmHtv = htv;
  r.BsmHtn = htn;
  return r;
}

TEST(SlotError, OnTargetGivesNoError) {
  EXPECT_EQ(SlotErrorNumber(Slot(2, 1, 3, 2)), 0);
  // Nobody needed and nobody there.
  EXPECT_EQ(SlotErrorNumber(Slot(0, 0, 0, 0)), 0);
  EXPECT_EQ(SlotErrorNumber(Slot(0, 0, 0, 2, 2)), 0);
}

TEST(SlotError, UnstaffedSlotWithTargetIs1601BeforeTheMinimumRule) {
  EXPECT_EQ(SlotErrorNumber(Slot(1, 1, 1, 0)), 1601);
  // Everybody counted is away: effective count 0, not 1602/1603.
  EXPECT_EQ(SlotErrorNumber(Slot(2, 1, 3, 3, 3)), 1601);
  EXPECT_EQ(SlotErrorNumber(Slot(2, 0, 3, 0)), 1601);
}

TEST(SlotError, BelowTargetSplitsAtTheMinimum) {
  EXPECT_EQ(SlotErrorNumber(Slot(3, 1, 3, 2, 0, 1, 2)), 1603);  // E = 1 = min
  EXPECT_EQ(SlotErrorNumber(Slot(3, 2, 3, 2, 0, 1, 2)), 1602);  // E = 1 < min
  EXPECT_EQ(SlotErrorNumber(Slot(3, 0, 3, 2)), 1603);
  // A negative effective count is short, not unstaffed.
  EXPECT_EQ(SlotErrorNumber(Slot(2, 0, 3, 1, 2)), 1602);
  EXPECT_EQ(SlotErrorNumber(Slot(2, -1, 3, 1, 2)), 1603);
}

TEST(SlotError, AboveTargetSplitsAtTheMaximum) {
  EXPECT_EQ(SlotErrorNumber(Slot(2, 1, 3, 3)), 1604);  // E = max
  EXPECT_EQ(SlotErrorNumber(Slot(2, 1, 3, 4)), 1605);
  EXPECT_EQ(SlotErrorNumber(Slot(0, 0, 2, 2)), 1604);
  EXPECT_EQ(SlotErrorNumber(Slot(0, 0, 1, 2)), 1605);
}

TEST(SlotError, ExtremeValuesDoNotOverflow) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  // 32-bit arithmetic would wrap to a large positive count.
  EXPECT_EQ(EffectiveCount(Slot(1, 0, 1, kMin, kMax)), static_cast<int64_t>(kMin) - kMax);
  EXPECT_EQ(SlotErrorNumber(Slot(1, 0, 1, kMin, kMax)), 1602);
  EXPECT_EQ(SlotErrorNumber(Slot(1, 0, 1, kMax, kMin)), 1605);
}

}  // namespace
