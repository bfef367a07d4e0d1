// Parameter_Lesen: fills the run context from the command line.
//
//   argv[2]  user, at most 50 characters, cut at the first blank
//   argv[3]  period begin, 8 characters ("00000000": from today)
//   argv[4]  period end, 8 characters ("00000000": from the plan group)
//   argv[5]  optimisation level code, 3 characters (overwritten per plan group)
//   argv[6]  first job text, 14 characters
//   argv[7]  second job text, 32 characters
//   argv[8]  plan-group code  \  5 characters, cut at the first blank;
//   argv[9]  location code     > empty when the first five characters
//   argv[10] deployment type  /  are "00000"
//
// The context is cleared first; each position is taken only when argc
// includes it, a longer argument is cut to its width, and a null entry counts
// as empty. The run start time (local time, yyyymmddhhmmss) is taken here,
// once per run.
#pragma once

#include "common/run_context.h"

void Parameter_Lesen(int argc, const char* const* argv, RunContext& ctx);
