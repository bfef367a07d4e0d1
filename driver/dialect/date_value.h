// Calendar values as SQL Server's datetime and date types see them: parsing
// the texts that convert() accepts, formatting with the convert() styles,
// and dateadd() arithmetic. Stored form: "yyyy-mm-dd hh:mm:ss".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tsq {

struct DateTime {
  int year = 1900;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

enum class DateParse { kOk, kBadFormat, kOutOfRange };

enum class DatePart { kYear, kQuarter, kMonth, kDayOfYear, kDay, kWeek, kHour, kMinute, kSecond };

DateTime DateTimeFromSeconds(int64_t seconds);  // seconds since 1970-01-01 00:00:00
int64_t SecondsOf(const DateTime& value);

// Reads a date-time text as convert(datetime, text, style) does: blanks
// around it are ignored, an empty text is 1900-01-01 00:00:00, and the
// forms yyyymmdd, yyyy-mm-dd (also with / or .), a time hh:mm[:ss[.fff]]
// after a blank or "T", a time alone, and for styles 101/103/104/105 (and
// 1/3/4/5) the day-month orders of those styles. Fractions of a second are
// dropped. kOutOfRange: the form is right but a field is not a real date or
// time, or the year is below `min_year`.
DateParse ParseDateTime(std::string_view text, int style, int min_year, DateTime& out);

// `value` in the convert() style `style` (0, 100, 1, 101, 3, 103, 4, 104,
// 5, 105, 8, 108, 12, 112, 20, 120, 21, 121, 23, 126). nullopt for a style
// SQL Server does not have.
std::optional<std::string> FormatDateTime(const DateTime& value, int style);

// The stored form "yyyy-mm-dd hh:mm:ss".
std::string CanonicalText(const DateTime& value);

std::optional<DatePart> ParseDatePart(std::string_view name);

// dateadd(part, amount, value): months and years keep the day where the
// target month has it and take the month's last day otherwise. False when
// the result leaves the years 1 to 9999.
bool AddToDateTime(DatePart part, int64_t amount, DateTime& value);

}  // namespace tsq
