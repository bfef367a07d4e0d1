// Single-row reads on the base calendar KvtSystem.Kvt133Bak (the one table
// not qualified with the schema) and on the plan group's day types
// Kvt755Pka. Date stepping and the effective period are in
// planning_period.h.
#pragma once

#include <cstdint>

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

int32_t Bak_Tag_Read(BakDay& day);
int32_t Bak_MaxDtm_Read(FixedText<9>& result);
int32_t Bak_Wtg_Read(const char* date, int32_t& weekday);
int32_t Pka_Tag_Read(const char* plan_group, const char* date, FixedText<4>& day_type,
                     int32_t& number);
