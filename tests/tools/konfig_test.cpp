// plexorctl konfig write and show, and the job's own reader on the file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/config_writer.h"
#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace fs = std::filesystem;

namespace {

int Ctl(const std::vector<std::string>& args, std::string* out) {
  std::vector<std::string> argv = {PLEXORCTL_BIN};
  argv.insert(argv.end(), args.begin(), args.end());
  return ts::RunProcess(argv, "/tmp", out, 60);
}

class KonfigTest : public ::testing::Test {
 protected:
  std::string Lookup(const char* key) {
    Konfig_Lesen("", key, 0, path_.c_str());
    return Konfig_Puffer().value.c_str();
  }
  ts::ScratchDir scratch_{"plexorctl-konfig"};
  const std::string dir_ = scratch_.path();
  const std::string path_ = dir_ + "/plexor.cfg";
};

TEST_F(KonfigTest, WrittenValuesAreReadBackByTheJobAndShown) {
  std::string out;
  ASSERT_EQ(Ctl({"konfig", "write", path_, "--dsn", "roster dsn", "--schema", "plexor", "--login",
                 "planer", "--pass", "s3cr;et pass"},
                &out),
            0)
      << out;
  // Nothing in the file is readable as plain text.
  const std::string file = ts::ReadFile(path_);
  EXPECT_EQ(file.find("planer"), std::string::npos);
  EXPECT_EQ(file.find("s3cr"), std::string::npos);
  // The job's lookups by key; the schema keeps the extra character it drops.
  EXPECT_EQ(Lookup("DATABASE"), "roster dsn");
  EXPECT_EQ(Lookup("SCHEMA"), "plexor.");
  EXPECT_EQ(Lookup("LOGIN"), "planer");
  EXPECT_EQ(Lookup("PASS"), "s3cr;et pass");

  ASSERT_EQ(Ctl({"konfig", "show", path_}, &out), 0) << out;
  EXPECT_EQ(out, "DATABASE: roster dsn\nSCHEMA:   plexor\nLOGIN:    planer\nPASS:     ********\n");
  ASSERT_EQ(Ctl({"konfig", "show", path_, "--reveal"}, &out), 0) << out;
  EXPECT_NE(out.find("PASS:     s3cr;et pass\n"), std::string::npos) << out;
}

TEST_F(KonfigTest, UnusableValuesWriteNoFile) {
  std::string out;
  // A schema name that could not qualify a table in a statement.
  EXPECT_EQ(Ctl({"konfig", "write", path_, "--dsn", "d", "--schema", "pl exor", "--login", "u",
                 "--pass", "p"},
                &out),
            2);
  // A value longer than the job's buffers hold.
  EXPECT_EQ(Ctl({"konfig", "write", path_, "--dsn", std::string(200, 'x'), "--schema", "plexor",
                 "--login", "u", "--pass", "p"},
                &out),
            1);
  EXPECT_EQ(Ctl({"konfig", "write", path_, "--dsn", "d", "--schema", "plexor"}, &out), 2);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_EQ(Ctl({"konfig", "show", path_}, &out), 1);
}

TEST_F(KonfigTest, ShowGivesTheSchemaAsTheJobTakesIt) {
  std::string out;
  // Written around konfig write's own check: a name the job refuses.
  ASSERT_TRUE(Konfig_Schreiben(path_, "d", "pl-x", "u", "p"));
  ASSERT_EQ(Ctl({"konfig", "show", path_}, &out), 0) << out;
  EXPECT_NE(out.find("SCHEMA:   (refused by the job"), std::string::npos) << out;
}

TEST(PlexorctlCli, EverySubcommandHasHelpAndUnknownOnesFail) {
  std::string out;
  for (std::vector<std::string> cmd : {std::vector<std::string>{"db", "init"},
                                       {"konfig", "write"},
                                       {"konfig", "show"},
                                       {"demo"},
                                       {"report"}}) {
    cmd.push_back("--help");
    EXPECT_EQ(Ctl(cmd, &out), 0) << cmd[0];
    EXPECT_NE(out.find("Usage: plexorctl " + cmd[0]), std::string::npos) << out;
  }
  EXPECT_EQ(Ctl({"--help"}, &out), 0);
  EXPECT_EQ(Ctl({"frobnicate"}, &out), 2);
  EXPECT_EQ(Ctl({"demo", "/tmp/x", "--bogus"}, &out), 2);
  EXPECT_EQ(Ctl({"demo", "/tmp/x", "--days", "0"}, &out), 2);
}

TEST(PlexorctlDbInit, CreatesBothSchemaFilesAndTheOlderLayout) {
  const ts::ScratchDir scratch("plexorctl-dbinit");
  const std::string& dir = scratch.path();
  std::string out;
  fs::create_directories(dir + "/full");
  fs::create_directories(dir + "/old");
  ASSERT_EQ(Ctl({"db", "init", "--database", dir + "/full", "--schema", "plexor"}, &out), 0) << out;
  EXPECT_TRUE(fs::exists(dir + "/full/plexor.sqlite"));
  EXPECT_TRUE(fs::exists(dir + "/full/KvtSystem.sqlite"));
  ASSERT_EQ(
      Ctl({"db", "init", "--database", dir + "/old", "--schema", "plexor", "--without-optional"},
          &out),
      0)
      << out;
  // A second init on the same database fails on the existing schema.
  EXPECT_EQ(Ctl({"db", "init", "--database", dir + "/full", "--schema", "plexor"}, &out), 1);
  EXPECT_EQ(Ctl({"db", "init", "--database", dir + "/nowhere", "--schema", "plexor"}, &out), 1);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
