// The rest-time rule between a target slot and the person's neighbouring
// assignments. Pure computations on 14-digit date-times yyyymmddhhmmss.
#pragma once

#include <cstdint>

// Whole minutes from `earlier` to `later`. The difference in seconds is read
// as an unsigned quantity, so a negative difference is a very long gap.
int64_t RestGapMinutes(const char* later, const char* earlier);

// Whether a gap is too short for the rest time `rest_minutes`: for a person
// with the strict rule (PbvAwp 1) every gap below the rest time; for anybody
// else only a gap above half the rest time (truncated) and below the whole:
// a gap of at most half the rest time is accepted for them.
bool RestGapTooShort(int64_t gap, int64_t rest_minutes, int32_t awp);
