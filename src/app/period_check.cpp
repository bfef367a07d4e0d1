#include "app/period_check.h"

#include <cstring>

int32_t Planzeitraum_OK(const RunContext& ctx) {
  const char* today = ctx.start_time.c_str();
  const char* begin = ctx.period_begin.c_str();
  const char* end = ctx.period_end.c_str();
  if (std::strncmp(begin, today, 8) < 0 && !(ctx.period_begin == kNoDate)) return 0;
  if (std::strncmp(end, today, 8) < 0 && !(ctx.period_end == kNoDate)) return 0;
  if (std::strcmp(end, begin) >= 0) return 1;
  return ctx.period_end == kNoDate ? 1 : 0;
}
