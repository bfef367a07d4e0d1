// The two cursor families over the staffing matrix Kvt725Bsm that the sweep
// uses, each in three scopes (Bsm_PlgUntC, Bsm_EsoUntC, Bsm_EsaUntC and
// Bsm_PlgUebC, Bsm_EsoUebC, Bsm_EsaUebC). The short-slot families deliver
// one day's rows with a negative BsmFkt, worst first; the surplus families
// deliver the rows of the same day and assignment type as a short row with a
// positive BsmFkt, largest first.
//
// Each family and scope has one process-wide statement handle: Open closes a
// previous one first, Read delivers one row into the caller's row (0 row,
// 100 end, -1 not open, else the native error), Close releases it and
// returns 0. While the table has BsmOva/BsmOve the full column list is read;
// the first open that finds them missing (207) clears the shared flag and
// repeats in the short form, whose reads leave BsmOva/BsmOve as the caller's
// row held them.
#pragma once

#include <cstdint>

#include "common/scope.h"
#include "db/staffing_row.h"

// Short slots on `day` of the plan group, of its location, or of its
// location and type (the codes the scope does not use are ignored).
int32_t Bsm_UntC_Open(Scope scope, const char* plan_group, const char* location,
                      const char* deployment_type, const char* day);
int32_t Bsm_UntC_Read(Scope scope, BsmRow& row);
int32_t Bsm_UntC_Close(Scope scope);

// Surplus slots for the short row: same plan group, also the same location,
// also the same deployment type.
int32_t Bsm_UebC_Open(Scope scope, const BsmRow& short_row);
int32_t Bsm_UebC_Read(Scope scope, BsmRow& row);
int32_t Bsm_UebC_Close(Scope scope);
