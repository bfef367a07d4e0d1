#include "calendar/time_arith.h"

#include <cstdio>
#include <cstdlib>

#include "common/civil_date.h"

namespace {

// Decimal value of the digits at text[pos, pos+width), up to the first
// non-digit (or the end of the text); no digits give 0.
int32_t Piece(const char* text, int pos, int width) {
  int32_t value = 0;
  for (int i = 0; i < pos; ++i) {
    if (text[i] == '\0') return 0;
  }
  for (int i = pos; i < pos + width; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A month number beyond 12 (the fields are not checked) counts 31 days.
int64_t MonthLength(int64_t month, int64_t year) {
  if (month < 1 || month > 12) return 31;
  return civil::DaysInMonth(static_cast<int>(year), static_cast<int>(month));
}

// N(d, m, y) = day of the year + 365 * y + L(y).
int64_t DayNumber(int64_t d, int64_t m, int64_t y) {
  int64_t day_of_year = d;
  for (int64_t k = 1; k < m; ++k) day_of_year += MonthLength(k, y);
  int64_t leap = static_cast<int64_t>(static_cast<double>((y - 1) / 4) -
                                      0.75 * static_cast<double>((y - 1) / 100));
  return day_of_year + 365 * y + leap;
}

int64_t Seconds(const char* t) {
  int64_t year = Piece(t, 0, 4);
  int64_t month = Piece(t, 4, 2);
  int64_t day = Piece(t, 6, 2);
  int64_t hour = Piece(t, 8, 2);
  int64_t minute = Piece(t, 10, 2);
  int64_t second = Piece(t, 12, 2);
  if (year < 100) year += year >= 70 ? 1900 : 2000;
  int64_t days = DayNumber(day, month, year) - DayNumber(1, 1, 1970);
  if (days < 0) days = -days;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace

int32_t Zeit_Minuten(const char* text) {
  if (text == nullptr) return 0;
  return Piece(text, 0, 2) * 60 + Piece(text, 2, 2);
}

void Minuten_Zeit(int32_t minutes, FixedText<16>& out) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d%02d00", minutes / 60, minutes % 60);
  out.set(buf);
}

int32_t Zeit_Differenz(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return 0;
  uint64_t diff = static_cast<uint64_t>(Seconds(first)) - static_cast<uint64_t>(Seconds(second));
  return static_cast<int32_t>(static_cast<uint32_t>(diff));
}
