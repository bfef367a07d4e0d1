#include "optimise/slot_check.h"

#include <string>

#include "db/connection.h"
#include "db/datetime_text.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "log/run_log.h"
#include "optimise/person_day.h"
#include "optimise/person_record.h"
#include "optimise/proposal.h"
#include "optimise/staffing_update.h"

namespace {

// The cursor of the Bdp_BszPnr family.
db::Cursor g_bdp_bsz_pnr;

// Kind of assignment rule whose persons the optimisation never moves.
constexpr int32_t kNotMovable = 3;

}  // namespace

int32_t Bdp_BszPnr_Open(const BsmRow& s) {
  const std::string format =
      std::string(BdpSelectList()) +
      " FROM %s.Kvt730Bdp WHERE BdpPlg = '%s' AND BdpEso = '%s' AND BdpEsa = '%s' AND BdpBdt = "
      "convert(datetime, '%s', 112) AND BdpSzv = %ld AND BdpAkt <> 9999 AND BdpAsw = %ld AND "
      "BdpSts = ' ' AND BdpSta = 0 AND BdpFc1 = '   ' AND BdpFc2 = '   ' AND BdpFc3 = '   ' "
      "ORDER BY BdpBdt, BdpEso, BdpEsa, BdpSzv, BdpRnd";
  return g_bdp_bsz_pnr.Open(db::SqlText(
      format.c_str(), {db::Schema(), s.BsmPlg, s.BsmEso, s.BsmEsa, s.BsmBdt, s.BsmSzv, s.BsmAsw}));
}

int32_t Bdp_BszPnr_Read(BdpRow& row) {
  BdpRow work = row;
  FixedText<20> dat_work;
  return g_bdp_bsz_pnr.Read([&](db::Columns& c) { BindBdpRow(c, work, dat_work); },
                            [&] {
                              db::DatZeit_Kompakt(dat_work.c_str(), work.BdpDat);
                              row = work;
                            });
}

int32_t Bdp_BszPnr_Close() {
  return g_bdp_bsz_pnr.Close();
}

int32_t Prf_UebBsz_Pers(BsmRow short_row, BsmRow surplus_row) {
  int32_t result = 0;
  BssSatz target;
  BdpRow assignment;
  Bdp_BszPnr_Open(surplus_row);
  int32_t rc = Bdp_BszPnr_Read(assignment);
  while (rc == 0) {
    PnrSatz person;
    person.pnr.set(assignment.BdpPnr);
    Fill_PnrBss(person, target, short_row);
    if (person.PbvAwp != kNotMovable &&
        Erstelle_Umbesetzungsvorschlag(person, target, assignment) != 0) {
      Update_BsmSatz(short_row);
      Update_BsmSatz(surplus_row);
      result = 1;
      break;
    }
    rc = Bdp_BszPnr_Read(assignment);
  }
  Bdp_BszPnr_Close();
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf(
        "-Fehler: Prf_UebBsz_Pers()->Bdp_BszPnr_Read() RC: %ld! PLG: %s ESO: %s ESA: %s DAT: %s "
        "VON: %ld.",
        static_cast<long>(rc), surplus_row.BsmPlg.c_str(), surplus_row.BsmEso.c_str(),
        surplus_row.BsmEsa.c_str(), surplus_row.BsmBdt.c_str(),
        static_cast<long>(surplus_row.BsmSzv));
  }
  return result;
}
