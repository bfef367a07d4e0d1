#include "optimise/surplus_search.h"

#include "log/run_log.h"
#include "optimise/slot_check.h"
#include "optimise/staffing_cursors.h"

namespace {

// One surplus cursor family.
struct SurplusFamily {
  int32_t (*open)(const BsmRow&);
  int32_t (*read)(BsmRow&);
  int32_t (*close)();
};

constexpr SurplusFamily kEsaSurplus{Bsm_EsaUebC_Open, Bsm_EsaUebC_Read, Bsm_EsaUebC_Close};
constexpr SurplusFamily kEsoSurplus{Bsm_EsoUebC_Open, Bsm_EsoUebC_Read, Bsm_EsoUebC_Close};
constexpr SurplusFamily kPlgSurplus{Bsm_PlgUebC_Open, Bsm_PlgUebC_Read, Bsm_PlgUebC_Close};

// Tries the surplus slots of `family` for the short row until one yields a
// proposal (1), else 0. `failed_rc` receives a failed read's result, else 0.
int32_t SearchSurplus(const SurplusFamily& family, const BsmRow& short_row, int32_t& failed_rc) {
  family.open(short_row);
  BsmRow surplus;
  int32_t rc = 0;
  int32_t result = 0;
  while ((rc = family.read(surplus)) == 0) {
    if (Prf_UebBsz_Pers(short_row, surplus) != 0) {
      result = 1;
      break;
    }
  }
  family.close();
  failed_rc = rc == 100 ? 0 : rc;
  return result;
}

}  // namespace

int32_t Get_UebBszEsa(BsmRow s) {
  int32_t rc = 0;
  const int32_t result = SearchSurplus(kEsaSurplus, s, rc);
  if (rc != 0) {
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
  const int32_t result = SearchSurplus(kEsoSurplus, s, rc);
  if (rc != 0) {
    runlog::Log_Printf(
        "-Fehler: Get_UebBszEso()->Bsm_EsoUebC_Read() RC: %ld! PLG: %s ESO: %s "
        "DAT: %s",
        static_cast<long>(rc), s.BsmPlg.c_str(), s.BsmEso.c_str(), s.BsmBdt.c_str());
  }
  return result;
}

int32_t Get_UebBszPlg(BsmRow s) {
  int32_t rc = 0;
  const int32_t result = SearchSurplus(kPlgSurplus, s, rc);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Get_UebBszPlg()->Bsm_PlgUebC_Read() RC: %ld! PLG: %s DAT: %s",
                       static_cast<long>(rc), s.BsmPlg.c_str(), s.BsmBdt.c_str());
  }
  return result;
}
