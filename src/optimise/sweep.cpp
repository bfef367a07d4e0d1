#include "optimise/sweep.h"

#include <cstring>

#include "calendar/planning_period.h"
#include "db/staffing_row.h"
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
    while (Bsm_UntC_Read(slots.scope, short_row) == 0) {
      if (Get_UebBsz(level, short_row) == 1) {
        if (progress.proposal != nullptr) progress.proposal();
        restart = true;
        break;
      }
    }
    Bsm_UntC_Close(slots.scope);
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
    if (Kalendertag_Ermitteln(day.c_str(), 1, day) != 0) return;
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
