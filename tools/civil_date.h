// Calendar dates for plexorctl: a day number (days since 1970-01-01) with
// its civil date, ISO weekday (1 Monday .. 7 Sunday), ISO week and day of
// the year, and the text forms yyyymmdd and yyyy-mm-dd hh:mm:ss.
#pragma once

#include <string>

namespace ctl {

struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;
};

CivilDate FromDayNumber(long days);
long ToDayNumber(const CivilDate& date);
int IsoWeekday(long days);                         // 1 Monday .. 7 Sunday
int IsoWeek(long days);                            // 1 .. 53
int DayOfYear(long days);                          // 1 .. 366
std::string Text8(long days);                      // yyyymmdd
std::string Text19(long days, int minute_of_day);  // yyyy-mm-dd hh:mm:ss
// Parses yyyymmdd (a real calendar date); false otherwise.
bool ParseText8(const std::string& text, long& days);
// Today's local date as a day number.
long LocalToday();

}  // namespace ctl
