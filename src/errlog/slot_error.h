// How far a staffing slot is off target. The effective count is BsmIst minus
// BsmHtg minus the smaller of BsmHtv and BsmHtn; it is computed in 64 bits so
// that no value from the database can overflow it.
//
//   1601  effective count 0 while the target is above 0
//   1602  below the target and below the minimum
//   1603  below the target, at or above the minimum
//   1604  above the target, at or below the maximum
//   1605  above the target and above the maximum
//   0     exactly on target (also an unstaffed slot with target 0)
#pragma once

#include <cstdint>

#include "db/staffing_row.h"

int64_t EffectiveCount(const BsmRow& row);
int32_t SlotErrorNumber(const BsmRow& row);
