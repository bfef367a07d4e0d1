#include "dialect/date_value.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "civil_date.h"
#include "dialect/tokenizer.h"

namespace tsq {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A cursor over the text being parsed.
struct Scanner {
  std::string_view text;
  size_t pos = 0;

  bool AtEnd() const { return pos >= text.size(); }
  char Peek() const { return AtEnd() ? '\0' : text[pos]; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos;
    return true;
  }
  // Reads 1..max_digits digits; the count read goes to `count`.
  bool Number(int max_digits, int& value, int* count = nullptr) {
    int n = 0;
    value = 0;
    while (n < max_digits && std::isdigit(static_cast<unsigned char>(Peek()))) {
      value = value * 10 + (text[pos++] - '0');
      ++n;
    }
    if (count != nullptr) *count = n;
    return n > 0;
  }
};

bool ParseTime(Scanner& s, DateTime& out) {
  if (!s.Number(2, out.hour) || !s.Take(':') || !s.Number(2, out.minute)) return false;
  if (s.Take(':')) {
    if (!s.Number(2, out.second)) return false;
    if (s.Take('.') || s.Take(',')) {
      int fraction = 0;
      int digits = 0;
      s.Number(9, fraction, &digits);
      if (digits == 0) return false;
    }
  }
  return true;
}

bool DayFirstStyle(int style) {
  const int base = style % 100;
  return base == 3 || base == 4 || base == 5;
}

bool MonthFirstStyle(int style) {
  return style % 100 == 1;
}

bool ParseDate(Scanner& s, int style, DateTime& out) {
  int first = 0;
  int digits = 0;
  if (!s.Number(8, first, &digits)) return false;
  if (digits == 8) {  // yyyymmdd
    out.year = first / 10000;
    out.month = first / 100 % 100;
    out.day = first % 100;
    return true;
  }
  const char sep = s.Peek();
  if (sep != '-' && sep != '/' && sep != '.') return false;
  ++s.pos;
  int second = 0;
  int third = 0;
  int third_digits = 0;
  if (!s.Number(2, second) || !s.Take(sep) || !s.Number(4, third, &third_digits)) return false;
  if (digits == 4) {  // yyyy-mm-dd
    if (third_digits > 2) return false;
    out.year = first;
    out.month = second;
    out.day = third;
    return true;
  }
  if (digits > 2 || (third_digits != 4 && third_digits != 2)) return false;
  if (third_digits == 2) third += third < 50 ? 2000 : 1900;
  out.year = third;
  if (DayFirstStyle(style) || (!MonthFirstStyle(style) && sep == '.')) {
    out.day = first;
    out.month = second;
  } else {
    out.month = first;
    out.day = second;
  }
  return true;
}

bool InRange(const DateTime& v, int min_year) {
  return v.year >= min_year && v.year <= 9999 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
         v.day <= civil::DaysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 &&
         v.minute >= 0 && v.minute <= 59 && v.second >= 0 && v.second <= 59;
}

// Appends `value` with at least `width` digits, zeros in front.
void AppendDigits(std::string& out, int value, int width) {
  if (value < 0 || width > 10) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    out += buffer;
    return;
  }
  char buffer[10];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  const size_t n = static_cast<size_t>(end - buffer);
  if (n < static_cast<size_t>(width)) out.append(static_cast<size_t>(width) - n, '0');
  out.append(buffer, n);
}

// Appends the date of `v` as year, month and day with `separator` between
// them (none when it is '\0'), in the order `order` gives: "ymd", "mdy", "dmy".
void AppendDate(std::string& out, const DateTime& v, bool century, std::string_view order,
                char separator) {
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && separator != '\0') out += separator;
    switch (order[i]) {
      case 'y':
        AppendDigits(out, century ? v.year : v.year % 100, century ? 4 : 2);
        break;
      case 'm':
        AppendDigits(out, v.month, 2);
        break;
      default:
        AppendDigits(out, v.day, 2);
    }
  }
}

void AppendTime(std::string& out, const DateTime& v) {
  AppendDigits(out, v.hour, 2);
  out += ':';
  AppendDigits(out, v.minute, 2);
  out += ':';
  AppendDigits(out, v.second, 2);
}

}  // namespace

DateTime DateTimeFromSeconds(int64_t seconds) {
  int64_t days = seconds / kSecondsPerDay;
  int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const civil::YearMonthDay date = civil::CivilFromDays(days);
  DateTime out;
  out.year = date.year;
  out.month = date.month;
  out.day = date.day;
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

int64_t SecondsOf(const DateTime& v) {
  return civil::DaysFromCivil(v.year, v.month, v.day) * kSecondsPerDay + v.hour * 3600 +
         v.minute * 60 + v.second;
}

DateParse ParseDateTime(std::string_view text, int style, int min_year, DateTime& out) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  DateTime value;
  if (!text.empty()) {
    Scanner s{text};
    const bool time_only = text.size() >= 3 && (text[1] == ':' || text[2] == ':');
    if (time_only) {
      if (!ParseTime(s, value)) return DateParse::kBadFormat;
    } else {
      if (!ParseDate(s, style, value)) return DateParse::kBadFormat;
      if (s.Take(' ') || s.Take('T')) {
        while (s.Take(' ')) {
        }
        if (!ParseTime(s, value)) return DateParse::kBadFormat;
      }
    }
    s.Take('Z');
    if (!s.AtEnd()) return DateParse::kBadFormat;
  }
  if (!InRange(value, min_year)) return DateParse::kOutOfRange;
  out = value;
  return DateParse::kOk;
}

std::string CanonicalText(const DateTime& v) {
  std::string out;
  out.reserve(23);  // room for ".000" as well
  AppendDate(out, v, true, "ymd", '-');
  out += ' ';
  AppendTime(out, v);
  return out;
}

std::optional<std::string> FormatDateTime(const DateTime& v, int style) {
  const bool century = style >= 100 || style == 20 || style == 21 || style == 23;
  std::string out;
  switch (style) {
    case 0:
    case 100: {
      char buffer[40];
      const int hour12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
      std::snprintf(buffer, sizeof buffer, "%s %2d %04d %2d:%02d%s", kMonthNames[v.month - 1],
                    v.day, v.year, hour12, v.minute, v.hour < 12 ? "AM" : "PM");
      return std::string(buffer);
    }
    case 1:
    case 101:
      AppendDate(out, v, century, "mdy", '/');
      return out;
    case 3:
    case 103:
      AppendDate(out, v, century, "dmy", '/');
      return out;
    case 4:
    case 104:
      AppendDate(out, v, century, "dmy", '.');
      return out;
    case 5:
    case 105:
      AppendDate(out, v, century, "dmy", '-');
      return out;
    case 8:
    case 108:
      AppendTime(out, v);
      return out;
    case 12:
    case 112:
      AppendDate(out, v, century, "ymd", '\0');
      return out;
    case 23:
      AppendDate(out, v, century, "ymd", '-');
      return out;
    case 20:
    case 120:
      return CanonicalText(v);
    case 21:
    case 121:
      return CanonicalText(v) + ".000";
    case 126:
      AppendDate(out, v, century, "ymd", '-');
      out += 'T';
      AppendTime(out, v);
      return out;
    default:
      return std::nullopt;
  }
}

std::optional<DatePart> ParseDatePart(std::string_view name) {
  const std::string n = Upper(name);
  if (n == "YEAR" || n == "YY" || n == "YYYY") return DatePart::kYear;
  if (n == "QUARTER" || n == "QQ" || n == "Q") return DatePart::kQuarter;
  if (n == "MONTH" || n == "MM" || n == "M") return DatePart::kMonth;
  if (n == "DAYOFYEAR" || n == "DY" || n == "Y") return DatePart::kDayOfYear;
  if (n == "DAY" || n == "DD" || n == "D" || n == "WEEKDAY" || n == "DW" || n == "W") {
    return DatePart::kDay;
  }
  if (n == "WEEK" || n == "WK" || n == "WW") return DatePart::kWeek;
  if (n == "HOUR" || n == "HH") return DatePart::kHour;
  if (n == "MINUTE" || n == "MI" || n == "N") return DatePart::kMinute;
  if (n == "SECOND" || n == "SS" || n == "S") return DatePart::kSecond;
  return std::nullopt;
}

bool AddToDateTime(DatePart part, int64_t amount, DateTime& value) {
  // Far beyond any reachable date; keeps the arithmetic below from overflowing.
  constexpr int64_t kLimit = int64_t{1} << 40;
  if (amount > kLimit || amount < -kLimit) return false;
  int64_t months = 0;
  int64_t seconds = 0;
  switch (part) {
    case DatePart::kYear:
      months = amount * 12;
      break;
    case DatePart::kQuarter:
      months = amount * 3;
      break;
    case DatePart::kMonth:
      months = amount;
      break;
    case DatePart::kDayOfYear:
    case DatePart::kDay:
      seconds = amount * kSecondsPerDay;
      break;
    case DatePart::kWeek:
      seconds = amount * 7 * kSecondsPerDay;
      break;
    case DatePart::kHour:
      seconds = amount * 3600;
      break;
    case DatePart::kMinute:
      seconds = amount * 60;
      break;
    case DatePart::kSecond:
      seconds = amount;
      break;
  }
  DateTime result = value;
  if (months != 0) {
    const int64_t total = static_cast<int64_t>(value.year) * 12 + (value.month - 1) + months;
    if (total < 12 || total > 9999 * 12 + 11) return false;
    result.year = static_cast<int>(total / 12);
    result.month = static_cast<int>(total % 12 + 1);
    const int last = civil::DaysInMonth(result.year, result.month);
    if (result.day > last) result.day = last;
  }
  if (seconds != 0) {
    result = DateTimeFromSeconds(SecondsOf(result) + seconds);
  }
  if (result.year < 1 || result.year > 9999) return false;
  value = result;
  return true;
}

}  // namespace tsq
