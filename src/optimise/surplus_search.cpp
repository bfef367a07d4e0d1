#include "optimise/surplus_search.h"

#include "log/run_log.h"
#include "optimise/slot_check.h"
#include "optimise/staffing_cursors.h"

int32_t Get_UebBsz(Scope level, const BsmRow& s) {
  Bsm_UebC_Open(level, s);
  BsmRow surplus;
  int32_t rc = 0;
  int32_t result = 0;
  while ((rc = Bsm_UebC_Read(level, surplus)) == 0) {
    if (Prf_UebBsz_Pers(s, surplus) != 0) {
      result = 1;
      break;
    }
  }
  Bsm_UebC_Close(level);
  if (rc != 0 && rc != 100) {
    const char* tag = ScopeTag(level);
    runlog::Log_Printf("-Fehler: Get_UebBsz%s()->Bsm_%sUebC_Read() RC: %ld! PLG: %s%s DAT: %s", tag,
                       tag, static_cast<long>(rc), s.BsmPlg.c_str(),
                       ScopeKeys(level, s.BsmEso.view(), s.BsmEsa.view()).c_str(),
                       s.BsmBdt.c_str());
  }
  return result;
}

int32_t Get_UebBszEsa(BsmRow s) {
  return Get_UebBsz(Scope::kLocationType, s);
}

int32_t Get_UebBszEso(BsmRow s) {
  return Get_UebBsz(Scope::kLocation, s);
}

int32_t Get_UebBszPlg(BsmRow s) {
  return Get_UebBsz(Scope::kPlanGroup, s);
}
