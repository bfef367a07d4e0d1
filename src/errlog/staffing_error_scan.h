// The scan of a plan group's staffing matrix after its sweep: one plan error
// for every slot of the effective period that is not exactly on target. The
// scope (plan group, one location, one location and type) comes from the run
// context, that is from the command line.
#pragma once

#include <cstdint>

#include "common/run_context.h"
#include "common/scope.h"
#include "db/staffing_row.h"
#include "errlog/error_record.h"

void BsmError_Work(const RunContext& ctx, const char* plan_group, ErrSatz& err);

// Tests one row and writes at most one error; 1 when an error was written.
int32_t Prf_BsmSatz(const BsmRow& row, ErrSatz& err);

// The cursor family over Kvt725Bsm in three scopes (Bsm_PlgVonBis,
// Bsm_EsoVonBis, Bsm_EsaVonBis), the rows of the period ordered by date,
// location, deployment type and slot begin. The codes the scope does not use
// are ignored. Each scope has one process-wide statement handle.
int32_t Bsm_VonBis_Open(Scope scope, const char* plan_group, const char* location,
                        const char* deployment_type, const char* begin, const char* end);
int32_t Bsm_VonBis_Read(Scope scope, BsmRow& row);
int32_t Bsm_VonBis_Close(Scope scope);

int32_t Bsm_PlgVonBis_Open(const char* plan_group, const char* begin, const char* end);
int32_t Bsm_PlgVonBis_Read(BsmRow& row);
int32_t Bsm_PlgVonBis_Close();

int32_t Bsm_EsoVonBis_Open(const char* plan_group, const char* location, const char* begin,
                           const char* end);
int32_t Bsm_EsoVonBis_Read(BsmRow& row);
int32_t Bsm_EsoVonBis_Close();

int32_t Bsm_EsaVonBis_Open(const char* plan_group, const char* location,
                           const char* deployment_type, const char* begin, const char* end);
int32_t Bsm_EsaVonBis_Read(BsmRow& row);
int32_t Bsm_EsaVonBis_Close();
