#include "optimise/sweep.h"

#include <cstring>

#include "app/progress.h"
#include "calendar/calendar.h"
#include "optimise/staffing_cursors.h"
#include "optimise/staffing_row.h"
#include "optimise/surplus_search.h"
#include "optimise/sweep_levels.h"

namespace {

// The short-slot cursor family of one sweep routine, opened for one day.
struct ShortSlots {
  int32_t (*open)(const char* plan_group, const char* location, const char* type, const char* day);
  int32_t (*read)(BsmRow& row);
  int32_t (*close)();
  const char* plan_group;
  const char* location;
  const char* type;
};

// One level pass over the day's short slots, worst first. After every
// recorded proposal the cursor is opened afresh, so the pass starts again
// from the then worst short slot with the figures the recount has written.
void LevelPass(const ShortSlots& slots, const char* day, int32_t (*search)(BsmRow)) {
  bool restart = true;
  while (restart) {
    restart = false;
    BsmRow short_row;
    slots.open(slots.plan_group, slots.location, slots.type, day);
    while (slots.read(short_row) == 0) {
      if (search(short_row) == 1) {
        Progress_Proposal();
        restart = true;
        break;
      }
    }
    slots.close();
  }
}

void Sweep(const RunContext& ctx, const ShortSlots& slots) {
  Progress_PlanGroup(slots.plan_group);
  FixedText<9> day;
  day.set(ctx.effective_begin);
  const SweepLevels levels = LevelsFor(ctx.level_code.view());
  while (std::strcmp(day.c_str(), ctx.effective_end.c_str()) <= 0) {
    Progress_Day(day.c_str());
    LevelPass(slots, day.c_str(), Get_UebBszEsa);
    if (levels.location) LevelPass(slots, day.c_str(), Get_UebBszEso);
    if (levels.plan_group) LevelPass(slots, day.c_str(), Get_UebBszPlg);

    const FixedText<9> previous = day;
    if (Kalendertag_Ermitteln(day.c_str(), 1, day) != 0) return;
    // A calendar that does not move forward would sweep the same day forever.
    if (std::strcmp(day.c_str(), previous.c_str()) <= 0) return;
  }
}

int32_t OpenPlgShort(const char* plan_group, const char*, const char*, const char* day) {
  return Bsm_PlgUntC_Open(plan_group, day);
}
int32_t OpenEsoShort(const char* plan_group, const char* location, const char*, const char* day) {
  return Bsm_EsoUntC_Open(plan_group, location, day);
}

}  // namespace

void UebBsz_Work_Plg(RunContext& ctx, const char* plan_group) {
  Sweep(ctx, {OpenPlgShort, Bsm_PlgUntC_Read, Bsm_PlgUntC_Close, plan_group, "", ""});
}

void UebBsz_Work_Eso(RunContext& ctx, const char* plan_group, const char* location) {
  Sweep(ctx, {OpenEsoShort, Bsm_EsoUntC_Read, Bsm_EsoUntC_Close, plan_group, location, ""});
}

void UebBsz_Work_Esa(RunContext& ctx, const char* plan_group, const char* location,
                     const char* deployment_type) {
  Sweep(ctx, {Bsm_EsaUntC_Open, Bsm_EsaUntC_Read, Bsm_EsaUntC_Close, plan_group, location,
              deployment_type});
}
