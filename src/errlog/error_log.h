// The plan error log Kvt746Err: preparing the process-wide error record for a
// plan group, writing one error row per remaining plan error, and clearing a
// plan group's earlier rows of kind "PLANO" for the run's scope and period.
#pragma once

#include <cstdint>

#include "common/run_context.h"
#include "db/staffing_row.h"
#include "errlog/error_record.h"

// Clears the record and sets the plan group, the kind "PLANO", numbering from
// 0, and the user and job texts of the run.
void Fill_ErrSatz(const char* plan_group, ErrSatz& err, const RunContext& ctx);

// Fills the per-error fields from the staffing row (error numbers 1601-1605),
// counts ErrLfn up (before the insert, so a lost row keeps its number),
// inserts, clears the per-error fields; ErrLfn wraps from 9999 to 0.
void Err_Write(const BsmRow& row, int32_t error_number, ErrSatz& err);

int32_t Err_Insert(const ErrSatz& err);

// Deletes the plan group's "PLANO" rows of the run context's scope (location,
// location and type) that lie in the effective period, have no date or lie
// in the past. 0 or 100 on success; another result has been logged.
int32_t ErrLog_Loeschen(const RunContext& ctx, const char* plan_group);
int32_t Err_Delete(const RunContext& ctx, const char* plan_group, const char* kind);
