#include "move_roster.h"

#include <gtest/gtest.h>

#include <sstream>

namespace mv {
namespace {

using ts::SqlDate;
using ts::SqlQuoted;

long Int(const ts::Cell& c) {
  return c ? std::stol(*c) : 0;
}
double Real(const ts::Cell& c) {
  return c ? std::stod(*c) : 0.0;
}
std::string Text(const ts::Cell& c) {
  return c ? *c : std::string();
}

}  // namespace

void AddDays(ts::TestDb& db, const std::string& from, const std::string& to) {
  ts::InsertCalendar(db, from, to);
  for (std::string d = from; d <= to; d = ts::AddDays(d, 1)) ts::InsertDayType(db, d);
  if (db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt140Azv WHERE AzvNum = 1") > 0) return;
  ts::InsertModel(db, ts::ModelValues{});
}

void AddPerson(ts::TestDb& db, const Person& p, const std::string& date) {
  ts::InsertRule(db, {.pnr = p.pnr,
                      .gvo = ts::AddDays(date, -365),
                      .zrm = p.zrm,
                      .eso = p.eso,
                      .esa = p.esa,
                      .awp = p.awp});
  // Several persons share a home slot: its limits are written once.
  ts::InsertLimits(db, {.plg = p.plg, .eso = p.eso, .esa = p.esa, .azk = p.azk, .rzk = p.rzk},
                   true);
  ts::InsertDayPlan(db, {.pnr = p.pnr, .von = date});
}

void AddAssignment(ts::TestDb& db, const Assignment& a) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt730Bdp (BdpPnr, BdpBdt, BdpEso, BdpEsa, BdpBsz, BdpSzv, BdpSzb, "
         "BdpJhr, BdpMon, BdpWoc, BdpJwc, BdpTag, BdpTtp, BdpZtv, BdpZtb, BdpKst, BdpFc1, BdpFc2, "
         "BdpFc3, BdpOso, BdpOsa, BdpOsv, BdpOsb, BdpOsz, BdpPlg, BdpAsw, BdpSts, BdpFnr, BdpSta, "
         "BdpDat, BdpTxt, BdpErf, BdpAzt, BdpId1, BdpId2, BdpId3, BdpId4, BdpId5, BdpId6, BdpId7, "
         "BdpId8, BdpRnd, BdpAkt, BdpBnr, BdpAwp, BdpPau, BdpBzt, BdpOsw, BdpKos) VALUES ("
      << SqlQuoted(a.pnr) << ", " << SqlDate(a.date) << ", " << SqlQuoted(a.eso) << ", "
      << SqlQuoted(a.esa) << ", " << SqlQuoted(a.bsz) << ", " << a.szv << ", " << a.szb
      << ", 0, 0, 0, 0, 0, 'W', " << a.ztv << ", " << a.ztb << ", 'K100', " << SqlQuoted(a.fc1)
      << ", " << SqlQuoted(a.fc2) << ", " << SqlQuoted(a.fc3) << ", '', '', 0, 0, '', "
      << SqlQuoted(a.plg) << ", " << a.asw << ", " << SqlQuoted(a.sts) << ", 0, " << a.sta
      << ", CURRENT_TIMESTAMP, 'text', 'planner', " << a.azt << ", 0, 0, 0, 0, 0, 0, 0, 0, "
      << a.rnd << ", " << a.akt << ", 0, 0, 0, 0, 0, " << a.kos << ")";
  db.Exec(sql.str());
}

int Figure(int sol, int min, int max, int ist, int htg, int htv, int htn, int ove, int ova) {
  const int s = sol + 1;
  const int lo = min + 1;
  const int hi = max + 1;
  const int eff = ist - htg - (htv < htn ? htv : htn) + ove - ova + 1;
  if (eff == s) return 0;
  if (eff < lo) return (eff - lo) * 100 / lo - 100;
  if (eff < s) return (eff - s) * 100 / s;
  return eff <= hi ? 90 : 190;
}

ts::BsmValues Slot(const std::string& date, const std::string& eso, const std::string& esa, int szv,
                   int szb, int sol, int min, int max, int ist) {
  ts::BsmValues s;
  s.date = date;
  s.eso = eso;
  s.esa = esa;
  s.szv = szv;
  s.szb = szb;
  s.bsz = szv < 600 ? "F" : "S";
  s.sol = sol;
  s.min = min;
  s.max = max;
  s.ist = ist;
  s.fkt = Figure(sol, min, max, ist);
  return s;
}

void AddSlot(ts::TestDb& db, const ts::BsmValues& s, bool with_definition) {
  ts::InsertBsm(db, s);
  if (!with_definition) return;
  // A definition does not depend on the day: slots of other days share it.
  ts::InsertSlotDefinition(db,
                           {.plg = s.plg,
                            .eso = s.eso,
                            .esa = s.esa,
                            .ttp = s.ttp,
                            .bsz = s.bsz,
                            .von = s.szv,
                            .bis = s.szb,
                            .sol = s.sol,
                            .min = s.min,
                            .max = s.max,
                            .asw = s.asw},
                           true);
}

void AddProposal(ts::TestDb& db, const Proposal& p) {
  std::ostringstream sql;
  sql << "INSERT INTO plexor.Kvt735Bdk (BdkKey, BdkLfd, BdkPnr, BdkBdt, BdkEso, BdkEsa, BdkSzv, "
         "BdkSzb, BdkBsz, BdkAsw, BdkOso, BdkOsa, BdkOsv, BdkOsb, BdkOsz, BdkOsw, BdkPlg, BdkSts, "
         "BdkFnr, BdkSta, BdkDat, BdkErf, BdkAkt, BdkZvo, BdkZbi) VALUES ("
      << SqlQuoted(p.key) << ", 1, " << SqlQuoted(p.pnr) << ", " << SqlDate(p.date) << ", "
      << SqlQuoted(p.eso) << ", " << SqlQuoted(p.esa) << ", " << p.szv << ", 840, 'F', " << p.asw
      << ", " << SqlQuoted(p.oso) << ", " << SqlQuoted(p.osa) << ", " << p.osv << ", 840, 'F', "
      << p.osw << ", '00001', 'U', 0, " << p.sta << ", CURRENT_TIMESTAMP, " << SqlQuoted(p.erf)
      << ", " << p.szv << ", " << SqlQuoted(p.date) << ", " << SqlQuoted(p.date) << ")";
  db.Exec(sql.str());
}

std::vector<StoredProposal> Proposals(ts::TestDb& db, const std::string& where) {
  std::vector<StoredProposal> out;
  for (const ts::Row& r : db.Query(
           "SELECT BdkKey, BdkPnr, convert(char(8), BdkBdt, 112), BdkEso, BdkEsa, BdkBsz, BdkTtp, "
           "BdkOso, BdkOsa, BdkOsz, BdkPlg, BdkSts, BdkErf, BdkZvo, BdkZbi, BdkSzv, BdkSzb, "
           "BdkAsw, BdkOsv, BdkOsb, BdkOsw, BdkFnr, BdkSta, BdkLfd, BdkAkt FROM plexor.Kvt735Bdk "
           "WHERE " +
           where + " ORDER BY BdkDat, BdkPnr")) {
    StoredProposal p;
    p.key = Text(r[0]);
    p.pnr = Text(r[1]);
    p.date = Text(r[2]);
    p.eso = Text(r[3]);
    p.esa = Text(r[4]);
    p.bsz = Text(r[5]);
    p.ttp = Text(r[6]);
    p.oso = Text(r[7]);
    p.osa = Text(r[8]);
    p.osz = Text(r[9]);
    p.plg = Text(r[10]);
    p.sts = Text(r[11]);
    p.erf = Text(r[12]);
    p.zvo = Text(r[13]);
    p.zbi = Text(r[14]);
    p.szv = Int(r[15]);
    p.szb = Int(r[16]);
    p.asw = Int(r[17]);
    p.osv = Int(r[18]);
    p.osb = Int(r[19]);
    p.osw = Int(r[20]);
    p.fnr = Int(r[21]);
    p.sta = Int(r[22]);
    p.lfd = Int(r[23]);
    p.akt = Int(r[24]);
    out.push_back(p);
  }
  return out;
}

namespace {

std::string SlotQuery(bool with_optional, const std::string& where) {
  return std::string(
             "SELECT BsmPlg, BsmEso, BsmEsa, convert(char(8), BsmBdt, 112), BsmSzv, "
             "BsmSzb, BsmAsw, BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, "
             "BsmKor, BsmFkt, BsmKos, BsmKo2, convert(char(19), BsmDat, 120)") +
         (with_optional ? ", BsmOva, BsmOve" : "") + " FROM plexor.Kvt725Bsm WHERE " + where +
         " ORDER BY BsmPlg, BsmBdt, BsmEso, BsmEsa, BsmSzv";
}

StoredSlot ToSlot(const ts::Row& r, bool with_optional) {
  StoredSlot s;
  s.plg = Text(r[0]);
  s.eso = Text(r[1]);
  s.esa = Text(r[2]);
  s.date = Text(r[3]);
  s.szv = Int(r[4]);
  s.szb = Int(r[5]);
  s.asw = Int(r[6]);
  s.sol = Int(r[7]);
  s.min = Int(r[8]);
  s.max = Int(r[9]);
  s.ist = Int(r[10]);
  s.htg = Int(r[11]);
  s.htv = Int(r[12]);
  s.htn = Int(r[13]);
  s.kor = Int(r[14]);
  s.fkt = Int(r[15]);
  s.kos = Real(r[16]);
  s.ko2 = Real(r[17]);
  s.recounted = r[18].has_value();
  s.ova = with_optional ? Int(r[19]) : 0;
  s.ove = with_optional ? Int(r[20]) : 0;
  return s;
}

}  // namespace

std::vector<StoredSlot> Slots(ts::TestDb& db, bool with_optional) {
  std::vector<StoredSlot> out;
  for (const ts::Row& r : db.Query(SlotQuery(with_optional, "1 = 1"))) {
    out.push_back(ToSlot(r, with_optional));
  }
  return out;
}

StoredSlot SlotAt(ts::TestDb& db, const std::string& eso, const std::string& esa,
                  const std::string& date, int szv, bool with_optional) {
  const std::vector<ts::Row> rows =
      db.Query(SlotQuery(with_optional, "BsmEso = '" + eso + "' AND BsmEsa = '" + esa +
                                            "' AND BsmBdt = " + SqlDate(date) +
                                            " AND BsmSzv = " + std::to_string(szv)));
  EXPECT_EQ(rows.size(), 1u) << eso << "/" << esa << " " << date << " " << szv;
  return rows.empty() ? StoredSlot{} : ToSlot(rows[0], with_optional);
}

Recount RecountSlot(ts::TestDb& db, const StoredSlot& s) {
  const std::string slot = "BdpPlg = '" + s.plg + "' AND BdpEso = '" + s.eso + "' AND BdpEsa = '" +
                           s.esa + "' AND BdpBdt = " + SqlDate(s.date) +
                           " AND BdpSzv = " + std::to_string(s.szv) +
                           " AND BdpAsw = " + std::to_string(s.asw);
  const std::string live = slot + " AND BdpSts <> 'O' AND BdpSts <> 'D'";
  Recount r;
  r.ist = db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt730Bdp WHERE " + live);
  r.htg =
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt730Bdp WHERE " + live + " AND BdpFc1 <> '   '");
  r.htv =
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt730Bdp WHERE " + live + " AND BdpFc2 <> '   '");
  r.htn =
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt730Bdp WHERE " + live + " AND BdpFc3 <> '   '");
  r.kor = db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt730Bdp WHERE " + slot +
                       " AND (BdpSts = 'U' OR BdpSts = 'M')");
  const std::string day = "BdkSta = 9 AND BdkBdt = " + SqlDate(s.date);
  r.ova =
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt735Bdk WHERE " + day + " AND BdkEso = '" +
                   s.eso + "' AND BdkEsa = '" + s.esa + "' AND BdkSzv = " + std::to_string(s.szv) +
                   " AND BdkAsw = " + std::to_string(s.asw) + " AND BdkErf = 'OPTIMIERUNG'");
  r.ove =
      db.ScalarInt("SELECT COUNT(*) FROM plexor.Kvt735Bdk WHERE " + day + " AND BdkOso = '" +
                   s.eso + "' AND BdkOsa = '" + s.esa + "' AND BdkOsv = " + std::to_string(s.szv) +
                   " AND BdkOsw = " + std::to_string(s.asw));
  return r;
}

std::vector<std::string> Messages(const ts::PlexorRun& run) {
  return ts::LogMessages(run.log);
}

ts::RunArgs Args(const std::string& begin, const std::string& end, const std::string& plan_group,
                 const std::string& location, const std::string& type) {
  ts::RunArgs a;
  a.begin = begin;
  a.end = end;
  a.plan_group = plan_group;
  a.location = location;
  a.type = type;
  return a;
}

}  // namespace mv
