// The run log: its place relative to the working directory, line format,
// rotation above 5,000,000 bytes and silent failure.
#include "log/run_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace fs = std::filesystem;

namespace {

// "yyyy-mm-dd hh:mm:ss"
bool IsTimeStamp(const std::string& t) {
  const std::string shape = "dddd-dd-dd dd:dd:dd";
  if (t.size() != shape.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    bool digit = t[i] >= '0' && t[i] <= '9';
    if (shape[i] == 'd' ? !digit : t[i] != shape[i]) return false;
  }
  return true;
}

// Runs every test in <tmp>/work with <tmp>/corvina_php/log next to it.
class RunLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.path().empty());
    log_dir_ = root_ / "corvina_php" / "log";
    fs::create_directories(log_dir_);
    fs::create_directories(root_ / "work");
    old_cwd_ = fs::current_path();
    fs::current_path(root_ / "work");
    runlog::SetPaths("dbo");
  }
  void TearDown() override {
    if (!old_cwd_.empty()) fs::current_path(old_cwd_);
  }

  const ts::ScratchDir scratch_{"plexor_runlog"};
  const fs::path root_ = scratch_.path();
  fs::path log_dir_;
  fs::path old_cwd_;
};

TEST_F(RunLogTest, PathsAreNamedAfterTheSchema) {
  EXPECT_STREQ(runlog::LogPath(), "../corvina_php/log/plexor_dbo.log");
  EXPECT_STREQ(runlog::BackupPath(), "../corvina_php/log/plexor_dbo.bak");
  runlog::SetPaths("");
  EXPECT_STREQ(runlog::LogPath(), "../corvina_php/log/plexor_.log");
  EXPECT_STREQ(runlog::BackupPath(), "../corvina_php/log/plexor_.bak");
  runlog::Log_Write("empty schema");
  EXPECT_TRUE(fs::exists(log_dir_ / "plexor_.log"));
}

TEST_F(RunLogTest, LineIsTimeStampTwoBlanksMessage) {
  runlog::Log_Write("*** Programmstart Plexor ***");
  runlog::Log_Printf("-Fehler: X RC: %ld", static_cast<long>(-1));
  std::string text = ts::ReadFile(log_dir_ / "plexor_dbo.log");
  std::string first = "  *** Programmstart Plexor ***\n";
  std::string second = "  -Fehler: X RC: -1\n";
  ASSERT_EQ(text.size(), 19 + first.size() + 19 + second.size()) << text;
  EXPECT_TRUE(IsTimeStamp(text.substr(0, 19))) << text;
  EXPECT_EQ(text.substr(19, first.size()), first);
  EXPECT_TRUE(IsTimeStamp(text.substr(19 + first.size(), 19))) << text;
  EXPECT_EQ(text.substr(19 + first.size() + 19), second);
}

TEST_F(RunLogTest, PercentSignsAreWrittenUnchanged) {
  runlog::Log_Write("100% %s %ld %n");
  std::string text = ts::ReadFile(log_dir_ / "plexor_dbo.log");
  EXPECT_EQ(text.substr(19), "  100% %s %ld %n\n");
}

TEST_F(RunLogTest, LongMessagesAreCutAtTheMessageBuffer) {
  std::string big(5000, 'x');
  runlog::Log_Printf("%s", big.c_str());
  std::string text = ts::ReadFile(log_dir_ / "plexor_dbo.log");
  EXPECT_EQ(text.size(), 19u + 2u + 1023u + 1u);
}

TEST_F(RunLogTest, ExactlyTheLimitIsAppendedToOneByteMoreRotates) {
  fs::path log = log_dir_ / "plexor_dbo.log";
  fs::path bak = log_dir_ / "plexor_dbo.bak";
  {
    std::ofstream out(log, std::ios::binary);
    out << std::string(5000000, 'a');
    std::ofstream old(bak, std::ios::binary);
    old << "old backup\n";
  }
  runlog::Log_Write("first");
  EXPECT_GT(fs::file_size(log), 5000000u);
  EXPECT_EQ(ts::ReadFile(bak), "old backup\n");

  runlog::Log_Write("second");  // the log is now larger than the limit
  std::string backup = ts::ReadFile(bak);
  EXPECT_EQ(backup.size(), 5000000u + 19 + 2 + 5 + 1);
  EXPECT_EQ(backup.substr(backup.size() - 7), " first\n");
  std::string fresh = ts::ReadFile(log);
  EXPECT_EQ(fresh.size(), 19u + 2 + 6 + 1);
  EXPECT_EQ(fresh.substr(19), "  second\n");
}

TEST_F(RunLogTest, OneByteOverTheLimitRotatesWithoutAnEarlierBackup) {
  fs::path log = log_dir_ / "plexor_dbo.log";
  {
    std::ofstream out(log, std::ios::binary);
    out << std::string(5000001, 'a');
  }
  runlog::Log_Write("after rotation");
  EXPECT_EQ(fs::file_size(log_dir_ / "plexor_dbo.bak"), 5000001u);
  EXPECT_EQ(ts::ReadFile(log).substr(19), "  after rotation\n");
}

TEST_F(RunLogTest, MissingDirectoryDropsTheLineSilently) {
  fs::remove_all(root_ / "corvina_php");
  runlog::Log_Write("lost");
  runlog::Log_Printf("lost %d", 2);
  EXPECT_FALSE(fs::exists(root_ / "corvina_php"));
}

}  // namespace
