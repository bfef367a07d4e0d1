// Lookups on the base calendar KvtSystem.Kvt133Bak, the plan group's day
// types and planning horizon, and the effective planning period of a plan
// group. All date stepping of the job goes through Kalendertag_Ermitteln.
#pragma once

#include <cstdint>

#include "app/run_context.h"
#include "common/fixed_text.h"

struct BakDay {
  FixedText<9> BakDtm;  // yyyymmdd
  int32_t BakJhr = 0;
  int32_t BakMon = 0;
  int32_t BakTag = 0;
  int32_t BakWch = 0;
  int32_t BakWtg = 0;
  int32_t BakJtg = 0;
  int32_t offset = 0;  // input: days after BakDtm
};

// The calendar date `offset` days after `date` into `result` (may alias
// `date`). 0 when the day exists; otherwise Bak_Tag_Read's result and
// `result` becomes a copy of `date`.
int32_t Kalendertag_Ermitteln(const char* date, int32_t offset, FixedText<9>& result);

int32_t Bak_Tag_Read(BakDay& day);
int32_t Bak_MaxDtm_Read(FixedText<9>& result);
int32_t Bak_Wtg_Read(const char* date, int32_t& weekday);
int32_t Pka_Tag_Read(const char* plan_group, const char* date, FixedText<4>& day_type,
                     int32_t& number);
int32_t Plg_Hzt_Read(const char* plan_group, int32_t& horizon);

// Sets ctx.effective_begin and ctx.effective_end for the plan group.
void Planzeitraum_Ermitteln(const char* plan_group, RunContext& ctx);
