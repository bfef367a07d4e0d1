// Date stepping through the base calendar and the effective planning period
// of a plan group.
#include "calendar/planning_period.h"

#include "calendar/calendar.h"
#include "common/int32_clamp.h"
#include "db/plan_group_table.h"

int32_t PeriodEndOffset(int32_t horizon, int32_t weekday) {
  return ClampToInt32(7 * (static_cast<int64_t>(horizon) + 1) - static_cast<int64_t>(weekday));
}

int32_t Kalendertag_Ermitteln(const char* date, int32_t offset, FixedText<9>& result) {
  BakDay day;
  day.BakDtm.set(date);
  day.offset = offset;
  // `result` may be the very buffer `date` points into: keep the input.
  const FixedText<9> input = day.BakDtm;
  const int32_t rc = Bak_Tag_Read(day);
  result = rc == 0 ? day.BakDtm : input;
  return rc;
}

void Planzeitraum_Ermitteln(const char* plan_group, RunContext& ctx) {
  if (ctx.period_begin == kNoDate) {
    ctx.effective_begin.set_prefix(ctx.start_time.view(), 8);
  } else {
    ctx.effective_begin = ctx.period_begin;
  }

  if (!(ctx.period_end == kNoDate)) {
    ctx.effective_end = ctx.period_end;
    return;
  }

  // A failed read leaves its 0.
  int32_t horizon = 0;
  int32_t weekday = 0;
  Plg_Hzt_Read(plan_group, horizon);
  Bak_Wtg_Read(ctx.effective_begin.c_str(), weekday);

  const int32_t offset = PeriodEndOffset(horizon, weekday);
  if (Kalendertag_Ermitteln(ctx.effective_begin.c_str(), offset, ctx.effective_end) != 0) {
    // Beyond the calendar: its last day. When even that cannot be read, the
    // end stays at the begin date.
    Bak_MaxDtm_Read(ctx.effective_end);
  }
}
