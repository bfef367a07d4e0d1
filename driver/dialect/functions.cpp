#include "dialect/functions.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "civil_date.h"
#include "dialect/date_value.h"
#include "dialect/tokenizer.h"

namespace tsq {
namespace {

const SqlError kBadDateText{241, "22007",
                            "Conversion failed when converting date and/or time from character "
                            "string."};
const SqlError kDateOutOfRange{242, "22008",
                               "The conversion of a varchar data type to a datetime data type "
                               "resulted in an out-of-range value."};
const SqlError kDateAddOverflow{517, "22008",
                                "Adding a value to a 'datetime' column caused an overflow."};

void Fail(sqlite3_context* ctx, const SqlError& error) {
  const std::string text = ErrorMarker(error);
  sqlite3_result_error(ctx, text.c_str(), static_cast<int>(text.size()));
}

std::string_view TextOf(sqlite3_value* value) {
  const unsigned char* text = sqlite3_value_text(value);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_value_bytes(value))};
}

std::string Trimmed(std::string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return std::string(text.substr(b, e - b));
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
  sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

int StyleOf(sqlite3_value* value) {
  return sqlite3_value_type(value) == SQLITE_NULL ? -1 : sqlite3_value_int(value);
}

// A number as a day count from 1900-01-01, as SQL Server reads it into a datetime.
DateTime DateFromNumber(double days) {
  const int64_t base = civil::DaysFromCivil(1900, 1, 1) * 86400;
  return DateTimeFromSeconds(base + static_cast<int64_t>(std::floor(days * 86400.0 + 0.5)));
}

// The date-time a value stands for. Texts follow `style`; numbers count days from 1900-01-01.
// On failure the error is set on `ctx` and false returned.
bool ReadDateValue(sqlite3_context* ctx, sqlite3_value* value, int style, bool date_only,
                   DateTime& out) {
  const int type = sqlite3_value_type(value);
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
    const double days = sqlite3_value_double(value);
    if (!(std::fabs(days) < 3.0e6)) {
      Fail(ctx, kDateAddOverflow);
      return false;
    }
    out = DateFromNumber(days);
  } else {
    const DateParse parsed = ParseDateTime(TextOf(value), style, date_only ? 1 : 1753, out);
    if (parsed == DateParse::kBadFormat || (parsed == DateParse::kOutOfRange && date_only)) {
      Fail(ctx, kBadDateText);
      return false;
    }
    if (parsed == DateParse::kOutOfRange) {
      Fail(ctx, kDateOutOfRange);
      return false;
    }
  }
  if (date_only) out.hour = out.minute = out.second = 0;
  return true;
}

// Cuts a UTF-8 text to `length` characters; pads it with blanks to that
// length when `pad` is set. A negative length leaves it as it is.
std::string FitLength(std::string text, int64_t length, bool pad) {
  if (length < 0) return text;
  int64_t chars = 0;
  size_t pos = 0;
  while (pos < text.size() && chars < length) {
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
    ++chars;
  }
  text.resize(pos);
  if (pad && chars < length) text.append(static_cast<size_t>(length - chars), ' ');
  return text;
}

// A float as SQL Server's style 0 writes it: at most six significant digits,
// scientific with a three-digit exponent when the value needs it.
std::string FloatText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  std::string text = buffer;
  const size_t e = text.find('e');
  if (e != std::string::npos && e + 2 < text.size()) {
    std::string digits = text.substr(e + 2);
    while (digits.size() < 3) digits.insert(0, "0");
    text = text.substr(0, e + 2) + digits;
  }
  return text;
}

void ConvertText(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_value* value = argv[0];
  const int style = StyleOf(argv[1]);
  const int64_t length = sqlite3_value_int64(argv[2]);
  const bool pad = sqlite3_value_int(argv[3]) != 0;
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      sqlite3_result_null(ctx);
      return;
    case SQLITE_INTEGER: {
      std::string text = std::to_string(sqlite3_value_int64(value));
      if (length >= 0 && static_cast<int64_t>(text.size()) > length) text = "*";
      ResultText(ctx, FitLength(text, length, pad));
      return;
    }
    case SQLITE_FLOAT:
      ResultText(ctx, FitLength(FloatText(sqlite3_value_double(value)), length, pad));
      return;
    default:
      break;
  }
  std::string text(TextOf(value));
  DateTime date;
  // Date columns hold text; a style asks for them to be written as dates.
  if (style >= 0 && ParseDateTime(text, -1, 1, date) == DateParse::kOk && !Trimmed(text).empty()) {
    const std::optional<std::string> formatted = FormatDateTime(date, style);
    if (!formatted) {
      Fail(ctx, {281, "42000",
                 std::to_string(style) +
                     " is not a valid style number when converting from datetime to a "
                     "character string."});
      return;
    }
    text = *formatted;
  }
  ResultText(ctx, FitLength(text, length, pad));
}

void ConvertDateTime(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  DateTime value;
  if (!ReadDateValue(ctx, argv[0], StyleOf(argv[1]), sqlite3_value_int(argv[2]) != 0, value)) {
    return;
  }
  ResultText(ctx, CanonicalText(value));
}

struct IntType {
  std::string_view name;
  int64_t min;
  int64_t max;
};

constexpr IntType kIntTypes[] = {
    {"INT", std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
    {"SMALLINT", std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()},
    {"TINYINT", 0, 255},
    {"BIGINT", std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()},
    {"BIT", 0, 1},
};

void ConvertInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_value* value = argv[0];
  const std::string name = Upper(TextOf(argv[1]));
  IntType type = kIntTypes[0];
  for (const IntType& t : kIntTypes) {
    if (t.name == name) type = t;
  }
  const std::string lower_name = [&] {
    std::string n(type.name);
    for (char& c : n) c = static_cast<char>(c - 'A' + 'a');
    return n;
  }();
  const SqlError overflow{
      8115, "22003",
      "Arithmetic overflow error converting expression to data type " + lower_name + "."};
  int64_t result = 0;
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      sqlite3_result_null(ctx);
      return;
    case SQLITE_INTEGER:
      result = sqlite3_value_int64(value);
      if (type.name == "BIT") result = result != 0 ? 1 : 0;
      break;
    case SQLITE_FLOAT: {
      const double d = std::trunc(sqlite3_value_double(value));
      if (type.name == "BIT") {
        result = d != 0.0 ? 1 : 0;
      } else if (!(d >= static_cast<double>(type.min) && d <= static_cast<double>(type.max))) {
        Fail(ctx, overflow);
        return;
      } else {
        result = static_cast<int64_t>(d);
      }
      break;
    }
    default: {
      const std::string text = Trimmed(TextOf(value));
      const std::string upper = Upper(text);
      const SqlError bad{245, "22018",
                         "Conversion failed when converting the varchar value '" +
                             std::string(TextOf(value)) + "' to data type " + lower_name + "."};
      if (type.name == "BIT" && (upper == "TRUE" || upper == "FALSE")) {
        result = upper == "TRUE" ? 1 : 0;
        break;
      }
      if (text.empty()) break;  // an empty text converts to 0
      size_t digits_at = (text[0] == '+' || text[0] == '-') ? 1 : 0;
      if (digits_at == text.size() ||
          text.find_first_not_of("0123456789", digits_at) != std::string::npos) {
        Fail(ctx, bad);
        return;
      }
      errno = 0;
      const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
      if (errno == ERANGE) {
        Fail(ctx, {248, "22003",
                   "The conversion of the varchar value '" + text + "' overflowed an " +
                       lower_name + " column."});
        return;
      }
      result = parsed;
      if (type.name == "BIT") result = result != 0 ? 1 : 0;
      break;
    }
  }
  if (result < type.min || result > type.max) {
    Fail(ctx, overflow);
    return;
  }
  sqlite3_result_int64(ctx, result);
}

void ConvertFloat(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_value* value = argv[0];
  const int scale = sqlite3_value_type(argv[1]) == SQLITE_NULL ? -1 : sqlite3_value_int(argv[1]);
  double result = 0.0;
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      sqlite3_result_null(ctx);
      return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      result = sqlite3_value_double(value);
      break;
    default: {
      const std::string text = Trimmed(TextOf(value));
      if (!text.empty()) {
        char* end = nullptr;
        result = std::strtod(text.c_str(), &end);
        if (end == nullptr || *end != '\0' || !std::isfinite(result)) {
          Fail(ctx, {8114, "22018",
                     std::string("Error converting data type varchar to ") +
                         (scale >= 0 ? "numeric." : "float.")});
          return;
        }
      }
    }
  }
  if (scale >= 0 && scale <= 15) {
    const double factor = std::pow(10.0, scale);
    result = std::round(result * factor) / factor;
  }
  sqlite3_result_double(ctx, result);
}

bool ReadAmount(sqlite3_context* ctx, sqlite3_value* value, int64_t& out) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      out = sqlite3_value_int64(value);
      return true;
    case SQLITE_FLOAT: {
      const double d = std::trunc(sqlite3_value_double(value));
      if (!(std::fabs(d) < 9.0e15)) {
        Fail(ctx, kDateAddOverflow);
        return false;
      }
      out = static_cast<int64_t>(d);
      return true;
    }
    default: {
      const std::string text = Trimmed(TextOf(value));
      char* end = nullptr;
      errno = 0;
      out = std::strtoll(text.c_str(), &end, 10);
      if (text.empty() || end == nullptr || *end != '\0' || errno == ERANGE) {
        Fail(ctx, {245, "22018",
                   "Conversion failed when converting the varchar value '" + text +
                       "' to data type int."});
        return false;
      }
      return true;
    }
  }
}

void DateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::optional<DatePart> part = ParseDatePart(TextOf(argv[0]));
  if (!part) {
    Fail(ctx, {155, "42000",
               "'" + std::string(TextOf(argv[0])) + "' is not a recognized dateadd option."});
    return;
  }
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  int64_t amount = 0;
  DateTime value;
  if (!ReadAmount(ctx, argv[1], amount) || !ReadDateValue(ctx, argv[2], -1, false, value)) return;
  if (!AddToDateTime(*part, amount, value) || value.year < 1753) {
    Fail(ctx, kDateAddOverflow);
    return;
  }
  ResultText(ctx, CanonicalText(value));
}

// datediff counts the boundaries of `part` crossed between the two values.
void DateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::optional<DatePart> part = ParseDatePart(TextOf(argv[0]));
  if (!part) {
    Fail(ctx, {155, "42000",
               "'" + std::string(TextOf(argv[0])) + "' is not a recognized datediff option."});
    return;
  }
  if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  DateTime a;
  DateTime b;
  if (!ReadDateValue(ctx, argv[1], -1, false, a) || !ReadDateValue(ctx, argv[2], -1, false, b)) {
    return;
  }
  const int64_t days =
      civil::DaysFromCivil(b.year, b.month, b.day) - civil::DaysFromCivil(a.year, a.month, a.day);
  int64_t result = 0;
  switch (*part) {
    case DatePart::kYear:
      result = b.year - a.year;
      break;
    case DatePart::kQuarter:
      result = (b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3);
      break;
    case DatePart::kMonth:
      result = (b.year * 12 + b.month) - (a.year * 12 + a.month);
      break;
    case DatePart::kDayOfYear:
    case DatePart::kDay:
      result = days;
      break;
    case DatePart::kWeek: {
      // Weeks start on Sunday; 1970-01-04 was one.
      auto week = [](const DateTime& v) {
        const int64_t d = civil::DaysFromCivil(v.year, v.month, v.day) - 3;
        return d >= 0 ? d / 7 : (d - 6) / 7;
      };
      result = week(b) - week(a);
      break;
    }
    case DatePart::kHour:
      result = days * 24 + (b.hour - a.hour);
      break;
    case DatePart::kMinute:
      result = (days * 24 + (b.hour - a.hour)) * 60 + (b.minute - a.minute);
      break;
    case DatePart::kSecond:
      result = SecondsOf(b) - SecondsOf(a);
      break;
  }
  if (result < std::numeric_limits<int32_t>::min() ||
      result > std::numeric_limits<int32_t>::max()) {
    Fail(ctx, {535, "22003",
               "The datediff function resulted in an overflow. The number of dateparts separating "
               "two date/time instances is too large."});
    return;
  }
  sqlite3_result_int64(ctx, result);
}

void Register(sqlite3* db, const char* name, int args,
              void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
  sqlite3_create_function_v2(db, name, args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fn,
                             nullptr, nullptr, nullptr);
}

}  // namespace

void RegisterDialectFunctions(sqlite3* db) {
  Register(db, "tsq_convert_text", 4, ConvertText);
  Register(db, "tsq_convert_datetime", 3, ConvertDateTime);
  Register(db, "tsq_convert_int", 2, ConvertInt);
  Register(db, "tsq_convert_float", 2, ConvertFloat);
  Register(db, "tsq_dateadd", 3, DateAdd);
  Register(db, "tsq_datediff", 3, DateDiff);
}

std::string ErrorMarker(const SqlError& error) {
  return "tsq:" + std::to_string(error.native) + ":" + error.sqlstate + ":" + error.message;
}

std::optional<SqlError> ParseErrorMarker(std::string_view text) {
  if (text.substr(0, 4) != "tsq:") return std::nullopt;
  text.remove_prefix(4);
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 9) return std::nullopt;
  SqlError error;
  for (char c : text.substr(0, colon)) {
    if (c < '0' || c > '9') return std::nullopt;
    error.native = error.native * 10 + (c - '0');
  }
  text.remove_prefix(colon + 1);
  if (text.size() < 6 || text[5] != ':') return std::nullopt;
  error.sqlstate = std::string(text.substr(0, 5));
  error.message = std::string(text.substr(6));
  return error;
}

}  // namespace tsq
