// Eligibility: overlapping assignments, the switches and the precedence of
// the verdicts, and the typical request from end to end.
#include <gtest/gtest.h>

#include <string>

#include "eligibility_fixture.h"

namespace {

using elig::Assignment;
using elig::Eligibility;
using elig::InsertAssignment;
using elig::kPnr;

// --- Overlap -------------------------------------------------------------------

class Overlap : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    Build();
    Switches(0, 0, 0, 1);
  }
};

TEST_F(Overlap, AssignmentOverlappingTheTargetGives1541) {
  Neighbour(0, 600, 720);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Overlap, NightAssignmentOfTheDayBeforeReachingIntoTheTarget) {
  Neighbour(-1, 1320, 540);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Overlap, AssignmentEndingAtTheTargetStartDoesNotOverlap) {
  Neighbour(0, 360, 480);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, RowsWithFunctionCodesStatusesOrInactiveAreIgnored) {
  for (const char* fc : {"F1 ", "F2 ", "F3 "}) {
    Assignment coded;
    if (fc[1] == '1') coded.fc1 = fc;
    if (fc[1] == '2') coded.fc2 = fc;
    if (fc[1] == '3') coded.fc3 = fc;
    Neighbour(0, 600, 720, coded);
  }
  for (const char* sts : {"D", "O"}) {
    Assignment with_status;
    with_status.sts = sts;
    Neighbour(0, 600, 720, with_status);
  }
  Assignment inactive;
  inactive.akt = 9999;
  Neighbour(0, 600, 720, inactive);
  Neighbour(2, 0, 1439);  // two days later
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, OtherSlotOfAKindThreeAssignmentIsWhatCounts) {
  Assignment moved_away;
  moved_away.asw = 3;
  moved_away.awp = 3;
  moved_away.osv = 1000;
  moved_away.osb = 1100;
  Neighbour(0, 600, 720, moved_away);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Overlap, KindThreeSlotAloneIsNotEnoughToMoveTheWindow) {
  Assignment kind_three_only;
  kind_three_only.asw = 3;
  kind_three_only.awp = 0;
  kind_three_only.osv = 1000;
  kind_three_only.osb = 1100;
  Neighbour(0, 600, 720, kind_three_only);
  EXPECT_EQ(ProposedFnr(), 1541);
}

// --- Switches and precedence ---------------------------------------------------

class Precedence : public Eligibility {
 protected:
  // Every switched test fails: no qualification, 9 h and more of work, a
  // short rest before the target and an overlapping assignment.
  void SetUp() override {
    Eligibility::SetUp();
    person_.azk = 1;
    person_.rzk = 11;
    Build();
    AddQualification("ESA01", "Q1");
    PreviousRow();
    Neighbour(0, 600, 720);
  }
  void PreviousRow() { Neighbour(0, 0, 80); }  // ends 400 minutes before 08:00
};

TEST_F(Precedence, OverlapStandsOverEverything) {
  Switches(1, 1, 1, 1);
  EXPECT_EQ(ProposedFnr(), 1541);
}

TEST_F(Precedence, RestStandsOverWorkingTimeAndQualification) {
  Switches(1, 1, 1, 0);
  EXPECT_EQ(ProposedFnr(), 1531);
}

TEST_F(Precedence, WorkingTimeStandsOverQualification) {
  Switches(1, 1, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1521);
}

TEST_F(Precedence, QualificationAlone) {
  Switches(1, 0, 0, 0);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Precedence, OnlyTheValueOneSwitchesATestOn) {
  Switches(2, 2, -1, 2);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Precedence, OnlySwitchSetTwoCounts) {
  Switches(1, 1, 1, 1, 1);
  Switches(1, 1, 1, 1, 3);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Precedence, PassingTestsKeepTheWindowVerdict) {
  db_.Exec("DELETE FROM plexor.Kvt730Bdp WHERE BdpEso = 'ESO02'");
  db_.Exec("DELETE FROM plexor.Kvt717Qea");
  db_.Exec("UPDATE plexor.Kvt712Pgz SET PgzAzk = 24, PgzRzk = 0");
  db_.Exec("UPDATE plexor.Kvt720Bss SET BssBis = 1080");  // target 08:00-18:00
  Switches(1, 1, 1, 1);
  EXPECT_EQ(ProposedFnr(), 1501);
}

// --- The typical request -------------------------------------------------------

TEST_F(Eligibility, TypicalRequestProposesTheFirstPersonWithARestConflict) {
  // Location level: no surplus of the short slot's type, a surplus slot of
  // another type at the same location with three movable persons.
  opl_ = 2;
  source_.esa = "ESA02";
  source_.von = 480;
  source_.bis = 960;
  person_.rzk = 11;
  Build();
  Switches(0, 0, 1, 0);
  ts::InsertLimits(db_, {.esa = "ESA02", .azk = 10, .rzk = 11});
  Neighbour(-1, 1320, 80);  // ends 01:20, 400 minutes before 08:00
  for (int rnd = 2; rnd <= 3; ++rnd) {
    const std::string pnr = "P000000" + std::to_string(rnd);
    InsertPerson(pnr, person_, "ESO01", "ESA02");
    Assignment other;
    other.pnr = pnr;
    other.date = day_;
    other.eso = "ESO01";
    other.esa = "ESA02";
    other.bsz = "S";
    other.szv = 480;
    other.szb = 960;
    other.rnd = rnd;
    InsertAssignment(db_, other);
  }
  EXPECT_EQ(ProposedFnr(), 1531);
  const auto rows =
      db_.Query(std::string("SELECT BdkSta, BdkKey, BdkEso, BdkEsa, BdkSzv, BdkOso, BdkOsa, "
                            "BdkOsv, BdkOsb, BdkErf FROM plexor.Kvt735Bdk WHERE BdkPnr = '") +
                kPnr + "'");
  ASSERT_EQ(rows.size(), 1u);
  const ts::Row& r = rows[0];
  EXPECT_EQ(r[0], "9");
  ASSERT_TRUE(r[1].has_value());
  EXPECT_EQ(r[1]->rfind("OPTVS", 0), 0u) << *r[1];
  EXPECT_EQ(r[2], "ESO01");
  EXPECT_EQ(r[3], "ESA02");
  EXPECT_EQ(r[4], "480");
  EXPECT_EQ(r[5], "ESO01");
  EXPECT_EQ(r[6], "ESA01");
  EXPECT_EQ(r[7], "480");
  EXPECT_EQ(r[8], "960");
  EXPECT_EQ(r[9], "OPTIMIERUNG");
}

}  // namespace
