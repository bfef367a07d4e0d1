// Date-times of a time window on a given day, in the 14-digit form
// yyyymmddhhmmss: the start is the day followed by the begin minute's hhmm00,
// the end the same with the end minute, on the next calendar day when the
// window crosses midnight (begin above end). Text order of these forms is
// time order.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"

// `date` (yyyymmdd) followed by Minuten_Zeit(minutes), cut to 14 characters.
void DateAndMinute(const char* date, int32_t minutes, FixedText<15>& out);

// Start and end of window begin-end on `date`; the next day comes from
// `next_date` (the calendar's day after `date`), used only when the window
// crosses midnight.
void WindowDateTimes(const char* date, const char* next_date, int32_t begin, int32_t end,
                     FixedText<15>& start, FixedText<15>& finish);

// The same, looking the next calendar day up in the base calendar only when
// the window crosses midnight (an unknown day leaves the date itself).
void WindowDateTimesOnDay(const char* date, int32_t begin, int32_t end, FixedText<15>& start,
                          FixedText<15>& finish);
