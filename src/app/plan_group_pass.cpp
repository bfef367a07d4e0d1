// No failure stops the pass once the level is known; each one is logged and
// the next step runs.
#include "app/plan_group_pass.h"

#include "app/progress.h"
#include "calendar/planning_period.h"
#include "common/scope.h"
#include "db/plan_group_table.h"
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

  const SweepProgress progress{Progress_PlanGroup, Progress_Day, Progress_Proposal};
  const char* loc = location == nullptr ? "" : location;
  const char* type = deployment_type == nullptr ? "" : deployment_type;
  UebBsz_Work(ctx, ScopeOf(loc, type), plan_group, loc, type, progress);

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
