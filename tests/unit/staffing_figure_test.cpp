#include <gtest/gtest.h>

#include <climits>

#include "optimise/staffing_update.h"

namespace {

// Targets 3 / 2 / 4 (sol 4, min 3, max 5 after the shift by one), no marks,
// no proposals: every branch of the figure by the actual count alone.
TEST(StaffingFigure, ActualCountAgainstTargets) {
  const int32_t expected[] = {-166, -133, -25, 0, 90, 190, 190};
  for (int32_t ist = 0; ist < 7; ++ist) {
    EXPECT_EQ(BsmFktFigure(3, 2, 4, ist, 0, 0, 0, 0, 0), expected[ist]) << "BsmIst " << ist;
  }
}

TEST(StaffingFigure, OpenProposalsCountAsDone) {
  // Five present, two proposed to leave: effectively at target.
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 5, 0, 0, 0, 0, 2), 0);
  // Two present, one proposed to join: at target.
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 2, 0, 0, 0, 1, 0), 0);
  // Joining and leaving cancel out.
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 2, 0, 0, 0, 1, 1), -25);
  // Leaving below zero present goes deeper below the minimum.
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 0, 0, 0, 0, 0, 1), -200);
}

TEST(StaffingFigure, MarkedAssignmentsReduceTheEffectiveCount) {
  // All marks of the first kind are subtracted ...
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 4, 1, 0, 0, 0, 0), 0);
  // ... of the second and third kind only the smaller number.
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 4, 0, 2, 1, 0, 0), 0);
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 4, 0, 1, 2, 0, 0), 0);
  EXPECT_EQ(BsmFktFigure(3, 2, 4, 5, 1, 2, 1, 0, 0), 0);
}

TEST(StaffingFigure, ZeroTargets) {
  // sol = min = max = 1: nobody is at target, anybody is above the maximum.
  EXPECT_EQ(BsmFktFigure(0, 0, 0, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(BsmFktFigure(0, 0, 0, 1, 0, 0, 0, 0, 0), 190);
  EXPECT_EQ(BsmFktFigure(0, 0, 0, 0, 0, 0, 0, 0, 1), -200);
}

TEST(StaffingFigure, DivisionsTruncateTowardZero) {
  // sol 3, min 3: eff 1 gives (1 - 3) * 100 / 3 - 100 = -66 - 100.
  EXPECT_EQ(BsmFktFigure(2, 2, 5, 0, 0, 0, 0, 0, 0), -166);
  // min 2, sol 7: eff 4 gives (4 - 7) * 100 / 7 = -42.
  EXPECT_EQ(BsmFktFigure(6, 1, 8, 3, 0, 0, 0, 0, 0), -42);
}

TEST(StaffingFigure, HostileFiguresNeitherCrashNorOverflow) {
  // A minimum of -1 would divide by zero; negative targets count as 0.
  EXPECT_EQ(BsmFktFigure(-1, -1, -1, 0, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(BsmFktFigure(-5, -5, -5, 3, 0, 0, 0, 0, 0), 190);
  EXPECT_EQ(BsmFktFigure(INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(BsmFktFigure(0, 0, 0, INT_MAX, INT_MIN, 0, 0, INT_MAX, 0), 190);
  const int32_t deep = BsmFktFigure(0, 0, 0, INT_MIN, INT_MAX, INT_MAX, INT_MAX, 0, INT_MAX);
  EXPECT_EQ(deep, INT_MIN);
  EXPECT_LT(BsmFktFigure(100, INT_MAX, 100, 0, 0, 0, 0, 0, 0), -99);
}

TEST(StaffingFigure, RowFormUsesTheRowsFields) {
  BsmRow row;
  row.BsmSol = 3;
  row.BsmMin = 2;
  row.BsmMax = 4;
  row.BsmIst = 4;
  row.BsmHtg = 1;
  row.BsmOva = 1;
  row.BsmFkt = 77;
  Bsm_Fkt_Berechnen(row);
  EXPECT_EQ(row.BsmFkt, -25);
}

}  // namespace
