#include "generated_roster.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "support/fault_run.h"
#include "support/roster_builder.h"

namespace gr {

GeneratedRoster Generate(ts::TestDb& db, unsigned seed, int plan_groups) {
  GeneratedRoster out;
  const std::string d1 = ts::DaysFromToday(1);
  const std::string d3 = ts::DaysFromToday(3);
  out.first_day = d1;
  out.last_day = d3;
  mv::AddDays(db, ts::AddDays(d1, -1), ts::AddDays(d3, 1));
  std::mt19937 rng(seed);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int serial = 0;
  for (int g = 1; g <= plan_groups; ++g) {
    const std::string plg = "0000" + std::to_string(g);
    ts::PlanGroupValues row_values;
    row_values.code = plg;
    row_values.opl = (g - 1) % 3 + 1;  // 1 plan group, 2 location, 3 type
    ts::InsertPlanGroup(db, row_values);
    out.levels[plg] = row_values.opl;
    for (const std::string& date : {d1, ts::AddDays(d1, 1), d3}) {
      for (const char* e : {"1", "2"}) {
        // Location codes differ between plan groups: the proposal counts
        // of a slot do not look at the plan group.
        const std::string eso = "E" + std::to_string(g) + "0" + e;
        for (const char* esa : {"ESA01", "ESA02"}) {
          for (int szv : {360, 840}) {
            for (int asw : {1, 2}) {
              if (pick(0, 9) < 3) continue;
              ts::BsmValues s = mv::Slot(date, eso, esa, szv, szv + 480, 0, 0, 0, 0);
              s.plg = plg;
              s.asw = asw;
              s.sol = pick(0, 3);
              s.min = std::max(0, s.sol - pick(0, 1));
              s.max = s.sol + pick(0, 1);
              const int n = pick(0, 5);
              for (int i = 0; i < n; ++i) {
                mv::Assignment a;
                a.pnr = "G" + std::to_string(1000000 + ++serial);
                a.date = date;
                a.plg = plg;
                a.eso = eso;
                a.esa = esa;
                a.szv = szv;
                a.szb = szv + 480;
                a.ztv = a.szv;
                a.ztb = a.szb;
                a.asw = asw;
                a.rnd = pick(1, 9);
                mv::Person p;
                p.pnr = a.pnr;
                p.plg = plg;
                p.eso = eso;
                p.esa = esa;
                p.awp = pick(0, 9) == 0 ? 3 : pick(0, 2);
                const int kind = pick(0, 11);
                if (kind == 0) a.sts = "U";
                if (kind == 1) a.fc1 = "X";
                if (kind == 2) a.sta = 1;
                if (kind == 3) a.sts = "O";
                const bool live = a.sts != "O";
                if (live) ++s.ist;
                if (live && kind == 1) ++s.htg;
                mv::AddPerson(db, p, date);
                mv::AddAssignment(db, a);
                out.assignments.push_back(
                    {a.pnr, plg, eso, esa, date, szv, asw, kind > 3 && p.awp != 3});
              }
              s.fkt = mv::Figure(s.sol, s.min, s.max, s.ist, s.htg);
              mv::AddSlot(db, s);
            }
          }
        }
      }
    }
  }
  return out;
}

void UseDataSourcesOf(const ts::TestDb& db) {
  setenv("ODBCSYSINI", (db.dir() + "/odbc").c_str(), 1);
  setenv("ODBCINI", (db.dir() + "/odbc/odbc.ini").c_str(), 1);
}

pid_t StartJob(const ts::TestDb& db, const ts::RunArgs& args,
               const std::vector<std::string>& environment) {
  std::vector<std::string> argv{PLEXOR_BIN, db.config_path()};
  for (const std::string& a : args.list()) argv.push_back(a);
  const std::string cwd = db.dir() + "/run/work";
  UseDataSourcesOf(db);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
  if (chdir(cwd.c_str()) != 0) _exit(127);
  if (freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
  std::vector<char*> raw;
  for (const std::string& a : argv) raw.push_back(const_cast<char*>(a.c_str()));
  raw.push_back(nullptr);
  execv(raw[0], raw.data());
  _exit(127);
}

int WaitJob(pid_t pid, int timeout_seconds) {
  if (pid < 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<ProposalFacts> OpenProposals(ts::TestDb& db) {
  std::vector<ProposalFacts> out;
  for (const ts::Row& r : db.Query(
           "SELECT BdkPnr, convert(char(8), BdkBdt, 112), BdkEso, BdkEsa, BdkSzv, BdkOso, BdkOsa, "
           "BdkOsv, BdkPlg, BdkFnr FROM plexor.Kvt735Bdk WHERE BdkSta = 9")) {
    ProposalFacts facts;
    for (const ts::Cell& c : r) facts.push_back(c.value_or("NULL"));
    out.push_back(facts);
  }
  std::sort(out.begin(), out.end());
  return out;
}

void ExpectConsistent(ts::TestDb& db, const std::string& written_since) {
  EXPECT_EQ(ft::IntegrityProblems(db.database_dir()), "");
  EXPECT_EQ(db.ScalarInt("SELECT COUNT(*) - COUNT(DISTINCT BdkKey) FROM plexor.Kvt735Bdk"), 0);
  std::set<std::tuple<std::string, std::string, std::string, std::string, std::string>> open;
  for (const ProposalFacts& p : OpenProposals(db)) {
    EXPECT_TRUE(open.insert({p[0], p[1], p[2], p[3], p[4]}).second)
        << "two open proposals for " << p[0] << " " << p[1] << " " << p[4];
  }
  EXPECT_EQ(
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt701Plg WHERE PlgUsr <> '' OR PlgPgm <> ''"), 0);

  std::set<std::tuple<std::string, std::string, std::string, std::string, long, long>> written;
  for (const ts::Row& r :
       db.Query("SELECT BsmPlg, BsmEso, BsmEsa, convert(char(8), BsmBdt, 112), BsmSzv, BsmAsw FROM "
                "plexor.Kvt725Bsm WHERE BsmDat >= convert(datetime, '" +
                written_since + "', 120)")) {
    written.insert({*r[0], *r[1], *r[2], *r[3], std::stol(*r[4]), std::stol(*r[5])});
  }
  for (const mv::StoredSlot& s : mv::Slots(db)) {
    if (!written.count({s.plg, s.eso, s.esa, s.date, s.szv, s.asw})) continue;
    ExpectRecounted(db, s);
  }
}

void ExpectRecounted(ts::TestDb& db, const mv::StoredSlot& s) {
  const mv::Recount r = mv::RecountSlot(db, s);
  const std::string where = s.plg + " " + s.eso + "/" + s.esa + " " + s.date + " " +
                            std::to_string(s.szv) + " asw " + std::to_string(s.asw);
  EXPECT_EQ(s.ist, r.ist) << where;
  EXPECT_EQ(s.htg, r.htg) << where;
  EXPECT_EQ(s.ova, r.ova) << where;
  EXPECT_EQ(s.ove, r.ove) << where;
  EXPECT_EQ(s.fkt, mv::Figure(static_cast<int>(s.sol), static_cast<int>(s.min),
                              static_cast<int>(s.max), r.ist, r.htg, r.htv, r.htn, r.ove, r.ova))
      << where;
}

}  // namespace gr
