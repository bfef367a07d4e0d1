#include "optimise/proposal.h"

#include <cstdio>
#include <cstdlib>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"
#include "optimise/eligibility.h"

namespace {

// The switch set of the plan-group row that the checks read.
constexpr int32_t kSwitchSet = 2;
// Duplicate key of a unique constraint or of a unique index: the drawn key
// is taken.
constexpr int32_t kDuplicateKey = 2627;
constexpr int32_t kDuplicateIndexKey = 2601;
// Inserts tried, each with a freshly drawn key after a duplicate key.
constexpr int kKeyAttempts = 5;

// One draw in 0..32767 from the generator seeded at the start of the run.
// The high bits are used: they are the better ones of the C generator.
int32_t DrawKeyNumber() {
  return static_cast<int32_t>((std::rand() >> 16) & 0x7FFF);
}

// Whether the open-proposal count now sees the proposal just inserted for the
// assignment. The sweep starts its level pass again after every recorded
// proposal and relies on that count to refuse the assignment the next time;
// a proposal it cannot see (closed at once by somebody else, or stored
// differently from how it was written) would otherwise be made over and over
// again. Such a proposal is logged and not reported as recorded.
bool StillOpen(const BdpRow& r) {
  int32_t count = 0;
  const int32_t rc = Bdk_isPnrVerplant(r, count);
  if (rc == 0 && count > 0) return true;
  runlog::Log_Printf(
      "-Fehler: Erstelle_Umbesetzungsvorschlag()->Bdk_isPnrVerplant() RC: %ld ANZ: %ld! PLG: %s "
      "PNR: %s ESO: %s ESA: %s DAT: %s VON: %ld.",
      static_cast<long>(rc), static_cast<long>(count), r.BdpPlg.c_str(), r.BdpPnr.c_str(),
      r.BdpEso.c_str(), r.BdpEsa.c_str(), r.BdpBdt.c_str(), static_cast<long>(r.BdpSzv));
  return false;
}

}  // namespace

std::string ProposalKey(int32_t r1, int32_t r2, int32_t r3, int32_t r4) {
  char key[64];
  std::snprintf(key, sizeof key, "OPTVS%ld%ld%ld%ld", static_cast<long>(r4), static_cast<long>(r3),
                static_cast<long>(r2), static_cast<long>(r1));
  return key;
}

std::string DrawProposalKey() {
  const int32_t r1 = DrawKeyNumber();
  const int32_t r2 = DrawKeyNumber();
  const int32_t r3 = DrawKeyNumber();
  const int32_t r4 = DrawKeyNumber();
  return ProposalKey(r1, r2, r3, r4);
}

BdkRow BuildProposal(const PnrSatz& p, const BssSatz& t, const BdpRow& r, const std::string& key) {
  BdkRow b;
  b.BdkKey.set(key);
  b.BdkLfd = 1;
  b.BdkPnr.set(p.pnr);
  b.BdkBdt.set(p.date);
  b.BdkEso.set(r.BdpEso);
  b.BdkEsa.set(r.BdpEsa);
  b.BdkSzv = r.BdpSzv;
  b.BdkSzb = r.BdpSzb;
  b.BdkBsz.set(r.BdpBsz);
  b.BdkTtp.set(p.day_type);
  b.BdkOso.set(t.BssEso);
  b.BdkOsa.set(t.BssEsa);
  b.BdkOsv = t.BssVon;
  b.BdkOsb = t.BssBis;
  b.BdkOsz.set(t.BssBsz);
  b.BdkPlg.set(p.plan_group);
  b.BdkAsw = r.BdpAsw;
  b.BdkSts.set("U");
  b.BdkFnr = p.error_number;
  b.BdkSta = 9;
  b.BdkErf.set("OPTIMIERUNG");
  b.BdkAkt = r.BdpSzv;
  b.BdkOsw = t.BssAsw;
  b.BdkZvo.set(p.date);
  b.BdkZbi.set(p.date);
  return b;
}

int32_t Bdk_isPnrVerplant(const BdpRow& r, int32_t& count) {
  count = 0;
  const std::string sql = db::SqlText(
      "SELECT count(*) FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkPnr = '%s' AND BdkEso = '%s' "
      "AND BdkEsa = '%s' AND BdkBdt = convert(datetime, '%s', 112) AND BdkSzv = %ld ",
      {db::Schema(), r.BdpPnr, r.BdpEso, r.BdpEsa, r.BdpBdt, r.BdpSzv});
  return db::ReadLong(sql, count, {db::ZeroNative::kMinusOne, false});
}

int32_t Bdk_Insert(const BdkRow& b) {
  const std::string sql = db::SqlText(
      "INSERT INTO %s.Kvt735Bdk (BdkKey, BdkLfd, BdkPnr, BdkBdt, BdkEso, BdkEsa, BdkSzv, "
      "BdkSzb, BdkBsz, BdkJhr, BdkMon, BdkWoc, BdkJwc, BdkTtp, BdkTag, BdkZtv, BdkZtb, BdkKst, "
      "BdkFc1, BdkFc2, BdkFc3, BdkOso, BdkOsa, BdkOsv, BdkOsb, BdkOsz, BdkPlg, BdkAsw, BdkSts, "
      "BdkFnr, BdkSta, BdkDat, BdkTxt, BdkErf, BdkAzt, BdkId1, BdkId2, BdkId3, BdkId4, BdkId5, "
      "BdkId6, BdkId7, BdkId8, BdkAkt, BdkRnd, BdkOsw, BdkZvo, BdkZbi ) VALUES ('%s', %ld , "
      "'%s', convert(datetime, '%s', 112), '%s', '%s', %ld , %ld , '%s', %ld , %ld , %ld , %ld "
      ", '%s', %ld , %ld , %ld , '%s', '%s', '%s', '%s', '%s', '%s', %ld , %ld , '%s', '%s', "
      "%ld , '%s', %ld , %ld , CURRENT_TIMESTAMP, '%s', '%s', %ld , %ld , %ld , %ld , %ld , "
      "%ld , %ld , %ld , %ld , %ld , %ld , %ld , '%s', '%s' ) ",
      {db::Schema(), b.BdkKey, b.BdkLfd, b.BdkPnr, b.BdkBdt, b.BdkEso, b.BdkEsa, b.BdkSzv,
       b.BdkSzb,     b.BdkBsz, b.BdkJhr, b.BdkMon, b.BdkWoc, b.BdkJwc, b.BdkTtp, b.BdkTag,
       b.BdkZtv,     b.BdkZtb, b.BdkKst, b.BdkFc1, b.BdkFc2, b.BdkFc3, b.BdkOso, b.BdkOsa,
       b.BdkOsv,     b.BdkOsb, b.BdkOsz, b.BdkPlg, b.BdkAsw, b.BdkSts, b.BdkFnr, b.BdkSta,
       b.BdkTxt,     b.BdkErf, b.BdkAzt, b.BdkId1, b.BdkId2, b.BdkId3, b.BdkId4, b.BdkId5,
       b.BdkId6,     b.BdkId7, b.BdkId8, b.BdkAkt, b.BdkRnd, b.BdkOsw, b.BdkZvo, b.BdkZbi});
  return db::Write(sql);
}

int32_t Erstelle_Umbesetzungsvorschlag(PnrSatz& p, const BssSatz& t, const BdpRow& r) {
  std::string key = DrawProposalKey();

  Zeitfenster_OK(p, t.BssVon, t.BssBis);
  IndikatorPrf(p, t, kSwitchSet);

  int32_t count = 0;
  const int32_t count_rc = Bdk_isPnrVerplant(r, count);
  if (count_rc != 0 && count_rc != 100) {
    runlog::Log_Printf(
        "-Fehler: Prf_UebBsz_Pers()->Bdk_isPnrVerplant() RC: %ld! PLG: %s PNR: %s ESO: %s ESA: "
        "%s DAT: %s VON: %ld.",
        static_cast<long>(count_rc), r.BdpPlg.c_str(), r.BdpPnr.c_str(), r.BdpEso.c_str(),
        r.BdpEsa.c_str(), r.BdpBdt.c_str(), static_cast<long>(r.BdpSzv));
    // Without the count nobody can tell whether the assignment is proposed
    // already: inserting anyway could propose it again on every restart.
    return 0;
  }
  if (count > 0) return 0;

  BdkRow b = BuildProposal(p, t, r, key);
  int32_t rc = Bdk_Insert(b);
  for (int attempt = 1; (rc == kDuplicateKey || rc == kDuplicateIndexKey) && attempt < kKeyAttempts;
       ++attempt) {
    b.BdkKey.set(DrawProposalKey());
    rc = Bdk_Insert(b);
  }
  if (rc == 0) return StillOpen(r) ? 1 : 0;
  runlog::Log_Printf(
      "-Fehler: Erstelle_Umbesetzungsvorschlag()->Bdk_Insert() RC: %ld! PLG: %s PNR: %s DAT: "
      "%s\n    Von: ESO: %s ESA: %s VON: %ld KNZ: %s Art: %ld \n   Nach: ESO: %s ESA: %s VON: "
      "%ld KNZ: %s Art: %ld ",
      static_cast<long>(rc), b.BdkPlg.c_str(), b.BdkPnr.c_str(), b.BdkBdt.c_str(), b.BdkEso.c_str(),
      b.BdkEsa.c_str(), static_cast<long>(b.BdkSzv), b.BdkBsz.c_str(), static_cast<long>(b.BdkAsw),
      b.BdkOso.c_str(), b.BdkOsa.c_str(), static_cast<long>(b.BdkOsv), b.BdkOsz.c_str(),
      static_cast<long>(b.BdkOsw));
  return 0;
}
