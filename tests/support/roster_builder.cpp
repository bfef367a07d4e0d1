#include "support/roster_builder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "db/connection.h"
#include "db/statement.h"

namespace ts {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

sys_days Parse(const std::string& yyyymmdd) {
  const int y = std::stoi(yyyymmdd.substr(0, 4));
  const unsigned m = static_cast<unsigned>(std::stoi(yyyymmdd.substr(4, 2)));
  const unsigned d = static_cast<unsigned>(std::stoi(yyyymmdd.substr(6, 2)));
  return sys_days(year_month_day(year(y), month(m), day(d)));
}

std::string Format(sys_days t) {
  const year_month_day ymd(t);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return buf;
}

std::string DateTimeOrNull(const std::optional<std::string>& text) {
  if (!text) return "NULL";
  return "convert(datetime, " + SqlQuoted(text) + ", 120)";
}

}  // namespace

std::string AddDays(const std::string& yyyymmdd, int n) {
  return Format(Parse(yyyymmdd) + days(n));
}

int IsoWeekday(const std::string& yyyymmdd) {
  return static_cast<int>(std::chrono::weekday(Parse(yyyymmdd)).iso_encoding());
}

std::string NextWeekday(const std::string& from, int weekday) {
  std::string d = from;
  while (IsoWeekday(d) != weekday) d = AddDays(d, 1);
  return d;
}

std::string SqlDate(const std::string& yyyymmdd) {
  return "convert(datetime, '" + yyyymmdd + "', 112)";
}

std::string SqlQuoted(const std::optional<std::string>& text) {
  if (!text) return "NULL";
  std::string out = "'";
  for (char c : *text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

void InsertCalendar(TestDb& db, const std::string& from, const std::string& to) {
  for (sys_days t = Parse(from); t <= Parse(to); t += days(1)) {
    const year_month_day ymd(t);
    const int y = static_cast<int>(ymd.year());
    const int day_of_year =
        (t - sys_days(year_month_day(ymd.year(), month(1), day(1)))).count() + 1;
    // ISO week: the week of the Thursday of this date's week.
    const int wd = static_cast<int>(std::chrono::weekday(t).iso_encoding());
    const sys_days thursday = t + days(4 - wd);
    const year_month_day thu(thursday);
    const int week =
        (thursday - sys_days(year_month_day(thu.year(), month(1), day(1)))).count() / 7 + 1;
    std::ostringstream sql;
    sql << "INSERT INTO KvtSystem.Kvt133Bak (BakDtm, BakJhr, BakMon, BakTag, BakWch, BakWtg, "
           "BakJtg) VALUES ("
        << SqlDate(Format(t)) << ", " << y << ", " << static_cast<unsigned>(ymd.month()) << ", "
        << static_cast<unsigned>(ymd.day()) << ", " << week << ", " << wd << ", " << day_of_year
        << ")";
    db.Exec(sql.str());
  }
}

void InsertPlanGroup(TestDb& db, const PlanGroupValues& s) {
  std::ostringstream cols;
  std::ostringstream vals;
  cols << "PlgPlg, PlgTxt, PlgKal, PlgHzt, PlgSta, PlgDat, PlgErf, PlgPdt, PlgPlr, PlgBeg, "
          "PlgUsr, PlgPgm, PlgFts";
  vals << SqlQuoted(s.code) << ", " << SqlQuoted(s.txt) << ", " << SqlQuoted(s.kal) << ", " << s.hzt
       << ", " << s.sta << ", " << DateTimeOrNull(s.dat) << ", " << SqlQuoted(s.erf) << ", "
       << DateTimeOrNull(s.pdt) << ", " << SqlQuoted(s.plr) << ", " << DateTimeOrNull(s.beg) << ", "
       << SqlQuoted(s.usr) << ", " << SqlQuoted(s.pgm) << ", " << s.fts;
  for (const char* set : {"1", "2", "3"}) {
    for (const char* name : {"PlgQu", "PlgAr", "PlgRu", "PlgMe", "PlgAm", "PlgRe"}) {
      cols << ", " << name << set;
      vals << ", " << s.switches;
    }
  }
  if (s.with_optional) {
    cols << ", PlgOpt, PlgOpl";
    vals << ", " << s.opt << ", " << s.opl;
  }
  db.Exec("INSERT INTO plexor.Kvt701Plg (" + cols.str() + ") VALUES (" + vals.str() + ")");
}

void InsertBsm(TestDb& db, const BsmValues& s) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt725Bsm (BsmBdt, BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, BsmJhr, "
         "BsmMon, BsmWoc, BsmJwc, BsmTag, BsmTtp, BsmSol, BsmMin, BsmMax, BsmIst, BsmPlg, BsmHtg, "
         "BsmHtv, BsmHtn, BsmKng, BsmFkt, BsmAsw, BsmSta, BsmDat, BsmErf, BsmKos, BsmKo2";
  if (s.with_optional) sql << ", BsmOva, BsmOve";
  sql << ") VALUES (" << SqlDate(s.date) << ", " << SqlQuoted(s.eso) << ", " << SqlQuoted(s.esa)
      << ", " << SqlQuoted(s.bsz) << ", " << s.szv << ", " << s.szb << ", " << s.date.substr(0, 4)
      << ", " << std::stoi(s.date.substr(4, 2)) << ", 0, 0, " << IsoWeekday(s.date) << ", "
      << SqlQuoted(s.ttp) << ", " << s.sol << ", " << s.min << ", " << s.max << ", " << s.ist
      << ", " << SqlQuoted(s.plg) << ", " << s.htg << ", " << s.htv << ", " << s.htn << ", "
      << s.kng << ", " << s.fkt << ", " << s.asw << ", " << s.sta << ", NULL, 'builder', " << s.kos
      << ", " << s.ko2;
  if (s.with_optional) sql << ", " << s.ova << ", " << s.ove;
  sql << ")";
  db.Exec(sql.str());
}

void InsertError(TestDb& db, const ErrValues& s) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt746Err (ErrPlg, ErrKng, ErrDat, ErrLfn, ErrPnr, ErrEso, ErrEsa, "
         "ErrKnz, ErrBdt, ErrZtv, ErrZtb, ErrFnr, ErrErf, ErrJbd, ErrJbk) VALUES ("
      << SqlQuoted(s.plg) << ", " << SqlQuoted(s.kng) << ", CURRENT_TIMESTAMP, " << s.lfn
      << ", '', " << SqlQuoted(s.eso) << ", " << SqlQuoted(s.esa) << ", 'F', "
      << (s.bdt ? SqlDate(*s.bdt) : std::string("NULL")) << ", 360, 840, " << s.fnr << ", "
      << SqlQuoted(s.erf) << ", 'J1', 'J2')";
  db.Exec(sql.str());
}

void InsertDayType(TestDb& db, const std::string& date, const std::string& ttp,
                   const std::string& ptp, const std::string& kal) {
  db.Exec("INSERT INTO plexor.Kvt133Ka2 (Ka2Num, Ka2Dtm, Ka2Ttp, Ka2Ptp, Ka2Gwt) VALUES (" +
          SqlQuoted(kal) + ", " + SqlDate(date) + ", " + SqlQuoted(ttp) + ", " + SqlQuoted(ptp) +
          ", 0)");
}

void InsertModel(TestDb& db, const ModelValues& m) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt140Azv (AzvNum, AzvKev, AzvKeb, AzvGlv, AzvGlb, AzvGvo, AzvGbi, "
         "AzvSol) VALUES ("
      << m.num << ", " << m.kev << ", " << m.keb << ", " << m.glv << ", " << m.glb << ", "
      << SqlDate(m.gvo) << ", " << (m.gbi ? SqlDate(*m.gbi) : "NULL") << ", " << m.sol << ")";
  db.Exec(sql.str());
}

namespace {

// Runs `sql`; with `may_exist` a duplicate key (2627) is no failure.
void ExecMayExist(TestDb& db, const std::string& sql, bool may_exist) {
  if (!may_exist) {
    db.Exec(sql);
    return;
  }
  const int32_t rc = db.ExecNative(sql);
  EXPECT_TRUE(rc == 0 || rc == 2627) << rc << " " << sql;
}

}  // namespace

void InsertSlotDefinition(TestDb& db, const SlotDefinitionValues& s, bool may_exist) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt720Bss (BssPlg, BssEso, BssEsa, BssTtp, BssBsz, BssVon, BssBis, "
         "BssTxt, BssSol, BssMin, BssMax, BssMwt, BssVtg, BssAtg, BssKgw, BssKmw, BssAsw) VALUES ("
      << SqlQuoted(s.plg) << ", " << SqlQuoted(s.eso) << ", " << SqlQuoted(s.esa) << ", "
      << SqlQuoted(s.ttp) << ", " << SqlQuoted(s.bsz) << ", " << s.von << ", " << s.bis << ", "
      << SqlQuoted(s.txt) << ", " << s.sol << ", " << s.min << ", " << s.max << ", " << s.mwt
      << ", 0, 0, 0, 0, " << s.asw << ")";
  ExecMayExist(db, sql.str(), may_exist);
}

void InsertRule(TestDb& db, const RuleValues& r) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt710Pbv (PbvPnr, PbvGvo, PbvGbi, PbvZrm, PbvEso, PbvEsa, PbvAwp, "
         "PbvSst) VALUES ("
      << SqlQuoted(r.pnr) << ", " << SqlDate(r.gvo) << ", NULL, " << r.zrm << ", "
      << SqlQuoted(r.eso) << ", " << SqlQuoted(r.esa) << ", " << r.awp << ", 'SST')";
  db.Exec(sql.str());
}

void InsertLimits(TestDb& db, const LimitValues& l, bool may_exist) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt712Pgz (PgzPlg, PgzEso, PgzEsa, PgzAzk, PgzRzk) VALUES ("
      << SqlQuoted(l.plg) << ", " << SqlQuoted(l.eso) << ", " << SqlQuoted(l.esa) << ", " << l.azk
      << ", " << l.rzk << ")";
  ExecMayExist(db, sql.str(), may_exist);
}

void InsertDayPlan(TestDb& db, const DayPlanValues& d) {
  db.Exec("INSERT INTO plexor.Kvt329Ztg (ZtgPnr, ZtgVon, ZtgAzt, ZtgKst, ZtgAgr) VALUES (" +
          SqlQuoted(d.pnr) + ", " + SqlDate(d.von) + ", " + SqlQuoted(d.azt) + ", " +
          SqlQuoted(d.kst) + ", " + SqlQuoted(d.agr) + ")");
}

std::vector<std::string> RunArgs::list() const {
  return {user, begin, end, level, job1, job2, plan_group, location, type, mode};
}

bool ConnectJob(const TestDb& db) {
  if (db::dbConnect("plexor", "secret", db.dsn().c_str()) != 0) return false;
  db::SetSchema("plexor");
  db::PlgOptionalColumns().present = true;
  db::BsmOptionalColumns().present = true;
  return true;
}

std::vector<std::string> LogMessages(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream in(log);
  std::string line;
  // "yyyy-mm-dd hh:mm:ss  message"
  while (std::getline(in, line)) out.push_back(line.size() >= 21 ? line.substr(21) : line);
  return out;
}

}  // namespace ts
