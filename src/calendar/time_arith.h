// Time-of-day and date-time arithmetic on the job's text forms. Pure
// computations on the caller's buffers: no allocation, no database.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

// Minutes since midnight of a text that starts with hhmm (each pair converted
// as a decimal number up to its first non-digit; no range check).
int32_t Zeit_Minuten(const char* text);

// The hhmm00 text of a time of day ("%02d%02d00" of minutes / 60 and % 60,
// truncating toward zero); 6000 minutes or more give more than two hour
// digits, which the 16-character field still holds.
void Minuten_Zeit(int32_t minutes, FixedText<16>& out);

// first - second in seconds, both yyyymmddhhmmss; positive when the first is
// later. 32-bit two's-complement result.
int32_t Zeit_Differenz(const char* first, const char* second);
