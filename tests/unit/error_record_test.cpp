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

TEST(ErrorRecord, FillStartsAPlanGroupFromScratch) {
  ErrSatz err;
  err.ErrLfn = 77;
  err.ErrEso.set("OLD");
  err.ErrZtv = 5;
  Fill_ErrSatz("00002", err, Context());
  EXPECT_EQ(err.ErrPlg, "00002");
  EXPECT_EQ(err.ErrKng, "PLANO");
  EXPECT_EQ(err.ErrLfn, 0);
  EXPECT_EQ(err.ErrFnr, 0);
  EXPECT_TRUE(err.ErrEso.empty());
  EXPECT_EQ(err.ErrZtv, 0);
  EXPECT_EQ(err.ErrErf, "planner");
  EXPECT_EQ(err.ErrJbd, "JOB-A");
  EXPECT_EQ(err.ErrJbk, "second job text");
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

TEST(ErrorRecord, RunningNumberWrapsAfter9999) {
  ErrSatz err;
  Fill_ErrSatz("00001", err, Context());
  err.ErrLfn = 9998;
  Err_Write(Slot(), 1601, err);
  EXPECT_EQ(err.ErrLfn, 0);  // 9999 was used; the next error gets 1
  Err_Write(Slot(), 1601, err);
  EXPECT_EQ(err.ErrLfn, 1);
}

}  // namespace
