// One optimisation pass over one plan group: read and mark the plan-group
// row, settle the period, clear the earlier plan errors, sweep, scan for the
// remaining plan errors, release the row. No failure stops the pass once the
// level is known; each one is logged and the next step runs.
#include "optimise/plan_group_pass.h"

#include "calendar/calendar.h"
#include "errlog/error_log.h"
#include "errlog/staffing_error_scan.h"
#include "log/run_log.h"
#include "optimise/sweep.h"

namespace {

constexpr int32_t kSwitchSet = 2;

// The level code for PlgOpl, or nullptr when the plan group is not optimised.
const char* LevelCode(int32_t level) {
  switch (level) {
    case 1:
      return "PLG";
    case 2:
      return "ESO";
    case 3:
      return "ESA";
    default:
      return nullptr;
  }
}

}  // namespace

void Einsatzplan_Optimieren(RunContext& ctx, const char* plan_group, const char* location,
                            const char* deployment_type, ErrSatz& err) {
  PlgRow row;
  row.PlgPlg.set(plan_group);
  int32_t rc = Plg_PKey_Read(row, kSwitchSet);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Einsatzplan_Optimieren()->Plg_PKey_Read() RC: %ld! PLG: %s",
                       static_cast<long>(rc), plan_group);
  }

  const char* level = LevelCode(row.PlgOpl);
  if (level == nullptr) return;
  ctx.level_code.set(level);

  row.PlgUsr = ctx.user;
  row.PlgBeg = ctx.start_time;
  row.PlgFts = 0;
  rc = Plg_PKey_Upd(row);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Einsatzplan_Optimieren()->Plg_PKey_Upd(1) RC: %ld! PLG: %s",
                       static_cast<long>(rc), plan_group);
  }

  Planzeitraum_Ermitteln(plan_group, ctx);

  Fill_ErrSatz(plan_group, err, ctx);
  ErrLog_Loeschen(ctx, plan_group);

  const bool no_location = location == nullptr || location[0] == '\0';
  const bool no_type = deployment_type == nullptr || deployment_type[0] == '\0';
  if (no_location) {
    UebBsz_Work_Plg(ctx, plan_group);
  } else if (no_type) {
    UebBsz_Work_Eso(ctx, plan_group, location);
  } else {
    UebBsz_Work_Esa(ctx, plan_group, location, deployment_type);
  }

  BsmError_Work(ctx, plan_group, err);

  row.PlgPgm.clear();
  row.PlgUsr.clear();
  row.PlgFts = 0;
  rc = Plg_PKey_Upd(row);
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Einsatzplan_Optimieren()->Plg_PKey_Upd(2) RC: %ld! PLG: %s",
                       static_cast<long>(rc), plan_group);
  }
}
