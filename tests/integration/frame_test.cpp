// The built job as a process, without any database: the start-up sequence up
// to the failed connect, the run log it leaves, the console line and the exit
// status; and the two informational options.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config/config_writer.h"
#include "config/value_cipher.h"
#include "support/scratch_dir.h"
#include "support/test_db.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

int CountLines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

struct Outcome {
  bool exited = false;  // ended by itself (not by a signal or the time limit)
  int status = -1;
  std::string out;
};

// A scratch area laid out like an installation: <root>/work is the working
// directory, <root>/corvina_php/log the log directory, <root>/odbc an ODBC
// configuration without any data source.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.path().empty());
    fs::create_directories(root_ / "work");
    fs::create_directories(LogDir());
    fs::create_directories(root_ / "odbc");
  }

  fs::path LogDir() const { return root_ / "corvina_php" / "log"; }
  std::string Log(const std::string& schema) const {
    return ts::ReadFile(LogDir() / ("plexor_" + schema + ".log"));
  }

  static std::vector<std::string> Line(const std::string& config) {
    return {config,  "tester", "00000000", "00000000", "ESA",       "job1",
            "job 2", "00000",  "00000",    "00000",    "PLAN_OPTIM"};
  }

  Outcome Run(const std::vector<std::string>& args) {
    std::vector<std::string> env_store;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string kv = *e;
      if (kv.rfind("ODBCSYSINI=", 0) == 0 || kv.rfind("ODBCINI=", 0) == 0 ||
          kv.rfind("HOME=", 0) == 0) {
        continue;
      }
      env_store.push_back(kv);
    }
    env_store.push_back("ODBCSYSINI=" + (root_ / "odbc").string());
    env_store.push_back("ODBCINI=" + (root_ / "odbc" / "odbc.ini").string());
    env_store.push_back("HOME=" + root_.string());
    std::vector<char*> envp;
    for (std::string& kv : env_store) envp.push_back(kv.data());
    envp.push_back(nullptr);

    std::vector<std::string> argv_store = {PLEXOR_BIN};
    argv_store.insert(argv_store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_store) argv.push_back(a.data());
    argv.push_back(nullptr);

    fs::path out_file = root_ / "stdout.txt";
    std::string work = (root_ / "work").string();
    pid_t pid = fork();
    if (pid == 0) {
      int fd = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (fd < 0 || dup2(fd, 1) < 0 || chdir(work.c_str()) != 0) _exit(127);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    Outcome o;
    if (pid < 0) return o;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        ADD_FAILURE() << "plexor did not finish in time";
        return o;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    o.exited = WIFEXITED(status);
    o.status = o.exited ? WEXITSTATUS(status) : -1;
    o.out = ts::ReadFile(out_file);
    return o;
  }

  const ts::ScratchDir scratch_{"plexor_frame"};
  const fs::path root_ = scratch_.path();
};

const char kStart[] = "  *** Programmstart Plexor ***\n";
const char kConnectFailed[] =
    "  -Fehler: Main()->dbConnect() Fehlerhafter Connect mit der DB! RC: -1\n";

TEST_F(FrameTest, MissingConfigFailsTheConnectAndEndsWithoutEndLine) {
  Outcome o = Run(Line((root_ / "no_such.cfg").string()));
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("Connect Error: SQLCode: ", 0), 0u) << o.out;
  EXPECT_NE(o.out.find(" sqlState: "), std::string::npos);
  EXPECT_NE(o.out.find(" Msg: "), std::string::npos);
  EXPECT_EQ(CountLines(o.out), 1);

  // No schema: the log's schema part is empty.
  std::string log = Log("");
  ASSERT_EQ(CountLines(log), 2) << log;
  std::string first = log.substr(0, log.find('\n') + 1);
  std::string second = log.substr(first.size());
  EXPECT_EQ(first.substr(19), kStart);
  EXPECT_EQ(second.substr(19), kConnectFailed);
  EXPECT_EQ(log.find("Programmende"), std::string::npos);
  EXPECT_EQ(log.find("Connect Error"), std::string::npos);
}

TEST_F(FrameTest, UnknownDataSourceLogsUnderTheConfiguredSchema) {
  fs::path cfg = root_ / "plexor.cfg";
  ASSERT_TRUE(Konfig_Schreiben(cfg.string(), "no_such_dsn", "kvt_demo", "user", "secret"));
  Outcome o = Run(Line(cfg.string()));
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("Connect Error: SQLCode: ", 0), 0u) << o.out;
  EXPECT_NE(o.out.find("IM002"), std::string::npos) << o.out;

  EXPECT_FALSE(fs::exists(LogDir() / "plexor_.log"));
  std::string log = Log("kvt_demo");
  ASSERT_EQ(CountLines(log), 2) << log;
  EXPECT_NE(log.find(kStart), std::string::npos);
  EXPECT_NE(log.find(kConnectFailed), std::string::npos);
  EXPECT_EQ(log.find("Programmende"), std::string::npos);
}

// The schema value loses its last character; a value longer than 21
// characters gives no schema at all.
TEST_F(FrameTest, SchemaValueNamesTheLogWithoutItsLastCharacter) {
  struct Case {
    std::string value;
    std::string log_schema;
  };
  const Case cases[] = {{"abc", "ab"},
                        {std::string(21, 's'), std::string(20, 's')},
                        {std::string(22, 't'), ""},
                        {".", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    fs::path cfg = root_ / "manual.cfg";
    {
      std::ofstream out(cfg, std::ios::binary);
      out << ";s;\r\n1;DATABASE;" << Wert_Verschluesseln("no_such_dsn", kKonfigSchluessel)
          << "\r\n;s;\r\n2;SCHEMA;" << Wert_Verschluesseln(c.value, kKonfigSchluessel) << "\r\n";
    }
    fs::remove_all(LogDir());
    fs::create_directories(LogDir());
    Outcome o = Run(Line(cfg.string()));
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(CountLines(Log(c.log_schema)), 2);
  }
}

// A schema name goes unquoted into file names and statements: anything but
// letters, digits and underscores is refused and the schema stays empty.
TEST_F(FrameTest, SchemaNameWithOtherCharactersIsRefused) {
  for (std::string bad : {std::string("../../escape."), std::string("x; DROP TABLE y--.")}) {
    SCOPED_TRACE(bad);
    fs::path cfg = root_ / "bad.cfg";
    {
      std::ofstream out(cfg, std::ios::binary);
      out << ";s;\n1;DATABASE;" << Wert_Verschluesseln("no_such_dsn", kKonfigSchluessel)
          << "\n;s;\n2;SCHEMA;" << Wert_Verschluesseln(bad, kKonfigSchluessel) << "\n";
    }
    fs::remove_all(LogDir());
    fs::create_directories(LogDir());
    Outcome o = Run(Line(cfg.string()));
    EXPECT_EQ(o.status, 0);
    std::string log = Log("");
    ASSERT_EQ(CountLines(log), 3) << log;
    EXPECT_NE(log.find("-Fehler: Main() Schemaname unzulaessig"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(root_ / "escape.log"));
  }
}

TEST_F(FrameTest, FailedConnectHidesAShortCommandLine) {
  fs::path cfg = root_ / "plexor.cfg";
  ASSERT_TRUE(Konfig_Schreiben(cfg.string(), "no_such_dsn", "dbo", "user", "secret"));
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, std::vector<std::string>{cfg.string()},
        std::vector<std::string>{cfg.string(), "tester", "00000000"}}) {
    Outcome o = Run(args);
    EXPECT_TRUE(o.exited);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out.rfind("Connect Error: ", 0), 0u);
  }
  std::string log = Log("dbo");
  EXPECT_EQ(CountLines(log), 4);  // two of the three runs found the config
  EXPECT_EQ(log.find("Mindestanzahl"), std::string::npos);
  EXPECT_EQ(CountLines(Log("")), 2);  // the run without any argument
}

TEST_F(FrameTest, RunsTwiceAppendToTheSameLog) {
  Run(Line("missing.cfg"));
  Run(Line("missing.cfg"));
  EXPECT_EQ(CountLines(Log("")), 4);
}

TEST_F(FrameTest, MissingLogDirectoryChangesNothingElse) {
  fs::remove_all(root_ / "corvina_php");
  Outcome o = Run(Line("missing.cfg"));
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("Connect Error: ", 0), 0u);
  EXPECT_FALSE(fs::exists(root_ / "corvina_php"));
}

TEST_F(FrameTest, OddArgumentsNeverChangeTheExitStatus) {
  std::vector<std::string> args = Line("");
  args[1] = std::string(100000, 'u');
  args[6] = "";
  args[7] = std::string(5000, '0');
  args.push_back("extra");
  args.push_back("");
  Outcome o = Run(args);
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(CountLines(Log("")), 2);
}

TEST_F(FrameTest, HelpAndVersionPrintAndTouchNothing) {
  Outcome help = Run({"--help"});
  EXPECT_TRUE(help.exited);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: plexor CONFIG USER BEGIN END", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("PLAN_OPTIM"), std::string::npos);

  Outcome version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("plexor ") + PLEXOR_VERSION + "\n");

  EXPECT_TRUE(fs::is_empty(LogDir()));
}

TEST_F(FrameTest, HelpWordAmongOtherArgumentsIsAnOrdinaryRun) {
  Outcome o = Run({"--help", "x"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("Connect Error: ", 0), 0u);
  EXPECT_EQ(CountLines(Log("")), 2);
  Outcome v = Run({"--version", "--help"});
  EXPECT_EQ(v.out.rfind("Connect Error: ", 0), 0u);
}

}  // namespace
