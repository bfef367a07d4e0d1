// Test data for integration tests: a base calendar, plan groups, staffing
// slots, error rows, day types, working-time models, slot definitions and the
// persons' rules, limits and day plans written as T-SQL through a TestDb,
// date helpers, and
// the job's command line. Every row_values struct has sensible defaults, so a test
// names only the fields it cares about.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/test_db.h"

namespace ts {

// Date arithmetic on yyyymmdd texts (proleptic Gregorian calendar).
std::string AddDays(const std::string& yyyymmdd, int days);
// 1 for Monday ... 7 for Sunday.
int IsoWeekday(const std::string& yyyymmdd);
// The first date at or after `from` whose IsoWeekday is `weekday`.
std::string NextWeekday(const std::string& from, int weekday);
// "convert(datetime, 'yyyymmdd', 112)".
std::string SqlDate(const std::string& yyyymmdd);
// A quoted T-SQL text literal with quotes doubled, or NULL.
std::string SqlQuoted(const std::optional<std::string>& text);

// One row per day from `from` to `to` (inclusive) in KvtSystem.Kvt133Bak, with
// BakWtg the ISO weekday, BakJhr/BakMon/BakTag the date parts, BakJtg the day
// of the year and BakWch the ISO week.
void InsertCalendar(TestDb& db, const std::string& from, const std::string& to);

struct PlanGroupValues {
  std::string code = "00001";
  int opl = 1;  // PlgOpl: 1 plan group, 2 location, 3 deployment type
  int hzt = 0;  // PlgHzt, planning horizon in weeks
  std::string kal = "001";
  std::string txt = "Plan group";
  int sta = 0;
  std::optional<std::string> dat;  // date-times as "yyyy-mm-dd hh:mm:ss"; nullopt: NULL
  std::string erf = "creator";
  std::optional<std::string> pdt;
  std::string plr = "planner";
  std::optional<std::string> beg;
  std::optional<std::string> usr;
  std::optional<std::string> pgm;
  int fts = 0;
  int switches = 0;  // value of the six check switches of every set
  int opt = 0;
  // false for a database made without PlgOpt/PlgOpl (TestDb(false)).
  bool with_optional = true;
};
void InsertPlanGroup(TestDb& db, const PlanGroupValues& row_values);

struct BsmValues {
  std::string plg = "00001";
  std::string date;  // yyyymmdd
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  std::string bsz = "F";
  int szv = 360;  // slot begin and end in minutes since midnight
  int szb = 840;
  std::string ttp = "W";
  int sol = 1;
  int min = 1;
  int max = 1;
  int ist = 1;
  int htg = 0;
  int htv = 0;
  int htn = 0;
  int kng = 0;
  int fkt = 0;  // deviation figure: below 0 short, above 0 surplus
  int asw = 1;
  int sta = 0;
  double kos = 0.0;
  double ko2 = 0.0;
  int ova = 0;
  int ove = 0;
  bool with_optional = true;  // false for TestDb(false)
};
void InsertBsm(TestDb& db, const BsmValues& row_values);

struct ErrValues {
  std::string plg = "00001";
  std::string kng = "PLANO";
  std::optional<std::string> bdt;  // yyyymmdd; nullopt: NULL
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  int lfn = 1;
  int fnr = 1601;
  std::string erf = "earlier";
};
void InsertError(TestDb& db, const ErrValues& row_values);

// The day type of calendar `kal` on `date` (yyyymmdd) in Kvt133Ka2.
void InsertDayType(TestDb& db, const std::string& date, const std::string& ttp = "W",
                   const std::string& ptp = "P", const std::string& kal = "001");

// A working-time model of Kvt140Azv: core time kev-keb and frame glv-glb in
// minutes since midnight, valid from gvo to gbi (yyyymmdd; nullopt: open).
struct ModelValues {
  int num = 1;
  int kev = 360;
  int keb = 840;
  int glv = 0;
  int glb = 0;
  std::string gvo = "20000101";
  std::optional<std::string> gbi;
  int sol = 1;
};
void InsertModel(TestDb& db, const ModelValues& row_values);

// A slot definition of Kvt720Bss. With `may_exist` a definition already
// written (for a slot of another day) is accepted.
struct SlotDefinitionValues {
  std::string plg = "00001";
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  std::string ttp = "W";
  std::string bsz = "F";
  int von = 360;
  int bis = 840;
  std::string txt = "slot";
  int sol = 1;
  int min = 1;
  int max = 1;
  double mwt = 1.5;
  int asw = 1;
};
void InsertSlotDefinition(TestDb& db, const SlotDefinitionValues& row_values,
                          bool may_exist = false);

// A person's assignment rule of Kvt710Pbv, valid from `gvo` (yyyymmdd) on.
struct RuleValues {
  std::string pnr;
  std::string gvo;
  int zrm = 0;                // PbvZrm: 0 no working window
  std::string eso = "ESO01";  // home location and type
  std::string esa = "ESA01";
  int awp = 0;
};
void InsertRule(TestDb& db, const RuleValues& row_values);

// The limits of a home slot in Kvt712Pgz, in hours. With `may_exist` limits
// already written for the slot are accepted.
struct LimitValues {
  std::string plg = "00001";
  std::string eso = "ESO01";
  std::string esa = "ESA01";
  int azk = 24;
  int rzk = 11;
};
void InsertLimits(TestDb& db, const LimitValues& row_values, bool may_exist = false);

// A day plan of Kvt329Ztg: person `pnr` works model `azt` from `von` (yyyymmdd).
struct DayPlanValues {
  std::string pnr;
  std::string von;
  std::string azt = "1";
  std::string kst = "K100";
  std::string agr = "G1";
};
void InsertDayPlan(TestDb& db, const DayPlanValues& row_values);

// The ten arguments after the configuration path.
struct RunArgs {
  std::string user = "tester";
  std::string begin = "00000000";
  std::string end = "00000000";
  std::string level = "PLG";
  std::string job1 = "JOB1";
  std::string job2 = "JOB2";
  std::string plan_group = "00000";
  std::string location = "00000";
  std::string type = "00000";
  std::string mode = "PLAN_OPTIM";
  std::vector<std::string> list() const;
};

// Connects the job's own database layer (in this process) to the test
// database with schema "plexor" and resets both column-availability flags, so
// that a test can call table routines directly. True when connected.
bool ConnectJob(const TestDb& db);

// The lines of a run log without their time stamps.
std::vector<std::string> LogMessages(const std::string& log);

}  // namespace ts
