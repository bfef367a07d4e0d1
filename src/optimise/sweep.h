// The over-staffing sweep: every day of the effective period, short slots
// worst first, paired with surplus slots at the levels the level code allows.
#pragma once

#include "app/run_context.h"

void UebBsz_Work_Plg(RunContext& ctx, const char* plan_group);
void UebBsz_Work_Eso(RunContext& ctx, const char* plan_group, const char* location);
void UebBsz_Work_Esa(RunContext& ctx, const char* plan_group, const char* location,
                     const char* deployment_type);
