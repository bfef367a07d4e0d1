// The diagnostic records of one handle. Every ODBC call on a handle clears
// them first; a call that fails or returns information leaves its records
// here for SQLGetDiagRec and SQLGetDiagField. Messages carry the driver's
// prefix "[tsqlite]" as clients expect from a driver.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tsqlite {

struct DiagRecord {
  std::string sqlstate;  // five characters
  int32_t native = 0;
  std::string message;  // with the driver prefix
  SQLLEN row = SQL_NO_ROW_NUMBER;
  SQLINTEGER column = SQL_NO_COLUMN_NUMBER;
};

struct Diagnostics {
  std::vector<DiagRecord> records;
  SQLRETURN return_code = SQL_SUCCESS;

  void Clear() {
    records.clear();
    return_code = SQL_SUCCESS;
  }
  // Adds a record; `message` is given without the prefix.
  void Add(std::string_view sqlstate, int32_t native, std::string_view message,
           SQLLEN row = SQL_NO_ROW_NUMBER, SQLINTEGER column = SQL_NO_COLUMN_NUMBER);
};

// The prefix of every message.
inline constexpr std::string_view kMessagePrefix = "[tsqlite]";

// "ISO 9075" or "ODBC 3.0", as SQL_DIAG_CLASS_ORIGIN / SUBCLASS_ORIGIN report.
std::string ClassOrigin(const std::string& sqlstate);
std::string SubclassOrigin(const std::string& sqlstate);

// The SQLSTATE an ODBC 2 application expects for the ODBC 3 `sqlstate`.
std::string Odbc2State(const std::string& sqlstate);

}  // namespace tsqlite
