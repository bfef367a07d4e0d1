// The run context: the parsed command line and the values derived per plan
// group. One process-wide record, filled once by Parameter_Lesen; afterwards
// only the level code and the effective period change, once per plan group.
#pragma once

#include <string_view>

#include "common/fixed_text.h"

// The period begin or end that the command line leaves open ("from today",
// "from the plan group").
inline constexpr std::string_view kNoDate = "00000000";

struct RunContext {
  FixedText<6> plan_group;       // argument 8; empty: all plan groups
  FixedText<6> location;         // argument 9; empty: the whole plan group
  FixedText<6> deployment_type;  // argument 10; empty: all types of the location
  FixedText<9> period_begin;     // argument 3, yyyymmdd or "00000000"
  FixedText<9> period_end;       // argument 4, yyyymmdd or "00000000"
  FixedText<4> level_code;       // "PLG", "ESO" or "ESA", set per plan group
  FixedText<51> user;            // argument 2, cut at the first blank
  FixedText<9> effective_begin;  // yyyymmdd, per plan group
  FixedText<9> effective_end;    // yyyymmdd, per plan group
  FixedText<15> start_time;      // yyyymmddhhmmss, local time at parsing
  FixedText<15> job_text1;       // argument 6
  FixedText<33> job_text2;       // argument 7
};
