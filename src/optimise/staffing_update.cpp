#include "optimise/staffing_update.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/int32_clamp.h"
#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"

namespace {

// One count(*) of Kvt735Bdk: 0 with the count, else the native error of the
// execution (the ODBC result when it is 0) or the fetch result.
int32_t ReadCount(const std::string& sql, int32_t& count) {
  return db::ReadLong(sql, count, {db::ZeroNative::kOdbcResult, false});
}

}  // namespace

int32_t BsmFktFigure(int32_t sol_in, int32_t min_in, int32_t max_in, int32_t ist, int32_t htg,
                     int32_t htv, int32_t htn, int32_t ove, int32_t ova) {
  // 64-bit throughout: no figure of the table can overflow or divide by 0.
  const int64_t sol = int64_t{std::max(sol_in, 0)} + 1;
  const int64_t min = int64_t{std::max(min_in, 0)} + 1;
  const int64_t max = int64_t{std::max(max_in, 0)} + 1;
  const int64_t eff = int64_t{ist} - htg - std::min(htv, htn) + ove - ova + 1;
  if (eff == sol) return 0;
  if (eff < min) return ClampToInt32((eff - min) * 100 / min - 100);
  if (eff < sol) return ClampToInt32((eff - sol) * 100 / sol);
  if (eff <= max) return 90;
  return 190;
}

void Bsm_Fkt_Berechnen(BsmRow& b) {
  b.BsmFkt = BsmFktFigure(b.BsmSol, b.BsmMin, b.BsmMax, b.BsmIst, b.BsmHtg, b.BsmHtv, b.BsmHtn,
                          b.BsmOve, b.BsmOva);
}

int32_t Bsm_Ist_Ermitteln(BsmIstWork& w) {
  BsmIstWork work = w;
  int32_t sst = 0;
  const char* s = db::Schema();
  const std::string sql = db::SqlText(
      "SELECT (SELECT COUNT(*) from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = "
      "tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and "
      "BdpAsw = tab.bdpasw and (BdpSts = 'U' or BdpSts = 'M')) as ANZKOR, (SELECT COUNT(*) from "
      "%s.kvt730bdp where Bdpplg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa "
      "and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpZtv = %ld "
      "and BdpZtb = %ld and BdpSts <> 'O' and BdpSts <> 'D') as ANZAZTEQ, (SELECT COUNT(*) from "
      "%s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa "
      "and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and (BdpZtv <> "
      "%ld or BdpZtb <> %ld) and BdpSts <> 'O' and BdpSts <> 'D') as ANZAZTOL, (SELECT COUNT(*) "
      "from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = "
      "tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and "
      "BdpSts <> 'O' and BdpSts <> 'D' and BdpFc1 <> '   ') as ANZHTG, (SELECT COUNT(*) from "
      "%s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa "
      "and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' "
      "and BdpSts <> 'D' and BdpFc2 <> '   ') as ANZHTV, (SELECT COUNT(*) from %s.kvt730bdp "
      "where BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = "
      "tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and BdpSts "
      "<> 'D' and BdpFc3 <> '   ') as ANZHTN, (SELECT Count(*) from %s.kvt730bdp where BdpPlg = "
      "tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and "
      "BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and BdpSts <> 'D' and "
      "BdpKos > 0.0) as ANZSST, (SELECT COALESCE(SUM(BdpKos),0.0) from %s.kvt730bdp where "
      "BdpPlg = tab.bdpplg and BdpEso = tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = "
      "tab.bdpbdt and BdpSzv = tab.bdpszv and BdpAsw = tab.bdpasw and BdpSts <> 'O' and BdpSts "
      "<> 'D' and BdpFc1 = '   ' and BdpFc2 = '   ' and BdpFc3 = '   ') as SUMKOS, (SELECT "
      "COALESCE(SUM(BdpKos),0.0) from %s.kvt730bdp where BdpPlg = tab.bdpplg and BdpEso = "
      "tab.bdpeso and BdpEsa = tab.bdpesa and BdpBdt = tab.bdpbdt and BdpSzv = tab.bdpszv and "
      "BdpAsw = tab.bdpasw and BdpSts <> 'D' and BdpSts <> 'M') as SUMKO2 FROM (SELECT DISTINCT "
      "BDPPLG, BDPESO, BDPESA, BDPBDT, BDPSZV, BDPASW FROM %s.Kvt730bdp WHERE BdpPlg = '%s' AND "
      "BdpEso = '%s' AND BdpEsa = '%s' AND BdpBdt = convert(datetime, '%s', 112) AND BdpSzv = "
      "%ld AND BdpAsw = %ld) tab",
      {s,
       s,
       w.BsmSzv,
       w.BsmSzb,
       s,
       w.BsmSzv,
       w.BsmSzb,
       s,
       s,
       s,
       s,
       s,
       s,
       s,
       w.plan_group,
       w.location,
       w.deployment_type,
       w.date,
       w.BsmSzv,
       w.BsmAsw});
  const int32_t rc = db::ReadOne(
      sql,
      [&](db::Columns& c) {
        c.Long(work.BsmKor).Long(work.count_equal_times).Long(work.count_other_times);
        c.Long(work.BsmHtg).Long(work.BsmHtv).Long(work.BsmHtn).Long(sst);
        c.Double(work.BsmKos).Double(work.BsmKo2);
      },
      [&] {
        work.BsmIst = ClampToInt32(int64_t{work.count_equal_times} + work.count_other_times);
        w = work;
      });
  // No assignment row at all: the slot is empty, its counts are 0.
  return rc == 100 ? 0 : rc;
}

int32_t Count_OptVorschlaege(const BsmRow& b, int32_t& leaving, int32_t& joining) {
  const std::string leaving_sql = db::SqlText(
      "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkEso = '%s' AND BdkEsa = '%s' "
      "AND BdkBdt = convert(datetime, '%s', 112) AND BdkSzv = %ld AND BdkAsw = %ld AND BdkErf = "
      "'OPTIMIERUNG'",
      {db::Schema(), b.BsmEso, b.BsmEsa, b.BsmBdt, b.BsmSzv, b.BsmAsw});
  int32_t rc = ReadCount(leaving_sql, leaving);
  // A count that could not be fetched is a failure too: taking it as 0
  // would store a wrong figure.
  if (rc != 0) return rc;

  const std::string joining_sql = db::SqlText(
      "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkOso = '%s' AND BdkOsa = '%s' "
      "AND BdkBdt = convert(datetime, '%s', 112) AND BdkOsv = %ld AND BdkOsw = %ld",
      {db::Schema(), b.BsmEso, b.BsmEsa, b.BsmBdt, b.BsmSzv, b.BsmAsw});
  return ReadCount(joining_sql, joining);
}

int32_t checkOptimierungsVorschlaege(BsmRow& b) {
  int32_t leaving = 0;
  int32_t joining = 0;
  const int32_t rc = Count_OptVorschlaege(b, leaving, joining);
  if (rc == 0) {
    b.BsmOva = leaving;
    b.BsmOve = joining;
    return 0;
  }
  runlog::Log_Printf(
      "-Fehler: checkOptimierungsVorschlaege()->Count_OptVorschlaege() RC: %ld! PLG: %s ESO: %s "
      "ESA: %s UHRVON: %ld DAT: %s",
      static_cast<long>(rc), b.BsmPlg.c_str(), b.BsmEso.c_str(), b.BsmEsa.c_str(),
      static_cast<long>(b.BsmSzv), b.BsmBdt.c_str());
  return rc;
}

int32_t Bsm_PKeyUpd(const BsmRow& b) {
  // The one text, cut where the optional columns go in: the full form sets
  // " , BsmOva = .., BsmOve = .." after BsmKo2.
  const std::string set = db::SqlText(
      "UPDATE %s.Kvt725Bsm SET BsmBsz = '%s', BsmSzb = %ld, BsmJhr = %ld, BsmMon = %ld, BsmWoc = "
      "%ld, BsmJwc = %ld, BsmTag = %ld, BsmTtp = '%s', BsmSol = %ld, BsmMin = %ld, BsmMax = %ld, "
      "BsmIst = %ld, BsmPlg = '%s', BsmHtg = %ld, BsmHtv = %ld, BsmHtn = %ld, BsmKng = %ld, "
      "BsmFkt = %ld, BsmAsw = %ld, BsmSta = %ld, BsmDat = CURRENT_TIMESTAMP, BsmErf = '%s', "
      "BsmId1 = %ld, BsmId2 = %ld, BsmId3 = %ld, BsmId4 = %ld, BsmId5 = %ld, BsmId6 = %ld, "
      "BsmId7 = %ld, BsmId8 = %ld, BsmKor = %ld, BsmKos = %f , BsmKo2 = %f",
      {db::Schema(), b.BsmBsz, b.BsmSzb, b.BsmJhr, b.BsmMon, b.BsmWoc, b.BsmJwc, b.BsmTag, b.BsmTtp,
       b.BsmSol,     b.BsmMin, b.BsmMax, b.BsmIst, b.BsmPlg, b.BsmHtg, b.BsmHtv, b.BsmHtn, b.BsmKng,
       b.BsmFkt,     b.BsmAsw, b.BsmSta, b.BsmErf, b.BsmId1, b.BsmId2, b.BsmId3, b.BsmId4, b.BsmId5,
       b.BsmId6,     b.BsmId7, b.BsmId8, b.BsmKor, b.BsmKos, b.BsmKo2});
  const std::string optional = db::SqlText(" , BsmOva = %ld, BsmOve = %ld", {b.BsmOva, b.BsmOve});
  const std::string where = db::SqlText(
      " WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt = convert(datetime, "
      "'%s', 112) AND BsmSzv = %ld AND BsmAsw = %ld",
      {b.BsmPlg, b.BsmEso, b.BsmEsa, b.BsmBdt, b.BsmSzv, b.BsmAsw});
  return db::WithOptionalColumns(db::BsmOptionalColumns(), [&](bool with_optional) {
    return db::Write(with_optional ? set + optional + where : set + where);
  });
}

int32_t Update_BsmSatz(BsmRow& b) {
  BsmIstWork w;
  w.date.set(b.BsmBdt);
  w.plan_group.set(b.BsmPlg);
  w.location.set(b.BsmEso);
  w.deployment_type.set(b.BsmEsa);
  w.day_type.set(b.BsmTtp);
  w.BsmAsw = b.BsmAsw;
  w.BsmSzv = b.BsmSzv;
  w.BsmSzb = b.BsmSzb;
  const int32_t count_rc = Bsm_Ist_Ermitteln(w);
  if (count_rc != 0) {
    // Writing the cleared work record would wipe the slot's stored counts.
    runlog::Log_Printf(
        "-Fehler: Update_BsmSatz()->Bsm_Ist_Ermitteln() RC: %ld! PLG: %s ESO: %s ESA: %s "
        "UHRVON: %ld DAT: %s",
        static_cast<long>(count_rc), b.BsmPlg.c_str(), b.BsmEso.c_str(), b.BsmEsa.c_str(),
        static_cast<long>(b.BsmSzv), b.BsmBdt.c_str());
    return count_rc;
  }
  b.BsmIst = w.BsmIst;
  b.BsmHtg = w.BsmHtg;
  b.BsmHtv = w.BsmHtv;
  b.BsmHtn = w.BsmHtn;
  b.BsmKor = w.BsmKor;
  b.BsmKos = w.BsmKos;
  b.BsmKo2 = w.BsmKo2;
  int32_t proposals_rc = 0;
  if (b.BsmAsw != 3 && b.BsmAsw != 4) {
    proposals_rc = checkOptimierungsVorschlaege(b);
    Bsm_Fkt_Berechnen(b);
  }
  const int32_t rc = Bsm_PKeyUpd(b);
  if (rc != 0) {
    runlog::Log_Printf(
        "-Fehler: Update_BsmSatz()->Bsm_PKeyUpd() RC: %ld! PLG: %s ESO: %s ESA: %s UHRVON: %ld "
        "DAT: %s",
        static_cast<long>(rc), b.BsmPlg.c_str(), b.BsmEso.c_str(), b.BsmEsa.c_str(),
        static_cast<long>(b.BsmSzv), b.BsmBdt.c_str());
  }
  return proposals_rc != 0 ? proposals_rc : rc;
}
