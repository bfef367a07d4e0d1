#include "convert.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace tsqlite {
namespace {

Conversion Fail(const char* state, const char* message) {
  Conversion c;
  c.rc = SQL_ERROR;
  c.sqlstate = state;
  c.message = message;
  return c;
}

Conversion Info(const char* state, const char* message) {
  Conversion c;
  c.rc = SQL_SUCCESS_WITH_INFO;
  c.sqlstate = state;
  c.message = message;
  return c;
}

Conversion OutOfRange() {
  return Fail("22003", "Numeric value out of range");
}
Conversion NotANumber() {
  return Fail("22018", "Invalid character value for the conversion");
}
Conversion Restricted() {
  return Fail("07006", "Restricted data type attribute violation");
}
Conversion FractionLost() {
  return Info("01S07", "Fractional truncation");
}

void SetIndicator(SQLLEN* indicator, SQLLEN v) {
  if (indicator != nullptr) *indicator = v;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A text as a number: exact when it is a plain integer literal, otherwise as a
// floating-point value. Empty when the text is no numeric literal.
struct ParsedNumber {
  bool exact = false;
  int64_t integer = 0;
  long double real = 0;
  bool overflow = false;
};

std::optional<ParsedNumber> ParseNumber(std::string_view raw) {
  const std::string_view s = Trim(raw);
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t int_digits = 0, frac_digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++int_digits;
  bool plain = true;
  if (i < s.size() && s[i] == '.') {
    plain = false;
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++frac_digits;
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    plain = false;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  ParsedNumber n;
  const std::string text(s);
  if (plain) {
    const char* begin = text.c_str() + (text[0] == '+' ? 1 : 0);
    auto [ptr, ec] = std::from_chars(begin, text.c_str() + text.size(), n.integer);
    if (ec == std::errc() && ptr == text.c_str() + text.size()) {
      n.exact = true;
      n.real = static_cast<long double>(n.integer);
      return n;
    }
  }
  errno = 0;
  n.real = std::strtold(text.c_str(), nullptr);
  if (std::isinf(n.real)) n.overflow = true;
  return n;
}

// The integer targets with their ranges (exact as integers, and exact as
// long double for floating-point values).
struct IntegerTarget {
  int64_t low;
  uint64_t high;
  size_t size;
};

constexpr IntegerTarget kInt32{INT32_MIN, INT32_MAX, sizeof(SQLINTEGER)};
constexpr IntegerTarget kUInt32{0, UINT32_MAX, sizeof(SQLUINTEGER)};
constexpr IntegerTarget kInt16{INT16_MIN, INT16_MAX, sizeof(SQLSMALLINT)};
constexpr IntegerTarget kUInt16{0, UINT16_MAX, sizeof(SQLUSMALLINT)};
constexpr IntegerTarget kInt8{INT8_MIN, INT8_MAX, sizeof(SQLSCHAR)};
constexpr IntegerTarget kUInt8{0, UINT8_MAX, sizeof(SQLCHAR)};
constexpr IntegerTarget kBit{0, 1, sizeof(SQLCHAR)};
constexpr IntegerTarget kInt64{INT64_MIN, INT64_MAX, sizeof(SQLBIGINT)};
constexpr IntegerTarget kUInt64{0, UINT64_MAX, sizeof(SQLUBIGINT)};

// What a C type is delivered as, found by one lookup per value. The C types
// the driver knows lie in [kFirstCType, kLastCType].
enum class TargetClass : uint8_t {
  kUnsupported,
  kInteger,
  kFloating,
  kCharacter,
  kBinary,
  kTimestamp,
  kDate
};

struct Target {
  TargetClass cls = TargetClass::kUnsupported;
  const IntegerTarget* range = nullptr;  // kInteger
};

constexpr int kFirstCType = SQL_C_UTINYINT;       // -28
constexpr int kLastCType = SQL_C_TYPE_TIMESTAMP;  // 93

struct TargetTable {
  Target of[kLastCType - kFirstCType + 1] = {};
};

constexpr TargetTable MakeTargetTable() {
  TargetTable t;
  auto set = [&t](int c_type, TargetClass cls, const IntegerTarget* range = nullptr) {
    t.of[c_type - kFirstCType] = Target{cls, range};
  };
  const struct {
    int c_type;
    const IntegerTarget* range;
  } integers[] = {{SQL_C_LONG, &kInt32},   {SQL_C_SLONG, &kInt32},   {SQL_C_ULONG, &kUInt32},
                  {SQL_C_SHORT, &kInt16},  {SQL_C_SSHORT, &kInt16},  {SQL_C_USHORT, &kUInt16},
                  {SQL_C_TINYINT, &kInt8}, {SQL_C_STINYINT, &kInt8}, {SQL_C_UTINYINT, &kUInt8},
                  {SQL_C_BIT, &kBit},      {SQL_C_SBIGINT, &kInt64}, {SQL_C_UBIGINT, &kUInt64}};
  for (const auto& i : integers) set(i.c_type, TargetClass::kInteger, i.range);
  set(SQL_C_DOUBLE, TargetClass::kFloating);
  set(SQL_C_FLOAT, TargetClass::kFloating);
  set(SQL_C_CHAR, TargetClass::kCharacter);
  set(SQL_C_BINARY, TargetClass::kBinary);
  set(SQL_C_TYPE_TIMESTAMP, TargetClass::kTimestamp);
  set(SQL_C_TIMESTAMP, TargetClass::kTimestamp);
  set(SQL_C_TYPE_DATE, TargetClass::kDate);
  set(SQL_C_DATE, TargetClass::kDate);
  return t;
}

constexpr TargetTable kTargets = MakeTargetTable();

Target TargetOf(SQLSMALLINT c_type) {
  if (c_type < kFirstCType || c_type > kLastCType) return Target{};
  return kTargets.of[c_type - kFirstCType];
}

void StoreInteger(SQLSMALLINT c_type, SQLPOINTER target, int64_t v, uint64_t uv) {
  switch (c_type) {
    case SQL_C_LONG:
    case SQL_C_SLONG: {
      SQLINTEGER x = static_cast<SQLINTEGER>(v);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_ULONG: {
      SQLUINTEGER x = static_cast<SQLUINTEGER>(uv);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_SHORT:
    case SQL_C_SSHORT: {
      SQLSMALLINT x = static_cast<SQLSMALLINT>(v);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_USHORT: {
      SQLUSMALLINT x = static_cast<SQLUSMALLINT>(uv);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_TINYINT:
    case SQL_C_STINYINT: {
      SQLSCHAR x = static_cast<SQLSCHAR>(v);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_UTINYINT:
    case SQL_C_BIT: {
      SQLCHAR x = static_cast<SQLCHAR>(uv);
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_SBIGINT: {
      SQLBIGINT x = v;
      std::memcpy(target, &x, sizeof x);
      break;
    }
    case SQL_C_UBIGINT: {
      SQLUBIGINT x = uv;
      std::memcpy(target, &x, sizeof x);
      break;
    }
    default:
      break;
  }
}

Conversion ToInteger(const Value& value, SQLSMALLINT c_type, const IntegerTarget& range,
                     SQLPOINTER target, SQLLEN* indicator) {
  bool exact = false;
  int64_t exact_value = 0;
  long double real = 0;
  switch (value.type) {
    case ValueType::kInteger:
      exact = true;
      exact_value = value.integer;
      break;
    case ValueType::kReal:
      real = value.real;
      break;
    case ValueType::kText: {
      std::optional<ParsedNumber> n = ParseNumber(value.text);
      if (!n) return NotANumber();
      if (n->overflow) return OutOfRange();
      exact = n->exact;
      exact_value = n->integer;
      real = n->real;
      break;
    }
    case ValueType::kNull:
      return Conversion{};
  }
  Conversion result;
  int64_t v = 0;
  uint64_t uv = 0;
  if (exact) {
    if (exact_value < range.low ||
        (exact_value > 0 && static_cast<uint64_t>(exact_value) > range.high)) {
      return OutOfRange();
    }
    v = exact_value;
    uv = static_cast<uint64_t>(exact_value);
  } else {
    if (std::isnan(real)) return OutOfRange();
    const long double whole = std::trunc(real);
    if (whole < static_cast<long double>(range.low) ||
        whole > static_cast<long double>(range.high)) {
      return OutOfRange();
    }
    if (whole != real) result = FractionLost();
    if (whole < 0) {
      v = static_cast<int64_t>(whole);
      uv = static_cast<uint64_t>(v);
    } else {
      uv = static_cast<uint64_t>(whole);
      v = static_cast<int64_t>(uv);
    }
  }
  if (target != nullptr) StoreInteger(c_type, target, v, uv);
  SetIndicator(indicator, static_cast<SQLLEN>(range.size));
  return result;
}

Conversion ToFloating(const Value& value, SQLSMALLINT c_type, SQLPOINTER target,
                      SQLLEN* indicator) {
  long double v = 0;
  switch (value.type) {
    case ValueType::kInteger:
      v = static_cast<long double>(value.integer);
      break;
    case ValueType::kReal:
      v = value.real;
      break;
    case ValueType::kText: {
      std::optional<ParsedNumber> n = ParseNumber(value.text);
      if (!n) return NotANumber();
      if (n->overflow) return OutOfRange();
      v = n->real;
      break;
    }
    case ValueType::kNull:
      return Conversion{};
  }
  if (c_type == SQL_C_FLOAT) {
    if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<float>::max()) return OutOfRange();
    const float f = static_cast<float>(v);
    if (target != nullptr) std::memcpy(target, &f, sizeof f);
    SetIndicator(indicator, sizeof f);
  } else {
    if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<double>::max()) return OutOfRange();
    const double d = static_cast<double>(v);
    if (target != nullptr) std::memcpy(target, &d, sizeof d);
    SetIndicator(indicator, sizeof d);
  }
  return Conversion{};
}

// Copies `text` from `offset` into a character (terminated) or binary buffer.
Conversion ToCharacter(std::string_view text, bool terminate, SQLPOINTER target,
                       SQLLEN buffer_length, SQLLEN* indicator, size_t offset) {
  Conversion result;
  const size_t start = offset < text.size() ? offset : text.size();
  const size_t remaining = text.size() - start;
  SetIndicator(indicator, static_cast<SQLLEN>(remaining));
  if (target == nullptr || buffer_length <= 0) {
    if (remaining > 0 || (terminate && buffer_length <= 0)) {
      result = Info("01004", "String data, right truncated");
    }
    return result;
  }
  const size_t room = static_cast<size_t>(buffer_length) - (terminate ? 1 : 0);
  const size_t n = remaining < room ? remaining : room;
  if (n > 0) std::memcpy(target, text.data() + start, n);
  if (terminate) static_cast<char*>(target)[n] = '\0';
  if (n < remaining) result = Info("01004", "String data, right truncated");
  result.consumed = n;
  return result;
}

// A number written as text: an integer that does not fit fails (no digit may
// be lost), a floating-point text may lose fractional digits only.
Conversion NumberToCharacter(const std::string& text, bool fraction_may_go, SQLPOINTER target,
                             SQLLEN buffer_length, SQLLEN* indicator) {
  if (target != nullptr && static_cast<SQLLEN>(text.size()) >= buffer_length) {
    const size_t whole = text.find_first_of(".eE");
    const size_t whole_length = whole == std::string::npos ? text.size() : whole;
    if (!fraction_may_go || static_cast<SQLLEN>(whole_length) >= buffer_length) {
      return OutOfRange();
    }
  }
  return ToCharacter(text, true, target, buffer_length, indicator, 0);
}

bool ReadDigits(std::string_view s, size_t& pos, size_t count, int& out) {
  if (pos + count > s.size()) return false;
  int v = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = s[pos + i];
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    v = v * 10 + (c - '0');
  }
  pos += count;
  out = v;
  return true;
}

bool Expect(std::string_view s, size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

// "yyyy-mm-dd", optionally followed by " hh:mm:ss" and a fraction.
std::optional<SQL_TIMESTAMP_STRUCT> ParseTimestamp(std::string_view raw) {
  const std::string_view s = Trim(raw);
  SQL_TIMESTAMP_STRUCT ts{};
  size_t pos = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(s, pos, 4, year) || !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, month) ||
      !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, day)) {
    return std::nullopt;
  }
  long fraction = 0;
  if (pos < s.size()) {
    if (!Expect(s, pos, ' ') && !Expect(s, pos, 'T')) return std::nullopt;
    if (!ReadDigits(s, pos, 2, hour) || !Expect(s, pos, ':') || !ReadDigits(s, pos, 2, minute) ||
        !Expect(s, pos, ':') || !ReadDigits(s, pos, 2, second)) {
      return std::nullopt;
    }
    if (pos < s.size()) {
      if (!Expect(s, pos, '.')) return std::nullopt;
      long scale = 100000000;  // nanoseconds
      size_t digits = 0;
      while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
        if (scale > 0) fraction += (s[pos] - '0') * scale;
        scale /= 10;
        ++pos;
        ++digits;
      }
      if (digits == 0 || pos != s.size()) return std::nullopt;
    }
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  ts.year = static_cast<SQLSMALLINT>(year);
  ts.month = static_cast<SQLUSMALLINT>(month);
  ts.day = static_cast<SQLUSMALLINT>(day);
  ts.hour = static_cast<SQLUSMALLINT>(hour);
  ts.minute = static_cast<SQLUSMALLINT>(minute);
  ts.second = static_cast<SQLUSMALLINT>(second);
  ts.fraction = static_cast<SQLUINTEGER>(fraction);
  return ts;
}

Conversion ToDateOrTimestamp(const Value& value, bool date_only, SQLPOINTER target,
                             SQLLEN* indicator) {
  if (value.type != ValueType::kText) return Restricted();
  std::optional<SQL_TIMESTAMP_STRUCT> ts = ParseTimestamp(value.text);
  if (!ts) return NotANumber();
  Conversion result;
  if (date_only) {
    SQL_DATE_STRUCT d{ts->year, ts->month, ts->day};
    if (ts->hour != 0 || ts->minute != 0 || ts->second != 0 || ts->fraction != 0) {
      result = FractionLost();
    }
    if (target != nullptr) std::memcpy(target, &d, sizeof d);
    SetIndicator(indicator, sizeof d);
  } else {
    if (target != nullptr) std::memcpy(target, &*ts, sizeof *ts);
    SetIndicator(indicator, sizeof *ts);
  }
  return result;
}

}  // namespace

std::string IntegerText(int64_t v) {
  return std::to_string(v);
}

std::string RealText(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Infinity" : "Infinity";
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec != std::errc()) return std::to_string(v);
  return std::string(buf, ptr);
}

bool IsSupportedCType(SQLSMALLINT c_type) {
  return TargetOf(c_type).cls != TargetClass::kUnsupported;
}

SQLSMALLINT DefaultCType(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_INTEGER:
      return SQL_C_SLONG;
    case SQL_SMALLINT:
      return SQL_C_SSHORT;
    case SQL_BIGINT:
      return SQL_C_SBIGINT;
    case SQL_DOUBLE:
    case SQL_FLOAT:
      return SQL_C_DOUBLE;
    case SQL_REAL:
      return SQL_C_FLOAT;
    case SQL_TYPE_TIMESTAMP:
      return SQL_C_TYPE_TIMESTAMP;
    default:
      return SQL_C_CHAR;
  }
}

Conversion ConvertValue(const Value& value, SQLSMALLINT c_type, SQLPOINTER target,
                        SQLLEN buffer_length, SQLLEN* indicator, size_t offset) {
  if (value.type == ValueType::kNull) {
    if (indicator == nullptr) {
      return Fail("22002", "Indicator variable required but not supplied");
    }
    *indicator = SQL_NULL_DATA;
    return Conversion{};
  }
  const Target t = TargetOf(c_type);
  switch (t.cls) {
    case TargetClass::kInteger:
      return ToInteger(value, c_type, *t.range, target, indicator);
    case TargetClass::kFloating:
      return ToFloating(value, c_type, target, indicator);
    case TargetClass::kBinary:
      switch (value.type) {
        case ValueType::kInteger:
          return ToCharacter(IntegerText(value.integer), false, target, buffer_length, indicator,
                             offset);
        case ValueType::kReal:
          return ToCharacter(RealText(value.real), false, target, buffer_length, indicator, offset);
        default:
          return ToCharacter(value.text, false, target, buffer_length, indicator, offset);
      }
    case TargetClass::kCharacter:
      switch (value.type) {
        case ValueType::kInteger:
          if (offset > 0) {
            return ToCharacter(IntegerText(value.integer), true, target, buffer_length, indicator,
                               offset);
          }
          return NumberToCharacter(IntegerText(value.integer), false, target, buffer_length,
                                   indicator);
        case ValueType::kReal:
          if (offset > 0) {
            return ToCharacter(RealText(value.real), true, target, buffer_length, indicator,
                               offset);
          }
          return NumberToCharacter(RealText(value.real), true, target, buffer_length, indicator);
        default:
          return ToCharacter(value.text, true, target, buffer_length, indicator, offset);
      }
    case TargetClass::kTimestamp:
      return ToDateOrTimestamp(value, false, target, indicator);
    case TargetClass::kDate:
      return ToDateOrTimestamp(value, true, target, indicator);
    case TargetClass::kUnsupported:
      break;
  }
  return Restricted();
}

}  // namespace tsqlite
