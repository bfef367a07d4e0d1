// The loop over every plan group: reads the plan groups in code order with
// the Plg_Cur cursor and runs one optimisation pass for each, over the whole
// plan group. A failed read ends the loop and is logged.
#pragma once

#include "common/run_context.h"
#include "errlog/error_record.h"

void Plangruppen_Ermitteln(RunContext& ctx, ErrSatz& err);
