// The six cursor families over the staffing matrix Kvt725Bsm that the sweep
// uses. The short-slot families (...UntC) deliver one day's rows with a
// negative BsmFkt, worst first; the surplus families (...UebC) deliver the
// rows of the same day and assignment type as a short row with a positive
// BsmFkt, largest first.
//
// Each family has one process-wide statement handle: Open closes a previous
// one first, Read delivers one row into the caller's row (0 row, 100 end, -1
// not open, else the native error), Close releases it and returns 0. While
// the table has BsmOva/BsmOve the full column list is read; the first open
// that finds them missing (207) clears the shared flag and repeats in the
// short form, whose reads leave BsmOva/BsmOve as the caller's row held them.
#pragma once

#include <cstdint>

#include "optimise/staffing_row.h"

// Short slots of a plan group, a location, or a location and type on `day`.
int32_t Bsm_PlgUntC_Open(const char* plan_group, const char* day);
int32_t Bsm_PlgUntC_Read(BsmRow& row);
int32_t Bsm_PlgUntC_Close();

int32_t Bsm_EsoUntC_Open(const char* plan_group, const char* location, const char* day);
int32_t Bsm_EsoUntC_Read(BsmRow& row);
int32_t Bsm_EsoUntC_Close();

int32_t Bsm_EsaUntC_Open(const char* plan_group, const char* location, const char* deployment_type,
                         const char* day);
int32_t Bsm_EsaUntC_Read(BsmRow& row);
int32_t Bsm_EsaUntC_Close();

// Surplus slots for the short row: same plan group (PlgUebC), also the same
// location (EsoUebC), also the same deployment type (EsaUebC).
int32_t Bsm_PlgUebC_Open(const BsmRow& short_row);
int32_t Bsm_PlgUebC_Read(BsmRow& row);
int32_t Bsm_PlgUebC_Close();

int32_t Bsm_EsoUebC_Open(const BsmRow& short_row);
int32_t Bsm_EsoUebC_Read(BsmRow& row);
int32_t Bsm_EsoUebC_Close();

int32_t Bsm_EsaUebC_Open(const BsmRow& short_row);
int32_t Bsm_EsaUebC_Read(BsmRow& row);
int32_t Bsm_EsaUebC_Close();
