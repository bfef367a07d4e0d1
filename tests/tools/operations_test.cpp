// plexorctl for an operations team: the pre-flight check and the last-run
// report on set-ups and logs made by running the job, the configuration
// file's mode, and refusals that name the argument at fault.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "config/config_writer.h"
#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace {

constexpr auto npos = std::string::npos;

// plexorctl with standard error merged into `out`.
int Ctl(const std::vector<std::string>& args, std::string* out, const std::string& cwd = "/tmp") {
  std::vector<std::string> argv = {"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>&1", PLEXORCTL_BIN};
  argv.insert(argv.end(), args.begin(), args.end());
  return ts::RunProcess(argv, cwd, out, 120);
}

mode_t Mode(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(PlexorctlCheck, PassesOnAWorkingSetUpAndNamesEachFault) {
  ts::TestDb db;
  const std::string work = db.dir() + "/run/work";
  const std::string dir = db.dir();
  ASSERT_TRUE(Konfig_Schreiben(dir + "/wrong-pass.cfg", db.dsn(), "plexor", "plexor", "wrong"));
  ASSERT_TRUE(Konfig_Schreiben(dir + "/no-dsn.cfg", "nosuchdsn", "plexor", "plexor", "secret"));
  ASSERT_TRUE(Konfig_Schreiben(dir + "/bad-schema.cfg", db.dsn(), "x-y", "plexor", "secret"));
  chmod(db.config_path().c_str(), 0644);
  struct Case {
    std::string config, workdir;
    int status;
    std::string line;
  } cases[] = {
      {db.config_path(), work, 0,
       "ok       run log " + dir + "/run/corvina_php/log/plexor_plexor.log"},
      {db.config_path(), work, 0, "WARNING  " + db.config_path() + " can be read by other users"},
      {db.config_path(), "/", 1, "FAILED   run log folder /corvina_php/log does not exist"},
      {dir + "/wrong-pass.cfg", work, 1, "FAILED   connect as plexor: [28000]"},
      {dir + "/no-dsn.cfg", work, 1, "FAILED   data source 'nosuchdsn' is unknown"},
      {dir + "/bad-schema.cfg", work, 1, "FAILED   schema 'x-y'"},
      {dir + "/missing.cfg", work, 1, "FAILED   configuration file: no such file"},
  };
  std::string out;
  for (const Case& c : cases) {
    EXPECT_EQ(Ctl({"check", "--config", c.config, "--workdir", c.workdir, "--lang", "en"}, &out),
              c.status)
        << out;
    EXPECT_NE(out.find(c.line), npos) << c.line << "\n" << out;
    EXPECT_EQ(out.find("secret"), npos) << out;
  }
  // A table the job needs is gone; the default working directory is the
  // current one, the default language German.
  db.Exec("DROP TABLE plexor.Kvt746Err");
  EXPECT_EQ(Ctl({"check", "--config", db.config_path()}, &out, work), 1) << out;
  EXPECT_NE(out.find("FEHLT    Tabelle plexor.Kvt746Err fehlt"), npos) << out;
  EXPECT_NE(out.find("ok       Laufprotokoll " + dir + "/run/corvina_php/log/"), npos) << out;
}

TEST(PlexorctlLastRun, ExitStatusFollowsTheLastRunInTheLog) {
  ts::TestDb db;
  const std::string log = db.dir() + "/run/corvina_php/log/plexor_plexor.log";
  const std::vector<std::string> ok = {"ops", "00000000", "00000000", "PLG",   "T1",
                                       "T2",  "00000",    "00000",    "00000", "PLAN_OPTIM"};
  std::vector<std::string> rejected_period = ok, short_line = {"ops", "00000000"};
  rejected_period[1] = "20000101";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string line;
  } cases[] = {
      {ok, 0, "error lines: 0"},
      {rejected_period, 1, "-Fehler: Main()->Planzeitraum_OK()"},
      {short_line, 2, "ended:       no end line"},
      {ok, 0, "error lines: 0"},
  };
  std::string out;
  for (const Case& c : cases) {
    db.Run(c.args);
    EXPECT_EQ(Ctl({"lastrun", "--log", log, "--since", "today"}, &out), c.status) << out;
    EXPECT_NE(out.find(c.line), npos) << out;
  }
  EXPECT_EQ(Ctl({"lastrun", "--log", log, "--since", "2999-01-01"}, &out), 2) << out;
  EXPECT_EQ(Ctl({"lastrun", "--log", log, "--quiet"}, &out), 0) << out;
  EXPECT_EQ(out, "");
  EXPECT_EQ(Ctl({"lastrun", "--log", db.dir() + "/none.log"}, &out), 2) << out;

  // Rotated while the run wrote: its start line is in the backup.
  ts::ScratchDir scratch("plexorctl-lastrun");
  ts::WriteFile(scratch.path() + "/p.bak",
                "2030-01-01 02:00:00  *** Programmstart Plexor ***\n"
                "2030-01-01 02:00:01  -Fehler: X()->Y() RC: 208\n");
  ts::WriteFile(scratch.path() + "/p.log", "2030-01-01 02:10:00  *** Programmende Plexor ***\n");
  EXPECT_EQ(Ctl({"lastrun", "--log", scratch.path() + "/p.log"}, &out), 1) << out;
  EXPECT_NE(out.find("started:     2030-01-01 02:00:00"), npos) << out;
}

TEST(PlexorctlKonfig, NewFileIsPrivateAndAnExistingModeIsKept) {
  ts::ScratchDir scratch("plexorctl-mode");
  const std::string fresh = scratch.path() + "/fresh.cfg", shared = scratch.path() + "/shared.cfg";
  const std::vector<std::string> values = {"--dsn",   "d", "--schema", "s",
                                           "--login", "u", "--pass",   "p"};
  auto write = [&](const std::string& path, std::string* out) {
    std::vector<std::string> args = {"konfig", "write", path};
    args.insert(args.end(), values.begin(), values.end());
    return Ctl(args, out);
  };
  std::string out;
  ASSERT_EQ(write(fresh, &out), 0) << out;
  EXPECT_EQ(Mode(fresh), 0600u);
  ts::WriteFile(shared, "");
  chmod(shared.c_str(), 0640);
  ASSERT_EQ(write(shared, &out), 0) << out;
  EXPECT_EQ(Mode(shared), 0640u);
  EXPECT_NE(out.find("can be read by other users (mode 0640)"), npos) << out;

  // A file without any record is not shown as four empty values.
  ts::WriteFile(shared, "hello\n");
  EXPECT_EQ(Ctl({"konfig", "show", shared}, &out), 1);
  EXPECT_NE(out.find("holds no configuration records"), npos) << out;
}

TEST(PlexorctlCli, RefusalsNameTheArgumentAndWhy) {
  const std::string long_value(200, 'x');
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string says;
  } cases[] = {
      {{"report", "--database", "/tmp", "--schema", "pl-x"}, 2, "--schema 'pl-x'"},
      {{"report", "--database", "/tmp", "--schema", "s", "--plan-group", "1234567"},
       2,
       "--plan-group '1234567' is longer than 5 characters"},
      {{"report", "--database", "/tmp", "--schema", "s", "--from", "20300110", "--to", "20300101"},
       2,
       "--to 20300101 lies before the first day 20300110"},
      {{"report", "--database", "/tmp", "--schema", "s", "--lang", "fr"}, 2, "--lang 'fr'"},
      {{"report", "--dsn", "a", "--database", "/tmp", "--schema", "s"}, 1, "exclude each other"},
      {{"report", "--config", "/nonexistent-plexor.cfg"}, 1, "--config: no such file"},
      {{"demo"}, 2, "missing DIR"},
      {{"demo", "/tmp/a", "/tmp/b"}, 2, "unexpected argument /tmp/b"},
      {{"demo", "/tmp/a", "--seed", "-1"}, 2, "--seed '-1' is not a number from 0"},
      {{"demo", "/tmp/a", "--days", "400"}, 2, "--days '400' is not a number from 1 to 366"},
      {{"demo", "/nonexistent-plexor/a/b"}, 1, "folder /nonexistent-plexor/a does not exist"},
      {{"konfig", "write"}, 2, "missing FILE"},
      {{"konfig", "write", "/nonexistent-plexor/p.cfg", "--dsn", "d", "--schema", "s", "--login",
        "u", "--pass", "p"},
       1,
       "folder /nonexistent-plexor does not exist"},
      {{"konfig", "write", "/tmp/p.cfg", "--dsn", "d", "--schema", "s", "--login", long_value,
        "--pass", "p"},
       1,
       "--login is longer than 96 bytes"},
      {{"konfig", "show"}, 2, "missing FILE"},
      {{"db", "--help"}, 0, "db init"},
      {{"konfig", "--help"}, 0, "konfig show"},
      {{"db"}, 2, "missing subcommand"},
      {{"db", "drop"}, 2, "unknown subcommand 'drop'"},
      {{"check"}, 2, "missing option --config"},
      {{"lastrun", "--log", "x", "--since", "yesterday"}, 2, "--since 'yesterday'"},
  };
  std::string out;
  for (const Case& c : cases) {
    EXPECT_EQ(Ctl(c.args, &out), c.status) << c.args[0] << " " << out;
    EXPECT_NE(out.find(c.says), npos) << c.says << "\n" << out;
  }
  struct stat st {};
  EXPECT_NE(stat("/nonexistent-plexor", &st), 0) << "demo created the parents of its folder";
}

}  // namespace
