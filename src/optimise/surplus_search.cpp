#include "optimise/surplus_search.h"

#include "log/run_log.h"
#include "optimise/slot_check.h"
#include "optimise/staffing_cursors.h"

namespace {

// Tries the surplus slots that `read` delivers until one yields a proposal.
// `last_rc` receives the last read result.
template <class Read>
int32_t TrySurplusSlots(const BsmRow& short_row, Read&& read, int32_t& last_rc) {
  BsmRow surplus;
  while ((last_rc = read(surplus)) == 0) {
    if (Prf_UebBsz_Pers(short_row, surplus) != 0) return 1;
  }
  return 0;
}

}  // namespace

int32_t Get_UebBszEsa(BsmRow s) {
  int32_t rc = 0;
  Bsm_EsaUebC_Open(s);
  const int32_t result = TrySurplusSlots(s, Bsm_EsaUebC_Read, rc);
  Bsm_EsaUebC_Close();
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf(
        "-Fehler: Get_UebBszEsa()->Bsm_EsaUebC_Read() RC: %ld! PLG: %s ESO: %s "
        "ESA: %s DAT: %s",
        static_cast<long>(rc), s.BsmPlg.c_str(), s.BsmEso.c_str(), s.BsmEsa.c_str(),
        s.BsmBdt.c_str());
  }
  return result;
}

int32_t Get_UebBszEso(BsmRow s) {
  int32_t rc = 0;
  Bsm_EsoUebC_Open(s);
  const int32_t result = TrySurplusSlots(s, Bsm_EsoUebC_Read, rc);
  Bsm_EsoUebC_Close();
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf(
        "-Fehler: Get_UebBszEso()->Bsm_EsoUebC_Read() RC: %ld! PLG: %s ESO: %s "
        "DAT: %s",
        static_cast<long>(rc), s.BsmPlg.c_str(), s.BsmEso.c_str(), s.BsmBdt.c_str());
  }
  return result;
}

int32_t Get_UebBszPlg(BsmRow s) {
  int32_t rc = 0;
  Bsm_PlgUebC_Open(s);
  const int32_t result = TrySurplusSlots(s, Bsm_PlgUebC_Read, rc);
  Bsm_PlgUebC_Close();
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf("-Fehler: Get_UebBszPlg()->Bsm_PlgUebC_Read() RC: %ld! PLG: %s DAT: %s",
                       static_cast<long>(rc), s.BsmPlg.c_str(), s.BsmBdt.c_str());
  }
  return result;
}
