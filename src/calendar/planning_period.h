// The offset from the effective begin to the default period end: the last day
// (weekday number 7) of the week that lies `horizon` weeks after the begin's
// week, that is 7 * (horizon + 1) - weekday days. Values read from the
// database may be anything, so the result saturates at the 32-bit range
// instead of overflowing; the calendar lookup then simply finds no such day.
#pragma once

#include <cstdint>

int32_t PeriodEndOffset(int32_t horizon, int32_t weekday);
