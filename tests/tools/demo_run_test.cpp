// The demo database built by plexorctl, loaded through the embedded driver,
// and the job run on it the way the quick start does.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/test_db.h"

namespace fs = std::filesystem;

namespace {

int Ctl(const std::vector<std::string>& args, std::string* out, const std::string& cwd = "/tmp") {
  std::vector<std::string> argv = {PLEXORCTL_BIN};
  argv.insert(argv.end(), args.begin(), args.end());
  return ts::RunProcess(argv, cwd, out, 120);
}

// Every table of a database file as text, rows in insertion order.
std::map<std::string, std::vector<std::string>> Dump(const std::string& file) {
  std::map<std::string, std::vector<std::string>> out;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << file;
    sqlite3_close(db);
    return out;
  }
  std::vector<std::string> tables;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1,
                     &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) {
    tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  }
  sqlite3_finalize(st);
  for (const auto& t : tables) {
    sqlite3_prepare_v2(db, ("SELECT * FROM \"" + t + "\" ORDER BY rowid").c_str(), -1, &st,
                       nullptr);
    auto& rows = out[t];
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        const unsigned char* v = sqlite3_column_text(st, c);
        row += v == nullptr ? std::string("<NULL>") : reinterpret_cast<const char*>(v);
        row += '|';
      }
      rows.push_back(row);
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return out;
}

std::vector<std::vector<std::string>> Select(const std::string& file, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
  }
  while (st != nullptr && sqlite3_step(st) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      const unsigned char* v = sqlite3_column_text(st, c);
      row.emplace_back(v == nullptr ? "" : reinterpret_cast<const char*>(v));
    }
    rows.push_back(row);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

long Count(const std::string& file, const std::string& sql) {
  auto rows = Select(file, sql);
  return rows.empty() ? -1 : std::stol(rows[0][0]);
}

TEST(DemoDatabase, SameSeedGivesTheSameTablesAndLoadsWithoutErrors) {
  const ts::ScratchDir tmp{"plexorctl-test"};
  std::string out;
  for (const char* dir : {"a", "b"}) {
    ASSERT_EQ(Ctl({"demo", tmp.path() + "/" + dir, "--seed", "4", "--days", "7"}, &out), 0) << out;
  }
  ASSERT_EQ(Ctl({"demo", tmp.path() + "/c", "--seed", "5", "--days", "7"}, &out), 0) << out;
  for (const char* file : {"plexor.sqlite", "KvtSystem.sqlite"}) {
    const auto a = Dump(tmp.path() + "/a/" + file);
    EXPECT_EQ(a, Dump(tmp.path() + "/b/" + file)) << file;
    ASSERT_FALSE(a.empty());
  }
  EXPECT_NE(Dump(tmp.path() + "/a/plexor.sqlite"), Dump(tmp.path() + "/c/plexor.sqlite"));
  const std::string plexor = tmp.path() + "/a/plexor.sqlite";
  EXPECT_EQ(Count(plexor, "SELECT count(*) FROM Kvt725Bsm"), 7 * 48);
  EXPECT_EQ(Count(plexor, "SELECT count(*) FROM Kvt735Bdk"), 0);
  EXPECT_GT(Count(plexor, "SELECT count(DISTINCT BdpPnr) FROM Kvt730Bdp"), 200);
  EXPECT_EQ(
      Count(tmp.path() + "/a/KvtSystem.sqlite",
            "SELECT count(*) FROM Kvt133Bak WHERE BakDtm = '" + ts::Today().substr(0, 4) + "-" +
                ts::Today().substr(4, 2) + "-" + ts::Today().substr(6, 2) + " 00:00:00'"),
      1);
  // A folder that already holds a database is left alone.
  EXPECT_EQ(Ctl({"demo", tmp.path() + "/a", "--seed", "4"}, &out), 1);
  EXPECT_EQ(Dump(plexor), Dump(tmp.path() + "/b/plexor.sqlite"));
}

// Sets up a data source on the demo folder, as the quick start does.
struct DemoRun {
  const ts::ScratchDir tmp{"plexorctl-test"};
  std::string db_dir, config, work, log;

  DemoRun() {
    db_dir = tmp.path() + "/db";
    work = tmp.path() + "/work";
    config = tmp.path() + "/plexor.cfg";
    log = tmp.path() + "/corvina_php/log/plexor_plexor.log";
    fs::create_directories(work);
    fs::create_directories(tmp.path() + "/corvina_php/log");
    fs::create_directories(tmp.path() + "/odbc");
    ts::WriteFile(tmp.path() + "/odbc/odbcinst.ini",
                  "[PlexorEmbedded]\nDriver = " PLEXOR_DRIVER_LIB "\n");
    ts::WriteFile(tmp.path() + "/odbc/odbc.ini",
                  "[plexordemo]\nDriver = PlexorEmbedded\nDatabase = " + db_dir + "\n");
    setenv("ODBCSYSINI", (tmp.path() + "/odbc").c_str(), 1);
    setenv("ODBCINI", (tmp.path() + "/odbc/odbc.ini").c_str(), 1);
  }
  int Job(std::string* out) {
    return ts::RunProcess({PLEXOR_BIN, config, "demo", "00000000", "00000000", "PLG", "DEMO-LAUF",
                           "Schnellstart", "00000", "00000", "00000", "PLAN_OPTIM"},
                          work, out, 300);
  }
};

TEST(DemoDatabase, JobRunMakesProposalsWithSeveralVerdictsAndASecondRunAddsNone) {
  DemoRun run;
  std::string out;
  ASSERT_EQ(Ctl({"demo", run.db_dir, "--seed", "1"}, &out), 0) << out;
  ASSERT_EQ(Ctl({"konfig", "write", run.config, "--dsn", "plexordemo", "--schema", "plexor",
                 "--login", "demo", "--pass", "demo"},
                &out),
            0)
      << out;
  ASSERT_EQ(run.Job(&out), 0) << out;
  const std::string log = ts::ReadFile(run.log);
  EXPECT_NE(log.find("*** Programmende Plexor ***"), std::string::npos) << log;
  EXPECT_EQ(log.find("-Fehler"), std::string::npos) << log;

  const std::string plexor = run.db_dir + "/plexor.sqlite";
  const long proposals = Count(plexor, "SELECT count(*) FROM Kvt735Bdk WHERE BdkSta = 9");
  const long errors = Count(plexor, "SELECT count(*) FROM Kvt746Err WHERE ErrKng = 'PLANO'");
  EXPECT_GT(proposals, 20);
  EXPECT_GT(errors, 0);
  std::set<std::string> verdicts;
  for (const auto& r : Select(plexor, "SELECT DISTINCT BdkFnr FROM Kvt735Bdk")) {
    verdicts.insert(r[0]);
  }
  EXPECT_GE(verdicts.size(), 5u);
  for (const char* v : {"0", "1511", "1521", "1531", "1541"}) EXPECT_EQ(verdicts.count(v), 1u) << v;

  // Today in plan group 00001: the short late PFL slot gets the persons of
  // the early HLF slot, first the one bound by the strict rest rule.
  const std::string today = ts::Today();
  const auto first =
      Select(plexor,
             "SELECT BdkEso, BdkEsa, BdkBsz, BdkOso, BdkOsa, BdkOsz, BdkFnr FROM Kvt735Bdk WHERE "
             "BdkPlg = '00001' AND BdkBdt = '" +
                 today.substr(0, 4) + "-" + today.substr(4, 2) + "-" + today.substr(6, 2) +
                 " 00:00:00' ORDER BY rowid");
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0],
            (std::vector<std::string>{"NST01", "HLF", "FRU", "NST01", "PFL", "SPA", "1531"}));
  EXPECT_EQ(first[1][6], "1511");

  // The second run finds every open proposal already recorded.
  ASSERT_EQ(run.Job(&out), 0) << out;
  EXPECT_EQ(Count(plexor, "SELECT count(*) FROM Kvt735Bdk"), proposals);
  EXPECT_EQ(Count(plexor, "SELECT count(*) FROM Kvt746Err WHERE ErrKng = 'PLANO'"), errors);

  // The report reads what the run left and changes nothing.
  const auto before = Dump(plexor);
  ASSERT_EQ(Ctl({"report", "--dsn", "plexordemo", "--schema", "plexor", "--from", today, "--to",
                 ts::DaysFromToday(20)},
                &out),
            0)
      << out;
  EXPECT_NE(out.find("1531 Ruhezeit unterschritten"), std::string::npos);
  EXPECT_NE(out.find("Offene Umbesetzungsvorschlaege (" + std::to_string(proposals) + ")"),
            std::string::npos)
      << out;
  EXPECT_EQ(Dump(plexor), before);
}

}  // namespace
