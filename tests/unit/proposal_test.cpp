#include "optimise/proposal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "optimise/sweep_levels.h"

namespace {

TEST(ProposalKey, DrawsAreWrittenInReverseOrder) {
  EXPECT_EQ(ProposalKey(7, 21, 305, 12), "OPTVS12305217");
  EXPECT_EQ(ProposalKey(0, 0, 0, 0), "OPTVS0000");
  EXPECT_EQ(ProposalKey(32767, 32767, 32767, 32767), "OPTVS32767327673276732767");
}

TEST(ProposalKey, DrawnKeysFollowTheSeedAndStayInRange) {
  std::srand(4711);
  const std::string first = DrawProposalKey();
  const std::string second = DrawProposalKey();
  std::srand(4711);
  EXPECT_EQ(DrawProposalKey(), first);
  EXPECT_NE(first, second);
  for (int seed = 0; seed < 200; ++seed) {
    std::srand(static_cast<unsigned>(seed));
    const std::string key = DrawProposalKey();
    ASSERT_EQ(key.rfind("OPTVS", 0), 0u) << key;
    EXPECT_GE(key.size(), 9u) << key;
    EXPECT_LE(key.size(), 25u) << key;  // fits the 35-character key column
    EXPECT_EQ(key.find_first_not_of("0123456789", 5), std::string::npos) << key;
  }
}

struct ProposalInputs {
  PnrSatz person;
  BssSatz target;
  BdpRow assignment;
  ProposalInputs() {
    person.pnr.set("00004711");
    person.date.set("20261208");
    person.day_type.set("W");
    person.plan_group.set("00001");
    person.error_number = 1531;
    person.window_begin = 480;  // not part of a proposal
    target.BssPlg.set("00001");
    target.BssEso.set("ESO02");
    target.BssEsa.set("ESA02");
    target.BssVon = 600;
    target.BssBis = 1080;
    target.BssBsz.set("S");
    target.BssAsw = 2;
    assignment.BdpPnr.set("00004711");
    assignment.BdpBdt.set("20261208");
    assignment.BdpEso.set("ESO01");
    assignment.BdpEsa.set("ESA01");
    assignment.BdpSzv = 360;
    assignment.BdpSzb = 840;
    assignment.BdpBsz.set("F");
    assignment.BdpAsw = 1;
    assignment.BdpJhr = 2026;  // carried values of the assignment stay out
    assignment.BdpTag = 8;
    assignment.BdpKst.set("K100");
    assignment.BdpRnd = 3;
    assignment.BdpTxt.set("text");
  }
};

TEST(ProposalRow, SourceFromTheAssignmentTargetFromTheDefinition) {
  ProposalInputs in;
  const BdkRow b = BuildProposal(in.person, in.target, in.assignment, "OPTVS1234");
  EXPECT_EQ(b.BdkKey, "OPTVS1234");
  EXPECT_EQ(b.BdkPnr, "00004711");
  EXPECT_EQ(b.BdkBdt, "20261208");
  EXPECT_EQ(b.BdkPlg, "00001");
  EXPECT_EQ(b.BdkTtp, "W");
  // where the person is now
  EXPECT_EQ(b.BdkEso, "ESO01");
  EXPECT_EQ(b.BdkEsa, "ESA01");
  EXPECT_EQ(b.BdkSzv, 360);
  EXPECT_EQ(b.BdkSzb, 840);
  EXPECT_EQ(b.BdkBsz, "F");
  EXPECT_EQ(b.BdkAsw, 1);
  // where the person is proposed to go
  EXPECT_EQ(b.BdkOso, "ESO02");
  EXPECT_EQ(b.BdkOsa, "ESA02");
  EXPECT_EQ(b.BdkOsv, 600);
  EXPECT_EQ(b.BdkOsb, 1080);
  EXPECT_EQ(b.BdkOsz, "S");
  EXPECT_EQ(b.BdkOsw, 2);
  // derived and constant values
  EXPECT_EQ(b.BdkAkt, b.BdkSzv);
  EXPECT_EQ(b.BdkZvo, "20261208");
  EXPECT_EQ(b.BdkZbi, "20261208");
  EXPECT_EQ(b.BdkFnr, 1531);
  EXPECT_EQ(b.BdkLfd, 1);
  EXPECT_EQ(b.BdkSts, "U");
  EXPECT_EQ(b.BdkSta, 9);
  EXPECT_EQ(b.BdkErf, "OPTIMIERUNG");
}

TEST(ProposalRow, EverythingElseIsZeroOrEmpty) {
  ProposalInputs in;
  const BdkRow b = BuildProposal(in.person, in.target, in.assignment, "OPTVS1");
  for (int32_t v :
       {b.BdkJhr, b.BdkMon, b.BdkWoc, b.BdkJwc, b.BdkTag, b.BdkZtv, b.BdkZtb, b.BdkAzt, b.BdkId1,
        b.BdkId2, b.BdkId3, b.BdkId4, b.BdkId5, b.BdkId6, b.BdkId7, b.BdkId8, b.BdkRnd}) {
    EXPECT_EQ(v, 0);
  }
  EXPECT_TRUE(b.BdkKst.empty());
  EXPECT_TRUE(b.BdkFc1.empty());
  EXPECT_TRUE(b.BdkFc2.empty());
  EXPECT_TRUE(b.BdkFc3.empty());
  EXPECT_TRUE(b.BdkTxt.empty());
  EXPECT_TRUE(b.BdkDat.empty());
}

TEST(ProposalRow, TargetWithoutDefinitionRowKeepsItsKeyOnly) {
  ProposalInputs in;
  BssSatz keyed_only;  // a target whose Kvt720Bss row was not found
  keyed_only.BssEso.set("ESO02");
  keyed_only.BssEsa.set("ESA02");
  keyed_only.BssVon = 600;
  keyed_only.BssAsw = 2;
  const BdkRow b = BuildProposal(in.person, keyed_only, in.assignment, "OPTVS1");
  EXPECT_EQ(b.BdkOsv, 600);
  EXPECT_EQ(b.BdkOsb, 0);
  EXPECT_TRUE(b.BdkOsz.empty());
  EXPECT_EQ(b.BdkOsw, 2);
}

TEST(SweepLevels, LevelCodeSelectsThePasses) {
  const SweepLevels esa = LevelsFor("ESA");
  EXPECT_TRUE(esa.deployment_type);
  EXPECT_FALSE(esa.location);
  EXPECT_FALSE(esa.plan_group);
  const SweepLevels eso = LevelsFor("ESO");
  EXPECT_TRUE(eso.deployment_type);
  EXPECT_TRUE(eso.location);
  EXPECT_FALSE(eso.plan_group);
  const SweepLevels plg = LevelsFor("PLG");
  EXPECT_TRUE(plg.deployment_type);
  EXPECT_TRUE(plg.location);
  EXPECT_TRUE(plg.plan_group);
  for (const char* other : {"", "plg", "PLGX", "XYZ"}) {
    const SweepLevels l = LevelsFor(other);
    EXPECT_TRUE(l.deployment_type) << other;
    EXPECT_FALSE(l.location) << other;
    EXPECT_FALSE(l.plan_group) << other;
  }
}

}  // namespace
