// One optimisation pass over one plan group (Einsatzplan_Optimieren): read
// and mark the plan-group row, settle the period, clear the earlier plan
// errors, sweep, scan for the remaining plan errors, release the row. The
// location and type codes (empty: not given) set the scope of the sweep.
#pragma once

#include "common/run_context.h"
#include "errlog/error_record.h"

void Einsatzplan_Optimieren(RunContext& ctx, const char* plan_group, const char* location,
                            const char* deployment_type, ErrSatz& err);
