#include "app/period_check.h"

#include <cstring>

namespace {

constexpr const char* kNoDate = "00000000";

}  // namespace

int32_t Planzeitraum_OK(const RunContext& ctx) {
  const char* today = ctx.start_time.c_str();
  const char* begin = ctx.period_begin.c_str();
  const char* end = ctx.period_end.c_str();
  if (std::strncmp(begin, today, 8) < 0 && std::strcmp(begin, kNoDate) != 0) return 0;
  if (std::strncmp(end, today, 8) < 0 && std::strcmp(end, kNoDate) != 0) return 0;
  if (std::strcmp(end, begin) >= 0) return 1;
  return std::strcmp(end, kNoDate) == 0 ? 1 : 0;
}
