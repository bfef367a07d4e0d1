// Date stepping through the base calendar and the effective planning period
// of a plan group. All date stepping of the job goes through
// Kalendertag_Ermitteln.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "common/run_context.h"

// The calendar date `offset` days after `date` into `result` (may alias
// `date`). 0 when the day exists; otherwise Bak_Tag_Read's result and
// `result` becomes a copy of `date`.
int32_t Kalendertag_Ermitteln(const char* date, int32_t offset, FixedText<9>& result);

// Sets ctx.effective_begin and ctx.effective_end for the plan group.
void Planzeitraum_Ermitteln(const char* plan_group, RunContext& ctx);

// The offset from the effective begin to the default period end: the last day
// (weekday number 7) of the week that lies `horizon` weeks after the begin's
// week, that is 7 * (horizon + 1) - weekday days. Values read from the
// database may be anything, so the result saturates at the 32-bit range
// instead of overflowing; the calendar lookup then simply finds no such day.
int32_t PeriodEndOffset(int32_t horizon, int32_t weekday);
