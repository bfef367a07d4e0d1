// The command line into the run context, and the check of the period.
#include "app/parameters.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "app/period_check.h"

namespace {

RunContext Parse(std::vector<std::string> args) {
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  RunContext ctx;
  Parameter_Lesen(static_cast<int>(args.size()), argv.data(), ctx);
  return ctx;
}

std::vector<std::string> FullLine() {
  return {"plexor", "cfg",  "user",  "20250101", "20250131", "ESA",
          "job1",   "job2", "00001", "ESO01",    "ESA01",    "PLAN_OPTIM"};
}

std::string WithPlanGroup(const std::string& arg) {
  std::vector<std::string> args = FullLine();
  args[8] = arg;
  return std::string(Parse(args).plan_group.view());
}

TEST(ParameterLesenTest, AllFieldsAreTaken) {
  RunContext ctx = Parse(FullLine());
  EXPECT_EQ(ctx.user, "user");
  EXPECT_EQ(ctx.period_begin, "20250101");
  EXPECT_EQ(ctx.period_end, "20250131");
  EXPECT_EQ(ctx.level_code, "ESA");
  EXPECT_EQ(ctx.job_text1, "job1");
  EXPECT_EQ(ctx.job_text2, "job2");
  EXPECT_EQ(ctx.plan_group, "00001");
  EXPECT_EQ(ctx.location, "ESO01");
  EXPECT_EQ(ctx.deployment_type, "ESA01");
  EXPECT_TRUE(ctx.effective_begin.empty());
  EXPECT_TRUE(ctx.effective_end.empty());
}

TEST(ParameterLesenTest, ZeroCodeRuleComparesFiveCharacters) {
  EXPECT_EQ(WithPlanGroup("00000"), "");
  EXPECT_EQ(WithPlanGroup("00000XYZ"), "");
  EXPECT_EQ(WithPlanGroup("     "), "");
  EXPECT_EQ(WithPlanGroup("0000"), "0000");
  EXPECT_EQ(WithPlanGroup("0000 "), "0000");
  EXPECT_EQ(WithPlanGroup("AB CD"), "AB");
  EXPECT_EQ(WithPlanGroup("ABCDEFG"), "ABCDE");
  EXPECT_EQ(WithPlanGroup(""), "");
}

TEST(ParameterLesenTest, LocationAndTypeFollowTheSameRule) {
  std::vector<std::string> args = FullLine();
  args[8] = "00000";
  args[9] = "00000abc";
  args[10] = "T1 x";
  RunContext ctx = Parse(args);
  EXPECT_TRUE(ctx.plan_group.empty());
  EXPECT_TRUE(ctx.location.empty());
  EXPECT_EQ(ctx.deployment_type, "T1");
  args[9] = "L1";
  args[10] = "0000000";
  ctx = Parse(args);
  EXPECT_EQ(ctx.location, "L1");  // kept although the plan group means all of them
  EXPECT_TRUE(ctx.deployment_type.empty());
}

TEST(ParameterLesenTest, LongArgumentsAreCutToTheirWidths) {
  std::vector<std::string> args = FullLine();
  args[2] = std::string(80, 'u');
  args[3] = "2025010199";
  args[4] = "20250131 x";
  args[5] = "ESAX";
  args[6] = std::string(20, 'j');
  args[7] = std::string(1 << 20, 'k');  // a huge argument
  RunContext ctx = Parse(args);
  EXPECT_EQ(ctx.user, std::string(50, 'u'));
  EXPECT_EQ(ctx.period_begin, "20250101");
  EXPECT_EQ(ctx.period_end, "20250131");
  EXPECT_EQ(ctx.level_code, "ESA");
  EXPECT_EQ(ctx.job_text1, std::string(14, 'j'));
  EXPECT_EQ(ctx.job_text2, std::string(32, 'k'));
}

TEST(ParameterLesenTest, UserIsCutAtTheFirstBlankButOtherTextsAreNot) {
  std::vector<std::string> args = FullLine();
  args[2] = "jane doe";
  args[3] = "2025 101";
  args[6] = "job text";
  RunContext ctx = Parse(args);
  EXPECT_EQ(ctx.user, "jane");
  EXPECT_EQ(ctx.period_begin, "2025 101");
  EXPECT_EQ(ctx.job_text1, "job text");
  args[2] = " lead";
  EXPECT_EQ(Parse(args).user, "");
}

TEST(ParameterLesenTest, OnlyPositionsTheCountIncludesAreTaken) {
  RunContext ctx = Parse({"plexor", "cfg", "user", "20250101"});
  EXPECT_EQ(ctx.user, "user");
  EXPECT_EQ(ctx.period_begin, "20250101");
  EXPECT_TRUE(ctx.period_end.empty());
  EXPECT_TRUE(ctx.plan_group.empty());
  std::vector<const char*> argv = {"plexor", "cfg", "user", "20250101", "x", nullptr};
  Parameter_Lesen(3, argv.data(), ctx);
  EXPECT_TRUE(ctx.period_begin.empty());
}

TEST(ParameterLesenTest, ClearsThePreviousContextAndToleratesNullEntries) {
  RunContext ctx;
  ctx.effective_begin.set("20240101");
  ctx.level_code.set("PLG");
  std::vector<const char*> argv(12, nullptr);
  argv[0] = "plexor";
  Parameter_Lesen(11, argv.data(), ctx);
  EXPECT_TRUE(ctx.effective_begin.empty());
  EXPECT_TRUE(ctx.level_code.empty());
  EXPECT_TRUE(ctx.user.empty());
  Parameter_Lesen(12, nullptr, ctx);
  EXPECT_TRUE(ctx.user.empty());
}

TEST(ParameterLesenTest, RunStartTimeIsTheLocalTimeOfParsing) {
  std::time_t before = std::time(nullptr);
  RunContext ctx = Parse(FullLine());
  std::time_t after = std::time(nullptr);
  ASSERT_EQ(ctx.start_time.length(), 14u);
  auto stamp = [](std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    return std::string(buf);
  };
  EXPECT_GE(ctx.start_time.view(), stamp(before));
  EXPECT_LE(ctx.start_time.view(), stamp(after));
}

class PeriodTest : public ::testing::Test {
 protected:
  int32_t Check(const char* begin, const char* end) {
    RunContext ctx;
    ctx.start_time.set("20250615103000");  // today is 20250615
    ctx.period_begin.set(begin);
    ctx.period_end.set(end);
    return Planzeitraum_OK(ctx);
  }
};

TEST_F(PeriodTest, BeginMayNotLieInThePast) {
  EXPECT_EQ(Check("20250615", "20250620"), 1);  // today
  EXPECT_EQ(Check("20250614", "20250620"), 0);  // yesterday
  EXPECT_EQ(Check("20250616", "20250620"), 1);
}

TEST_F(PeriodTest, EndMayNotLieInThePastOrBeforeTheBegin) {
  EXPECT_EQ(Check("20250615", "20250615"), 1);
  EXPECT_EQ(Check("20250620", "20250614"), 0);
  EXPECT_EQ(Check("20250620", "20250617"), 0);
  EXPECT_EQ(Check("00000000", "20250614"), 0);
}

TEST_F(PeriodTest, ZerosAreAcceptedInEitherPlace) {
  EXPECT_EQ(Check("00000000", "00000000"), 1);
  EXPECT_EQ(Check("20250701", "00000000"), 1);
  EXPECT_EQ(Check("00000000", "20250701"), 1);
  EXPECT_EQ(Check("0000000", "00000000"), 0);  // seven zeros are a date in the past
}

TEST_F(PeriodTest, TextsAreComparedNotParsed) {
  EXPECT_EQ(Check("2099", "00000000"), 1);
  EXPECT_EQ(Check("2099", "2099"), 1);
  EXPECT_EQ(Check("20991", "2099"), 0);  // end sorts before the begin
  EXPECT_EQ(Check("", "00000000"), 0);
  EXPECT_EQ(Check("99999999", "ZZZZZZZZ"), 1);
}

}  // namespace
