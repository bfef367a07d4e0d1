#include "civil_date.h"

#include <cstdio>
#include <ctime>

#include "common/civil_date.h"

namespace ctl {

CivilDate FromDayNumber(long days) {
  const civil::YearMonthDay d = civil::CivilFromDays(days);
  return CivilDate{d.year, d.month, d.day};
}

long ToDayNumber(const CivilDate& date) {
  return static_cast<long>(civil::DaysFromCivil(date.year, date.month, date.day));
}

int IsoWeekday(long days) {
  // 1970-01-01 was a Thursday (4).
  long w = (days + 3) % 7;
  if (w < 0) w += 7;
  return static_cast<int>(w) + 1;
}

int DayOfYear(long days) {
  CivilDate d = FromDayNumber(days);
  return static_cast<int>(days - ToDayNumber(CivilDate{d.year, 1, 1})) + 1;
}

int IsoWeek(long days) {
  // The week belongs to the year of its Thursday.
  long thursday = days - IsoWeekday(days) + 4;
  return (DayOfYear(thursday) - 1) / 7 + 1;
}

std::string Text8(long days) {
  CivilDate d = FromDayNumber(days);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year % 10000, d.month, d.day);
  return buf;
}

std::string Text19(long days, int minute_of_day) {
  CivilDate d = FromDayNumber(days);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:00", d.year % 10000, d.month, d.day,
                (minute_of_day / 60) % 24, minute_of_day % 60);
  return buf;
}

bool ParseText8(const std::string& text, long& days) {
  if (text.size() != 8) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  CivilDate d{std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)),
              std::stoi(text.substr(6, 2))};
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return false;
  long n = ToDayNumber(d);
  CivilDate back = FromDayNumber(n);
  if (back.year != d.year || back.month != d.month || back.day != d.day) return false;
  days = n;
  return true;
}

long LocalToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ToDayNumber(CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

}  // namespace ctl
