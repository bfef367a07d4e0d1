// The plan-group lock: every data source, schema and plan group gets a lock
// file of its own with a plain name, a taken lock keeps a second taker out
// until it is released, and a released lock leaves no file behind.
#include "app/plan_group_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <string>
#include <tuple>

namespace {

std::string FileName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

TEST(PlanGroupLock, NamesGiveDistinctPlainFiles) {
  const std::string long_dsn(300, 'd');
  const std::string other_long_dsn = std::string(299, 'd') + "e";
  std::set<std::string> names;
  for (const auto& [dsn, schema, plg] : std::set<std::tuple<std::string, std::string, std::string>>{
           {"roster", "dbo", "00001"},
           {"roster", "dbo", "00002"},
           {"roster", "dbo_", "00001"},
           {"roster.dbo", "", "00001"},
           {"a/b", "dbo", "00001"},
           {"a%2Fb", "dbo", "00001"},
           {"../x y", "dbo", "00001"},
           {long_dsn, "dbo", "00001"},
           {other_long_dsn, "dbo", "00001"}}) {
    const std::string name = FileName(PlanGroupLockPath(dsn, schema, plg));
    EXPECT_LE(name.size(), 255u) << dsn;
    EXPECT_EQ(name.find_first_of("/ "), std::string::npos) << name;
    EXPECT_TRUE(names.insert(name).second) << name;
  }
}

TEST(PlanGroupLock, HeldUntilReleased) {
  const std::string dsn = "locktest" + std::to_string(getpid());
  PlanGroupLock first;
  PlanGroupLock second;
  ASSERT_EQ(LockPlanGroup(dsn, "plexor", "00001", first), LockResult::kTaken);
  EXPECT_EQ(LockPlanGroup(dsn, "plexor", "00001", second), LockResult::kHeld);
  EXPECT_EQ(LockPlanGroup(dsn, "plexor", "00002", second), LockResult::kTaken);
  UnlockPlanGroup(second);
  UnlockPlanGroup(first);
  EXPECT_NE(access(PlanGroupLockPath(dsn, "plexor", "00001").c_str(), F_OK), 0);
  ASSERT_EQ(LockPlanGroup(dsn, "plexor", "00001", first), LockResult::kTaken);
  UnlockPlanGroup(first);
}

}  // namespace
