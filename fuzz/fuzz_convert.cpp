// libFuzzer target: the driver's value conversions. The first input byte
// picks the operation, the second its parameter, the rest is the value:
//   0  a text value into a C type (text to number, truncation)
//   1  a number (the next 8 bytes, integer or real) into a C type
//   2  a date text read with convert() style 112 or 120 (and others) and
//      formatted back
//   3  the conversion functions translated statements call, on the text
// Pieces delivered in turn must add up to the whole value, and a date that
// was read must read back the same after formatting.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "convert.h"
#include "dialect/date_value.h"
#include "dialect/dialect.h"

namespace {

constexpr SQLSMALLINT kCTypes[] = {
    SQL_C_CHAR,  SQL_C_BINARY,         SQL_C_LONG,      SQL_C_ULONG,
    SQL_C_SHORT, SQL_C_USHORT,         SQL_C_TINYINT,   SQL_C_UTINYINT,
    SQL_C_BIT,   SQL_C_SBIGINT,        SQL_C_UBIGINT,   SQL_C_DOUBLE,
    SQL_C_FLOAT, SQL_C_TYPE_TIMESTAMP, SQL_C_TYPE_DATE, SQL_C_DEFAULT};
constexpr int kStyles[] = {112, 120, 0,   1,   3,   4,   5,   8,   12,  20,
                           21,  23,  101, 103, 104, 105, 108, 121, 126, 7};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Delivers the value into a buffer of `length` bytes, in pieces for the
// character and binary types, and checks the pieces against the whole.
void Deliver(const tsqlite::Value& v, SQLSMALLINT c_type, SQLLEN length) {
  alignas(16) unsigned char buffer[256];
  const bool pieces = c_type == SQL_C_CHAR || c_type == SQL_C_BINARY;
  std::string whole;
  size_t offset = 0;
  const size_t most_calls = v.text.size() + 64;
  for (size_t call = 0; call < most_calls; ++call) {
    SQLLEN indicator = 0;
    std::memset(buffer, 0xAB, sizeof buffer);
    const tsqlite::Conversion c =
        tsqlite::ConvertValue(v, c_type, buffer, pieces ? length : 0, &indicator, offset);
    Check(c.rc == SQL_SUCCESS || c.rc == SQL_SUCCESS_WITH_INFO || c.rc == SQL_ERROR ||
          c.rc == SQL_NO_DATA);
    if (c.rc != SQL_SUCCESS && c.rc != SQL_NO_DATA) Check(c.sqlstate.size() == 5);
    if (!pieces || c.rc == SQL_ERROR || c.rc == SQL_NO_DATA) return;
    const size_t room = c_type == SQL_C_CHAR && length > 0 ? static_cast<size_t>(length) - 1
                                                           : static_cast<size_t>(length);
    Check(c.consumed <= room);
    if (c_type == SQL_C_CHAR && length > 0) Check(buffer[c.consumed] == '\0');
    whole.append(reinterpret_cast<const char*>(buffer), c.consumed);
    offset += c.consumed;
    if (c.rc == SQL_SUCCESS || c.consumed == 0) break;
  }
  if (v.type == tsqlite::ValueType::kText && length > static_cast<SQLLEN>(1)) {
    Check(whole == v.text);
  }
}

void DateRoundTrip(std::string_view text, int style) {
  tsq::DateTime d;
  if (tsq::ParseDateTime(text, style, 1753, d) != tsq::DateParse::kOk) return;
  for (int out : {112, 120}) {
    const auto formatted = tsq::FormatDateTime(d, out);
    Check(formatted.has_value());
    tsq::DateTime back;
    Check(tsq::ParseDateTime(*formatted, out, 1753, back) == tsq::DateParse::kOk);
    Check(back.year == d.year && back.month == d.month && back.day == d.day);
    if (out == 120) Check(tsq::CanonicalText(back) == tsq::CanonicalText(d));
  }
}

sqlite3* Database() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    tsq::RegisterFunctions(d);
    return d;
  }();
  return db;
}

void RunFunction(const char* sql, std::string_view text, int param) {
  sqlite3* db = Database();
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) __builtin_trap();
  sqlite3_bind_text(st, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
  sqlite3_bind_int(st, 2, param);
  const int rc = sqlite3_step(st);
  if (rc != SQLITE_ROW) {
    const tsq::SqlError e = tsq::MapError(db, rc);
    Check(e.native != 0 && e.sqlstate.size() == 5);
  }
  sqlite3_finalize(st);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t op = data[0] % 4;
  const uint8_t param = data[1];
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const SQLSMALLINT c_type = kCTypes[param % (sizeof kCTypes / sizeof kCTypes[0])];
  const SQLLEN length = param / 16;  // 0 to 15 bytes
  const int style = kStyles[param % (sizeof kStyles / sizeof kStyles[0])];

  switch (op) {
    case 0: {
      tsqlite::Value v;
      v.type = tsqlite::ValueType::kText;
      v.text = rest;  // the value only views the input, as a result row does
      Deliver(v, c_type, length);
      break;
    }
    case 1: {
      if (rest.size() < 8) return 0;
      tsqlite::Value v;
      if (param & 1) {
        v.type = tsqlite::ValueType::kReal;
        std::memcpy(&v.real, rest.data(), sizeof v.real);
      } else {
        v.type = tsqlite::ValueType::kInteger;
        std::memcpy(&v.integer, rest.data(), sizeof v.integer);
      }
      Deliver(v, c_type, length);
      if (v.type == tsqlite::ValueType::kInteger) {
        Check(std::stoll(tsqlite::IntegerText(v.integer)) == v.integer);
      }
      break;
    }
    case 2:
      DateRoundTrip(rest, style);
      break;
    default:
      switch (param % 5) {
        case 0:
          RunFunction(
              "SELECT tsq_convert_int(?1, CASE ?2 % 4 WHEN 0 THEN 'int' WHEN 1 "
              "THEN 'smallint' WHEN 2 THEN 'tinyint' ELSE 'bigint' END)",
              rest, param);
          break;
        case 1:
          RunFunction("SELECT tsq_convert_float(?1, ?2 % 12)", rest, param);
          break;
        case 2:
          RunFunction("SELECT tsq_convert_text(?1, NULL, ?2 % 40, ?2 & 1)", rest, param);
          break;
        case 3:
          RunFunction("SELECT tsq_convert_datetime(?1, 112, ?2 & 1)", rest, param);
          break;
        default:
          RunFunction("SELECT tsq_convert_text(tsq_convert_datetime(?1, 120, 0), ?2, 30, 0)", rest,
                      style);
          break;
      }
      break;
  }
  return 0;
}
