#include "optimise/person_day.h"

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"

void SelectWorkingWindow(PnrSatz& p, int32_t zrm) {
  if (zrm == 1) {
    p.window_begin = p.AzvKev;
    p.window_end = p.AzvKeb;
  } else if (zrm == 2) {
    p.window_begin = p.AzvGlv;
    p.window_end = p.AzvGlb;
  }
}

int32_t Bss_PKeyRead(BssSatz& t) {
  BssSatz work = t;
  const std::string sql = db::SqlText(
      "SELECT BssPlg, BssEso, BssEsa, BssTtp, BssBsz, BssVon, BssBis, BssTxt, BssSol, BssMin, "
      "BssMax, BssMwt, BssVtg, BssAtg, BssKgw, BssKmw, BssAsw FROM %s.Kvt720Bss WHERE BssPlg = "
      "'%s' AND BssEso = '%s' AND BssEsa = '%s' AND BssTtp = '%s' AND BssVon = %ld AND BssAsw = "
      "%ld",
      {db::Schema(), t.BssPlg, t.BssEso, t.BssEsa, t.BssTtp, t.BssVon, t.BssAsw});
  return db::ReadOne(
      sql,
      [&](db::Columns& c) {
        c.Text(work.BssPlg).Text(work.BssEso).Text(work.BssEsa).Text(work.BssTtp);
        c.Text(work.BssBsz).Long(work.BssVon).Long(work.BssBis).Text(work.BssTxt);
        c.Long(work.BssSol).Long(work.BssMin).Long(work.BssMax).Double(work.BssMwt);
        c.Long(work.BssVtg).Long(work.BssAtg).Long(work.BssKgw).Long(work.BssKmw);
        c.Long(work.BssAsw);
      },
      [&] { t = work; });
}

int32_t Komplett_PnrSatz(PnrSatz& p) {
  // The valid rule; a failed fetch is diagnosed but the limits are still
  // looked up, with the values the rule read left (0 and empty).
  int32_t zrm = 0;
  int32_t awp = 0;
  FixedText<6> eso;
  FixedText<6> esa;
  FixedText<11> sst;
  bool executed = false;
  const std::string rule_sql = db::SqlText(
      "SELECT PbvZrm, PbvEso, PbvEsa, PbvAwp, PbvSst FROM %s.Kvt710Pbv WHERE PbvPnr = '%s' AND "
      "PbvGvo <= convert(datetime, '%s', 112) AND (PbvGbi IS NULL OR PbvGbi >= "
      "convert(datetime, '%s', 112))",
      {db::Schema(), p.pnr, p.date, p.date});
  const int32_t rule_rc = db::ReadOne(
      rule_sql,
      [&](db::Columns& c) {
        executed = true;
        c.Long(zrm).Text(eso).Text(esa).Long(awp).Text(sst);
      },
      [] {}, {db::ZeroNative::kMinusOne, true});
  if (!executed) return rule_rc;

  int32_t azk = 0;
  int32_t rzk = 0;
  int32_t work_azk = 0;
  int32_t work_rzk = 0;
  const std::string limits_sql = db::SqlText(
      "SELECT PgzAzk, PgzRzk FROM %s.Kvt712Pgz WHERE PgzPlg = '%s' AND PgzEso = '%s' AND "
      "PgzEsa = '%s'",
      {db::Schema(), p.plan_group, eso, esa});
  const int32_t rc = db::ReadOne(
      limits_sql, [&](db::Columns& c) { c.Long(work_azk).Long(work_rzk); },
      [&] {
        azk = work_azk;
        rzk = work_rzk;
      },
      {db::ZeroNative::kMinusOne, true});
  if (rc != 0) return rc;
  p.home_eso.set(eso);
  p.home_esa.set(esa);
  p.PgzAzk = azk;
  p.PgzRzk = rzk;
  p.PbvZrm = zrm;
  p.PbvAwp = awp;
  return 0;
}

int32_t Ztg_AbzTag_Read(PnrSatz& p) {
  PnrSatz work = p;
  FixedText<6> azt;
  FixedText<11> kst;
  FixedText<4> ptp;
  int32_t gwt = 0;
  const std::string sql = db::SqlText(
      "SELECT ZtgAzt, ZtgKst, Ka2Ttp, Ka2Ptp, Ka2Gwt, AzvKev, AzvKeb, AzvGlv, AzvGlb FROM "
      "%s.Kvt329Ztg, %s.Kvt140Azv, %s.Kvt133Ka2, %s.Kvt701Plg WHERE ZtgPnr = '%s' AND ZtgVon = "
      "convert(datetime, '%s', 112) AND ZtgAzt = AzvNum AND AzvGvo <= ZtgVon AND (AzvGbi >= "
      "ZtgVon OR AzvGbi is NULL) AND PlgPlg = '%s' AND PlgKal = Ka2Num AND Ka2Dtm = ZtgVon",
      {db::Schema(), db::Schema(), db::Schema(), db::Schema(), p.pnr, p.date, p.plan_group});
  return db::ReadOne(
      sql,
      [&](db::Columns& c) {
        c.Text(azt).Text(kst).Text(work.day_type).Text(ptp).Long(gwt);
        c.Long(work.AzvKev).Long(work.AzvKeb).Long(work.AzvGlv).Long(work.AzvGlb);
      },
      [&] {
        SelectWorkingWindow(work, work.PbvZrm);
        p = work;
      },
      {db::ZeroNative::kMinusOne, true});
}

void Fill_PnrBss(PnrSatz& p, BssSatz& t, const BsmRow& r) {
  t.BssPlg.set(r.BsmPlg);
  t.BssEso.set(r.BsmEso);
  t.BssEsa.set(r.BsmEsa);
  t.BssTtp.set(r.BsmTtp);
  t.BssVon = r.BsmSzv;
  t.BssAsw = r.BsmAsw;
  int32_t rc = Bss_PKeyRead(t);
  if (rc != 0) {
    runlog::Log_Printf(
        "-Fehler: Fill_PnrBss()->Bss_PKeyRead() RC: %ld! PLG: %s ESO: %s ESA: %s UHRVON: %ld "
        "TTP: %s",
        static_cast<long>(rc), t.BssPlg.c_str(), t.BssEso.c_str(), t.BssEsa.c_str(),
        static_cast<long>(t.BssVon), t.BssTtp.c_str());
  }

  p.date.set(r.BsmBdt);
  p.plan_group.set(r.BsmPlg);

  rc = Komplett_PnrSatz(p);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Fill_PnrBss()->Komplett_PnrSatz() RC: %ld! PNR: %s DAT: %s",
                       static_cast<long>(rc), p.pnr.c_str(), p.date.c_str());
  }
  rc = Ztg_AbzTag_Read(p);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Fill_PnrBss()->Ztg_AbzTag_Read() RC: %ld! PNR: %s DAT: %s",
                       static_cast<long>(rc), p.pnr.c_str(), p.date.c_str());
  }
}
