// The over-staffing sweep: every day of the effective period, short slots
// worst first, paired with surplus slots at the levels the level code allows.
// The scope (plan group, location, location and type) decides which short
// slots are read.
#pragma once

#include "common/run_context.h"
#include "common/scope.h"

// What the sweep reports while it runs, for a display of its progress. A
// null pointer reports nothing; the sweep does not depend on what is done.
struct SweepProgress {
  void (*plan_group)(const char* plan_group) = nullptr;
  void (*day)(const char* date) = nullptr;  // yyyymmdd
  void (*proposal)() = nullptr;
};

// The codes the scope does not use are ignored.
void UebBsz_Work(const RunContext& ctx, Scope scope, const char* plan_group, const char* location,
                 const char* deployment_type, const SweepProgress& progress = {});

void UebBsz_Work_Plg(RunContext& ctx, const char* plan_group);
void UebBsz_Work_Eso(RunContext& ctx, const char* plan_group, const char* location);
void UebBsz_Work_Esa(RunContext& ctx, const char* plan_group, const char* location,
                     const char* deployment_type);
