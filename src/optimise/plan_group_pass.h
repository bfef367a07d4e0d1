// One optimisation pass over one plan group (Einsatzplan_Optimieren) and the
// two routines on Kvt701Plg that it owns.
#pragma once

#include <cstdint>

#include "app/run_context.h"
#include "errlog/error_record.h"
#include "optimise/plan_group_row.h"

void Einsatzplan_Optimieren(RunContext& ctx, const char* plan_group, const char* location,
                            const char* deployment_type, ErrSatz& err);

// Reads the row whose PlgPlg is already in `row`; `switch_set` picks the six
// check-switch columns ending in that digit.
int32_t Plg_PKey_Read(PlgRow& row, int32_t switch_set);
int32_t Plg_PKey_Upd(const PlgRow& row);
