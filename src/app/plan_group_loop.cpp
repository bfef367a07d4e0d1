#include "app/plan_group_loop.h"

#include "app/plan_group_lock.h"
#include "app/plan_group_pass.h"
#include "db/plan_group_table.h"
#include "log/run_log.h"

void Plangruppen_Ermitteln(RunContext& ctx, ErrSatz& err) {
  // A failed open leaves the cursor closed; the first read then gives -1.
  Plg_Cur_Open();
  PlgRow row;
  int32_t rc = 0;
  while ((rc = Plg_Cur_Read(row)) == 0) {
    Einsatzplan_Optimieren_Allein(ctx, row.PlgPlg.c_str(), "", "", err);
  }
  Plg_Cur_Close();
  if (rc != 100) {
    runlog::Log_Printf("-Fehler: Plangruppen_Ermitteln()->Plg_Cur_Read() RC: %ld!",
                       static_cast<long>(rc));
  }
}
