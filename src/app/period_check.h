// Planzeitraum_OK: whether the period of the command line is acceptable.
// Today is the first eight characters of the run start time; all comparisons
// are byte-wise text comparisons, the texts are not tested for being dates.
// A given begin may not lie before today, a given end neither before today
// nor before a given begin; "00000000" is accepted in either place.
// Result 1 when acceptable, 0 otherwise.
#pragma once

#include <cstdint>

#include "common/run_context.h"

int32_t Planzeitraum_OK(const RunContext& ctx);
