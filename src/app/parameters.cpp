#include "app/parameters.h"

#include <cstring>
#include <ctime>
#include <string_view>

namespace {

// argv[i] as text, or empty text when it is null. The view never reaches
// further than `width` characters, so a huge argument costs nothing.
std::string_view Arg(const char* const* argv, int i, std::size_t width) {
  const char* a = argv[i];
  if (a == nullptr) return std::string_view("");
  return std::string_view(a, strnlen(a, width));
}

template <std::size_t N>
void TakeCode(const char* const* argv, int i, FixedText<N>& field) {
  std::string_view a = Arg(argv, i, 5);
  if (a == "00000") return;
  field.set(a);
  field.cut_at(' ');
}

}  // namespace

void Parameter_Lesen(int argc, const char* const* argv, RunContext& ctx) {
  ctx = RunContext{};
  if (argv != nullptr) {
    if (argc > 2) ctx.user.set(Arg(argv, 2, 50));
    if (argc > 3) ctx.period_begin.set(Arg(argv, 3, 8));
    if (argc > 4) ctx.period_end.set(Arg(argv, 4, 8));
    if (argc > 5) ctx.level_code.set(Arg(argv, 5, 3));
    if (argc > 6) ctx.job_text1.set(Arg(argv, 6, 14));
    if (argc > 7) ctx.job_text2.set(Arg(argv, 7, 32));
    if (argc > 8) TakeCode(argv, 8, ctx.plan_group);
    if (argc > 9) TakeCode(argv, 9, ctx.location);
    if (argc > 10) TakeCode(argv, 10, ctx.deployment_type);
  }
  ctx.user.cut_at(' ');

  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  if (std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local) == 0) stamp[0] = '\0';
  ctx.start_time.set(stamp);
}
