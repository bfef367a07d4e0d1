// Eligibility: the working window (with substitute working-time models) and
// the qualifications a target slot asks for.
#include <gtest/gtest.h>

#include <string>

#include "eligibility_fixture.h"

namespace {

using elig::DayModel;
using elig::Eligibility;

// --- Time window -----------------------------------------------------------

TEST_F(Eligibility, TargetInsideTheWorkingWindowRaisesNoObjection) {
  target_.von = 480;
  target_.bis = 720;
  Build();
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Eligibility, TargetReachingBeyondAMatchingWindowGives1501) {
  target_.von = 360;
  target_.bis = 1080;
  Build();
  EXPECT_EQ(ProposedFnr(), 1501);
}

TEST_F(Eligibility, TargetMostlyOutsideTheWindowGives1412) {
  target_.von = 900;
  target_.bis = 1140;
  Build();
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(Eligibility, PersonWithoutADayPlanFitsADayTarget) {
  person_.day_plan = false;
  Build();
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Substitute working-time models ----------------------------------------

class SubstituteModels : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    person_.awp = 1;
    target_.von = 1320;  // 22:00-06:00 against the day window 08:00-16:00
    target_.bis = 360;
  }
  ts::ModelValues Substitute(int num, int kev, int keb) {
    ts::ModelValues m = DayModel();
    m.num = num;
    m.kev = kev;
    m.keb = keb;
    m.gvo = Day(-30);
    return m;
  }
};

TEST_F(SubstituteModels, MatchingSubstituteLiftsTheObjection) {
  Build();
  AddSubstitute(Substitute(20, 600, 900));
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(SubstituteModels, SubstituteReachedBeyondGives1501) {
  Build();
  AddSubstitute(Substitute(20, 600, 900));
  AddSubstitute(Substitute(30, 1380, 300));
  EXPECT_EQ(ProposedFnr(), 1501);
}

TEST_F(SubstituteModels, OnlyStrictRulePersonsTrySubstitutes) {
  person_.awp = 2;
  Build();
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(SubstituteModels, ModelsWithoutTargetTimeOrOutOfValidityDoNotCount) {
  Build();
  ts::ModelValues no_target_time = Substitute(30, 1320, 360);
  no_target_time.sol = 0;
  AddSubstitute(no_target_time);
  ts::ModelValues expired = Substitute(40, 1320, 360);
  expired.gbi = Day(-1);
  AddSubstitute(expired);
  ts::ModelValues not_yet = Substitute(50, 1320, 360);
  not_yet.gvo = Day(1);
  AddSubstitute(not_yet);
  EXPECT_EQ(ProposedFnr(), 1412);
}

TEST_F(SubstituteModels, MatchingSubstituteWindowIsTheOneTheLaterTestsUse) {
  // With the substitute's night window the quick figure is the target's 480
  // minutes, within 8 hours; with the day window it would be far above and
  // the full computation (window plus the 20:00 assignment) would be 540.
  person_.azk = 8;
  Build();
  Switches(0, 1, 0, 0);
  AddSubstitute(Substitute(30, 1320, 360));
  EXPECT_EQ(ProposedFnr(), 0);
}

// --- Qualifications ----------------------------------------------------------

class Qualifications : public Eligibility {
 protected:
  void SetUp() override {
    Eligibility::SetUp();
    Build();
    Switches(1, 0, 0, 0);
    AddQualification("ESA01", "Q1");
    AddQualification("ESA01", "Q2");
    AddQualification("ESA09", "Q9");
  }
};

TEST_F(Qualifications, NoneOfTheListedHeldGives1511) {
  HoldQualification("Q9", Day(-10), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Qualifications, OneOfTheListedIsEnough) {
  HoldQualification("Q2", Day(-10), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Qualifications, ValidityEndingOnTheDayStillCounts) {
  HoldQualification("Q1", day_, day_);
  EXPECT_EQ(ProposedFnr(), 0);
}

TEST_F(Qualifications, ExpiredOrFutureQualificationsDoNotCount) {
  HoldQualification("Q1", Day(-10), Day(-1));
  HoldQualification("Q2", Day(1), std::nullopt);
  EXPECT_EQ(ProposedFnr(), 1511);
}

TEST_F(Eligibility, DeploymentTypeWithoutListedQualificationsNeedsNone) {
  Build();
  Switches(1, 0, 0, 0);
  AddQualification("ESA09", "Q9");
  EXPECT_EQ(ProposedFnr(), 0);
}

}  // namespace
