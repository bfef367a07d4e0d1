// Placeholder until the plan-group driver lands.
#include "optimise/plan_group_pass.h"

void Einsatzplan_Optimieren(RunContext&, const char*, const char*, const char*, ErrSatz&) {}
int32_t Plg_PKey_Read(PlgRow&, int32_t) {
  return -1;
}
int32_t Plg_PKey_Upd(const PlgRow&) {
  return -1;
}
