#include "optimise/time_window.h"

namespace {

constexpr int64_t kDay = 1440;

}  // namespace

bool Zeitfenster_Vergleich(int32_t a32, int32_t b32, int32_t c32, int32_t d32,
                           int32_t& window_class) {
  // Wide arithmetic: minutes come from the database and may be anything.
  const int64_t a = a32, b = b32, c = c32, d = d32;
  window_class = 0;
  if (b <= c && a < b) return false;  // a same-day target ends before the window begins
  if (a >= d && c < d) return false;  // a same-day window ends before the target begins

  const int64_t e = c > d ? d + kDay : d;
  const int64_t f = a > b ? b + kDay : b;
  const int64_t h = a < f ? f - a : f - a + kDay;  // target length

  const bool both_same_day = c < d && a < b;
  const bool both_cross = d < c && b < a;
  const bool target_ends_later =
      (b > d && (both_same_day || both_cross)) || (b < d && c < d && b < a);

  if (a == c && b == d) {
    window_class = 1;
  } else if (target_ends_later) {
    window_class = a < c ? 2 : (a == c ? 3 : 8);
  } else if (a < c) {
    window_class = b == d ? 4 : 9;
  } else if (a == c) {
    window_class = 6;
  } else {
    window_class = b == d ? 7 : 5;
  }

  if (window_class == 9) {
    const int64_t shared = f - c + (c >= f ? kDay : 0);
    return shared >= h / 2;
  }
  if (window_class == 8) {
    const int64_t shared = e - a + (a >= e ? kDay : 0);
    return shared >= h / 2;
  }
  return true;
}

bool ReachesBeyondWindow(int32_t window_class) {
  switch (window_class) {
    case 2:
    case 3:
    case 4:
    case 8:
    case 9:
      return true;
    default:
      return false;
  }
}
