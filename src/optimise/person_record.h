// The person record PnrSatz (one person examined against one target slot)
// and the target definition BssSatz (one row of Kvt720Bss), shared by the
// slot check, the person day values, the eligibility checks and the proposal.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

struct PnrSatz {
  FixedText<9> pnr;       // BdpPnr of the assignment in the surplus slot
  FixedText<6> home_eso;  // PbvEso of the valid assignment rule
  FixedText<6> home_esa;  // PbvEsa of that rule
  FixedText<9> date;      // target slot's date, yyyymmdd
  FixedText<4> day_type;  // Ka2Ttp of the plan group's calendar on the date
  int32_t PgzAzk = 0;     // maximum working time per day, hours
  int32_t PgzRzk = 0;     // minimum rest time between assignments, hours
  int32_t PbvZrm = 0;     // 1: AzvKev-AzvKeb form the window, 2: AzvGlv-AzvGlb
  int32_t AzvKev = 0;     // working-time model bounds, minutes since midnight
  int32_t AzvKeb = 0;
  int32_t AzvGlv = 0;
  int32_t AzvGlb = 0;
  int32_t window_begin = 0;  // working window of the day, minutes; 0-0 when none
  int32_t window_end = 0;
  FixedText<6> plan_group;     // target slot's plan group
  int32_t error_number = 0;    // verdict of the eligibility checks, 0 = none
  int32_t PbvAwp = 0;          // kind of assignment rule (1 strict, 3 passed over)
  FixedText<15> previous_end;  // yyyymmddhhmmss
  FixedText<15> next_start;    // yyyymmddhhmmss
  int32_t day_minutes = 0;     // working minutes of the day
  int32_t overlap = 0;         // 0 or 1
};

struct BssSatz {
  FixedText<6> BssPlg;
  FixedText<6> BssEso;
  FixedText<6> BssEsa;
  FixedText<4> BssTtp;
  int32_t BssVon = 0;
  int32_t BssBis = 0;
  FixedText<4> BssBsz;
  FixedText<51> BssTxt;
  int32_t BssSol = 0;
  int32_t BssMax = 0;
  int32_t BssMin = 0;
  double BssMwt = 0.0;
  int32_t BssVtg = 0;
  int32_t BssAtg = 0;
  int32_t BssKgw = 0;
  int32_t BssKmw = 0;
  int32_t BssAsw = 0;
};
