// Placeholder until the plan-group cursor lands.
#include "app/plan_group_loop.h"

void Plangruppen_Ermitteln(RunContext&, ErrSatz&) {}
int32_t Plg_Cur_Open() {
  return -1;
}
int32_t Plg_Cur_Read(PlgRow&) {
  return -1;
}
int32_t Plg_Cur_Close() {
  return 0;
}
