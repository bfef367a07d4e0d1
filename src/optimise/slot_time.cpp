#include "optimise/slot_time.h"

#include <string>

#include "calendar/planning_period.h"
#include "calendar/time_arith.h"

void DateAndMinute(const char* date, int32_t minutes, FixedText<15>& out) {
  FixedText<16> time;
  Minuten_Zeit(minutes, time);
  std::string text(date == nullptr ? "" : date);
  text += time.view();
  out.set(text);
}

void WindowDateTimes(const char* date, const char* next_date, int32_t begin, int32_t end,
                     FixedText<15>& start, FixedText<15>& finish) {
  DateAndMinute(date, begin, start);
  DateAndMinute(begin > end ? next_date : date, end, finish);
}

void WindowDateTimesOnDay(const char* date, int32_t begin, int32_t end, FixedText<15>& start,
                          FixedText<15>& finish) {
  FixedText<9> next;
  if (begin > end) Kalendertag_Ermitteln(date, 1, next);
  WindowDateTimes(date, next.c_str(), begin, end, start, finish);
}
