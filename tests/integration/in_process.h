// A fixture that connects this test process as the job would and sends the
// job's run log into the test database's log directory, for tests that call
// the job's routines directly.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log/run_log.h"
#include "support/roster_builder.h"
#include "support/test_db.h"

namespace mv {

class InProcess : public ::testing::Test {
 protected:
  explicit InProcess(bool optional_columns = true) : db_(optional_columns) {}
  void SetUp() override {
    ASSERT_TRUE(ts::ConnectJob(db_));
    cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(db_.dir() + "/run/work");
    runlog::SetPaths("plexor");
  }
  void TearDown() override {
    if (!cwd_.empty()) std::filesystem::current_path(cwd_);
    runlog::SetPaths("");
  }
  std::vector<std::string> Log() const { return ts::LogMessages(db_.LogText()); }

  ts::TestDb db_;
  std::filesystem::path cwd_;
};

}  // namespace mv
