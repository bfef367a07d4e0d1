#include "optimise/rest_time.h"

#include "calendar/time_arith.h"

int64_t RestGapMinutes(const char* later, const char* earlier) {
  const uint32_t seconds = static_cast<uint32_t>(Zeit_Differenz(later, earlier));
  return static_cast<int64_t>(seconds / 60);
}

bool RestGapTooShort(int64_t gap, int64_t rest_minutes, int32_t awp) {
  if (awp == 1) return gap < rest_minutes;
  return rest_minutes / 2 < gap && gap < rest_minutes;
}
