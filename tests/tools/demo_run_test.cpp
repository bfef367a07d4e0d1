// The demo database built by plexorctl, loaded through the embedded driver,
// and the job run on it the way the quick start does.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
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
  // The demo database of seed 1 and the configuration file naming it.
  bool Create(std::string* out) {
    return Ctl({"demo", db_dir, "--seed", "1"}, out) == 0 &&
           Ctl({"konfig", "write", config, "--dsn", "plexordemo", "--schema", "plexor", "--login",
                "demo", "--pass", "demo"},
               out) == 0;
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
  ASSERT_TRUE(run.Create(&out)) << out;
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
  EXPECT_NE(out.find("Offene Umbesetzungsvorschläge (" + std::to_string(proposals) + ")"),
            std::string::npos)
      << out;
  EXPECT_EQ(Dump(plexor), before);
}

// A staffing slot by its key; day as stored ("yyyy-mm-dd 00:00:00").
struct Slot {
  std::string plg, eso, esa, day, szv, asw;
  std::string Where(const char* p) const {
    return std::string(" WHERE ") + p + "Plg = '" + plg + "' AND " + p + "Eso = '" + eso +
           "' AND " + p + "Esa = '" + esa + "' AND " + p + "Bdt = '" + day + "' AND " + p +
           "Szv = " + szv + " AND " + p + "Asw = " + asw;
  }
};

// BsmIst, BsmKor, BsmOva, BsmOve, BsmFkt as stored, and as this test counts
// them from the assignments and the open proposals.
std::vector<long> Stored(const std::string& file, const Slot& s) {
  const auto rows =
      Select(file, "SELECT BsmIst, BsmKor, BsmOva, BsmOve, BsmFkt FROM Kvt725Bsm" + s.Where("Bsm"));
  std::vector<long> out;
  if (rows.size() == 1) {
    for (const auto& v : rows[0]) out.push_back(std::stol(v));
  }
  return out;
}

std::vector<long> Recounted(const std::string& file, const Slot& s) {
  const auto c = Select(
      file,
      "SELECT total(BdpSts NOT IN ('O', 'D')), total(BdpSts IN ('U', 'M')), total(BdpSts NOT IN "
      "('O', 'D') AND BdpFc1 <> ''), total(BdpSts NOT IN ('O', 'D') AND BdpFc2 <> ''), "
      "total(BdpSts NOT IN ('O', 'D') AND BdpFc3 <> '') FROM Kvt730Bdp" +
          s.Where("Bdp"));
  const auto t = Select(file, "SELECT BsmSol, BsmMin, BsmMax FROM Kvt725Bsm" + s.Where("Bsm"));
  if (c.size() != 1 || t.size() != 1) return {};
  const long ist = std::stol(c[0][0]), kor = std::stol(c[0][1]);
  const long marked = std::stol(c[0][2]) + std::min(std::stol(c[0][3]), std::stol(c[0][4]));
  const std::string key = "BdkBdt = '" + s.day + "' AND BdkSta = 9 AND ";
  const long ova = Count(file, "SELECT count(*) FROM Kvt735Bdk WHERE " + key + "BdkEso = '" +
                                   s.eso + "' AND BdkEsa = '" + s.esa + "' AND BdkSzv = " + s.szv +
                                   " AND BdkAsw = " + s.asw + " AND BdkErf = 'OPTIMIERUNG'");
  const long ove = Count(file, "SELECT count(*) FROM Kvt735Bdk WHERE " + key + "BdkOso = '" +
                                   s.eso + "' AND BdkOsa = '" + s.esa + "' AND BdkOsv = " + s.szv +
                                   " AND BdkOsw = " + s.asw);
  const long sol = std::stol(t[0][0]) + 1, min = std::stol(t[0][1]) + 1,
             max = std::stol(t[0][2]) + 1;
  const long eff = ist - marked + ove - ova + 1;
  const long fkt = eff == sol   ? 0
                   : eff < min  ? (eff - min) * 100 / min - 100
                   : eff < sol  ? (eff - sol) * 100 / sol
                   : eff <= max ? 90
                                : 190;
  return {ist, kor, ova, ove, fkt};
}

// One proposal: its key, person, the slot it leaves and the slot it joins.
struct Proposal {
  std::string key, pnr;
  Slot from, to;
};

std::vector<Proposal> Proposals(const std::string& file, const std::string& condition) {
  std::vector<Proposal> out;
  for (const auto& r : Select(file,
                              "SELECT BdkKey, BdkPnr, BdkPlg, BdkBdt, BdkEso, BdkEsa, BdkSzv, "
                              "BdkAsw, BdkOso, BdkOsa, BdkOsv, BdkOsw FROM Kvt735Bdk WHERE " +
                                  condition + " ORDER BY rowid")) {
    out.push_back(
        {r[0], r[1], {r[2], r[4], r[5], r[3], r[6], r[7]}, {r[2], r[8], r[9], r[3], r[10], r[11]}});
  }
  return out;
}

void ExpectFiguresRight(const std::string& file, const Proposal& p) {
  for (const Slot* s : {&p.from, &p.to}) {
    EXPECT_EQ(Stored(file, *s), Recounted(file, *s)) << p.key << s->Where("Bsm");
    EXPECT_EQ(Stored(file, *s).size(), 5u);
  }
}

TEST(DemoDatabase, AcceptedAndRejectedProposalsKeepTheStaffingFiguresRight) {
  DemoRun run;
  std::string out;
  ASSERT_TRUE(run.Create(&out)) << out;
  ASSERT_EQ(run.Job(&out), 0) << out;
  const std::string plexor = run.db_dir + "/plexor.sqlite";
  // The rejected proposal is the only one of its plan group and day, so that
  // the next run meets the same situation; the other two are of other days.
  const auto alone = Proposals(plexor,
                               "BdkSta = 9 AND (SELECT count(*) FROM Kvt735Bdk o WHERE o.BdkPlg = "
                               "Kvt735Bdk.BdkPlg AND o.BdkBdt = Kvt735Bdk.BdkBdt) = 1");
  ASSERT_FALSE(alone.empty());
  std::vector<Proposal> chosen = {alone[0]};
  for (const Proposal& p : Proposals(plexor, "BdkSta = 9")) {
    auto same_day = [&](const Proposal& c) {
      return c.from.plg == p.from.plg && c.from.day == p.from.day;
    };
    if (chosen.size() < 3 && std::none_of(chosen.begin(), chosen.end(), same_day))
      chosen.push_back(p);
  }
  ASSERT_EQ(chosen.size(), 3u);
  const Proposal& rejected = chosen[0];
  const Proposal& accepted = chosen[1];
  const Proposal& failing = chosen[2];
  auto proposals = [&](const std::vector<std::string>& args) {
    std::vector<std::string> all = {"proposals"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), {"--config", run.config});
    return Ctl(all, &out, run.work);
  };

  ASSERT_EQ(proposals({"accept", accepted.key}), 0) << out;
  EXPECT_EQ(out, accepted.key + " accepted\n");
  EXPECT_EQ(Select(plexor,
                   "SELECT BdpEso, BdpEsa, BdpSzv, BdpAsw, BdpZtv = BdpSzv, BdpZtb = "
                   "BdpSzb FROM Kvt730Bdp WHERE BdpPnr = '" +
                       accepted.pnr + "' AND BdpBdt = '" + accepted.from.day + "'"),
            (std::vector<std::vector<std::string>>{
                {accepted.to.eso, accepted.to.esa, accepted.to.szv, accepted.to.asw, "1", "1"}}));
  EXPECT_EQ(Count(plexor, "SELECT BdkSta FROM Kvt735Bdk WHERE BdkKey = '" + accepted.key + "'"), 1);
  ExpectFiguresRight(plexor, accepted);
  EXPECT_EQ(proposals({"accept", accepted.key, "NOSUCHKEY"}), 1);
  EXPECT_EQ(out,
            accepted.key + " refused: not open (accepted)\nNOSUCHKEY refused: no such proposal\n");

  const auto before_reject = Stored(plexor, rejected.from);
  ASSERT_EQ(proposals({"reject", rejected.key}), 0) << out;
  EXPECT_EQ(Count(plexor, "SELECT BdkSta FROM Kvt735Bdk WHERE BdkKey = '" + rejected.key + "'"), 2);
  ExpectFiguresRight(plexor, rejected);
  EXPECT_EQ(Stored(plexor, rejected.from)[2], before_reject[2] - 1);  // one leaving less

  // A recount that fails after the move rolls the whole accept back.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(plexor.c_str(), &db), SQLITE_OK);
  const std::string trigger = "CREATE TRIGGER fail_recount BEFORE UPDATE ON Kvt725Bsm WHEN " +
                              failing.from.Where("old.Bsm").substr(7) +
                              " BEGIN SELECT RAISE(ABORT, 'injected'); END";
  ASSERT_EQ(sqlite3_exec(db, trigger.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  const auto before = Dump(plexor);
  EXPECT_EQ(proposals({"accept", failing.key}), 1);
  EXPECT_NE(out.find(failing.key + " refused: cannot recount"), std::string::npos) << out;
  EXPECT_TRUE(Dump(plexor) == before);  // printing both dumps would drown the report
  sqlite3_exec(db, "DROP TRIGGER fail_recount", nullptr, nullptr, nullptr);
  // An assignment that is no longer movable is not moved.
  const std::string person =
      " WHERE BdpPnr = '" + failing.pnr + "' AND BdpBdt = '" + failing.from.day + "'";
  ASSERT_EQ(sqlite3_exec(db, ("UPDATE Kvt730Bdp SET BdpSta = 1" + person).c_str(), nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  const auto inactive_before = Dump(plexor);
  EXPECT_EQ(proposals({"accept", failing.key}), 1);
  EXPECT_NE(out.find("refused: the assignment is no longer active and movable"), std::string::npos)
      << out;
  EXPECT_TRUE(Dump(plexor) == inactive_before);
  sqlite3_exec(db, ("UPDATE Kvt730Bdp SET BdpSta = 0" + person).c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_EQ(proposals({"list", "--status", "accepted", "--format", "json"}), 0);
  EXPECT_NE(out.find("{\"key\": \"" + accepted.key + "\", \"day\": \""), std::string::npos) << out;
  EXPECT_NE(out.find("\"status\": \"accepted\""), std::string::npos);

  // The next run proposes the rejected person again, the accepted one never
  // from the slot that person left, and the moved slots stay right.
  ASSERT_EQ(run.Job(&out), 0) << out;
  EXPECT_EQ(ts::ReadFile(run.log).find("-Fehler"), std::string::npos);
  auto open_for = [&](const Proposal& p) {
    return Proposals(plexor, "BdkSta = 9 AND BdkPnr = '" + p.pnr + "'" +
                                 p.from.Where("Bdk").replace(0, 7, " AND "))
        .size();
  };
  EXPECT_EQ(open_for(rejected), 1u);
  EXPECT_EQ(open_for(accepted), 0u);
  ExpectFiguresRight(plexor, accepted);

  // Clearing a plan group before a day rejects exactly its open proposals there.
  const std::string open = "BdkSta = 9 AND BdkPlg = '00002'";
  const std::string last =
      Select(plexor, "SELECT max(BdkBdt) FROM Kvt735Bdk WHERE " + open).at(0).at(0);
  const auto cleared = Proposals(plexor, open + " AND BdkBdt < '" + last + "'");
  const size_t kept = Proposals(plexor, open).size() - cleared.size();
  ASSERT_FALSE(cleared.empty());
  ASSERT_EQ(proposals({"reject", "--plan-group", "00002", "--before",
                       last.substr(0, 4) + last.substr(5, 2) + last.substr(8, 2)}),
            0)
      << out;
  EXPECT_EQ(Proposals(plexor, open).size(), kept);
  EXPECT_GT(kept, 0u);
  for (const Proposal& p : cleared) ExpectFiguresRight(plexor, p);
}

}  // namespace
