// The error record's bookkeeping. Without a connection every insert fails,
// which is exactly the case where the running number must still advance.
#include <gtest/gtest.h>

#include "errlog/error_log.h"

namespace {

RunContext Context() {
  RunContext ctx;
  ctx.user.set("planner");
  ctx.job_text1.set("JOB-A");
  ctx.job_text2.set("second job text");
  return ctx;
}

BsmRow Slot() {
  BsmRow r;
  r.BsmBdt.set("20261208");
  r.BsmEso.set("ESO01");
  r.BsmEsa.set("ESA02");
  r.BsmBsz.set("FR");
  r.BsmSzv = 360;
  r.BsmSzb = 840;
  return r;
}

TEST(ErrorRecord, WriteCountsUpEvenWhenTheInsertFailsAndClearsPerErrorFields) {
  ErrSatz err;
  Fill_ErrSatz("00001", err, Context());
  Err_Write(Slot(), 1603, err);
  Err_Write(Slot(), 1605, err);
  EXPECT_EQ(err.ErrLfn, 2);
  EXPECT_TRUE(err.ErrEso.empty());
  EXPECT_TRUE(err.ErrEsa.empty());
  EXPECT_TRUE(err.ErrKnz.empty());
  EXPECT_TRUE(err.ErrBdt.empty());
  EXPECT_EQ(err.ErrZtv, 0);
  EXPECT_EQ(err.ErrZtb, 0);
  EXPECT_EQ(err.ErrFnr, 0);
  // The fields of the whole pass stay.
  EXPECT_EQ(err.ErrPlg, "00001");
  EXPECT_EQ(err.ErrErf, "planner");
}

}  // namespace
