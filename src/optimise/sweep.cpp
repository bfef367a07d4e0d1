#include "optimise/sweep.h"

#include <cstring>

#include "calendar/planning_period.h"
#include "db/staffing_row.h"
#include "log/run_log.h"
#include "optimise/staffing_cursors.h"
#include "optimise/surplus_search.h"
#include "optimise/sweep_levels.h"

namespace {

// The short slots of one sweep, opened for one day.
struct ShortSlots {
  Scope scope;
  const char* plan_group;
  const char* location;
  const char* type;
};

// The names the log lines give the sweep routine and its short-slot read.
const char* SweepName(Scope scope) {
  return ForScope(
      scope, [] { return "UebBsz_Work_Plg"; }, [] { return "UebBsz_Work_Eso"; },
      [] { return "UebBsz_Work_Esa"; });
}
const char* ShortReadName(Scope scope) {
  return ForScope(
      scope, [] { return "Bsm_PlgUntC_Read"; }, [] { return "Bsm_EsoUntC_Read"; },
      [] { return "Bsm_EsaUntC_Read"; });
}

// One level pass over the day's short slots, worst first. After every
// recorded proposal the cursor is opened afresh, so the pass starts again
// from the then worst short slot with the figures the recount has written.
void LevelPass(const ShortSlots& slots, const char* day, Scope level,
               const SweepProgress& progress) {
  bool restart = true;
  while (restart) {
    restart = false;
    BsmRow short_row;
    Bsm_UntC_Open(slots.scope, slots.plan_group, slots.location, slots.type, day);
    int32_t rc = 0;
    while ((rc = Bsm_UntC_Read(slots.scope, short_row)) == 0) {
      if (Get_UebBsz(level, short_row) == 1) {
        if (progress.proposal != nullptr) progress.proposal();
        restart = true;
        break;
      }
    }
    Bsm_UntC_Close(slots.scope);
    // The pass is over for the day either way; a failure is not kept quiet,
    // or a run that skipped days would look like a complete one.
    if (!restart && rc != 100) {
      runlog::Log_Printf("-Fehler: %s()->%s() RC: %ld! PLG: %s DAT: %s", SweepName(slots.scope),
                         ShortReadName(slots.scope), static_cast<long>(rc), slots.plan_group, day);
    }
  }
}

}  // namespace

void UebBsz_Work(const RunContext& ctx, Scope scope, const char* plan_group, const char* location,
                 const char* deployment_type, const SweepProgress& progress) {
  const ShortSlots slots{scope, plan_group, location, deployment_type};
  if (progress.plan_group != nullptr) progress.plan_group(plan_group);
  FixedText<9> day;
  day.set(ctx.effective_begin);
  const SweepLevels levels = LevelsFor(ctx.level_code.view());
  while (std::strcmp(day.c_str(), ctx.effective_end.c_str()) <= 0) {
    if (progress.day != nullptr) progress.day(day.c_str());
    LevelPass(slots, day.c_str(), Scope::kLocationType, progress);
    if (levels.location) LevelPass(slots, day.c_str(), Scope::kLocation, progress);
    if (levels.plan_group) LevelPass(slots, day.c_str(), Scope::kPlanGroup, progress);

    const FixedText<9> previous = day;
    const int32_t rc = Kalendertag_Ermitteln(day.c_str(), 1, day);
    // 100: the calendar has no next day. Anything else is a failed lookup,
    // which ends the sweep just as well but not without a trace.
    if (rc != 0 && rc != 100) {
      runlog::Log_Printf("-Fehler: %s()->Kalendertag_Ermitteln() RC: %ld! PLG: %s DAT: %s",
                         SweepName(scope), static_cast<long>(rc), plan_group, day.c_str());
    }
    if (rc != 0) return;
    // A calendar that does not move forward would sweep the same day forever.
    if (std::strcmp(day.c_str(), previous.c_str()) <= 0) return;
  }
}

void UebBsz_Work_Plg(RunContext& ctx, const char* plan_group) {
  UebBsz_Work(ctx, Scope::kPlanGroup, plan_group, "", "");
}

void UebBsz_Work_Eso(RunContext& ctx, const char* plan_group, const char* location) {
  UebBsz_Work(ctx, Scope::kLocation, plan_group, location, "");
}

void UebBsz_Work_Esa(RunContext& ctx, const char* plan_group, const char* location,
                     const char* deployment_type) {
  UebBsz_Work(ctx, Scope::kLocationType, plan_group, location, deployment_type);
}
