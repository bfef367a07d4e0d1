#include "diagnostics.h"

#include <array>
#include <utility>

namespace tsqlite {

void Diagnostics::Add(std::string_view sqlstate, int32_t native, std::string_view message,
                      SQLLEN row, SQLINTEGER column) {
  DiagRecord r;
  r.sqlstate = std::string(sqlstate.substr(0, 5));
  r.native = native;
  r.message = std::string(kMessagePrefix);
  r.message += message;
  r.row = row;
  r.column = column;
  records.push_back(std::move(r));
}

std::string ClassOrigin(const std::string& sqlstate) {
  const std::string cls = sqlstate.substr(0, 2);
  return (cls == "IM" || cls == "HY") ? "ODBC 3.0" : "ISO 9075";
}

std::string SubclassOrigin(const std::string& sqlstate) {
  // The ODBC-defined subclasses of the standard classes.
  static const std::array<const char*, 24> kOdbc = {
      "01S00", "01S01", "01S02", "01S06", "01S07", "07S01", "08S01", "21S01",
      "21S02", "25S01", "25S02", "25S03", "42S01", "42S02", "42S11", "42S12",
      "42S21", "42S22", "HY095", "HY097", "HY098", "HY099", "HY100", "HY101"};
  for (const char* s : kOdbc) {
    if (sqlstate == s) return "ODBC 3.0";
  }
  return ClassOrigin(sqlstate);
}

std::string Odbc2State(const std::string& sqlstate) {
  static const std::array<std::pair<const char*, const char*>, 12> kMap = {{
      {"07009", "S1002"},
      {"22003", "22003"},
      {"42S01", "S0001"},
      {"42S02", "S0002"},
      {"42S11", "S0011"},
      {"42S12", "S0012"},
      {"42S21", "S0021"},
      {"42S22", "S0022"},
      {"HYT00", "S1T00"},
      {"HY000", "S1000"},
      {"HYC00", "S1C00"},
      {"01S07", "01S07"},
  }};
  for (const auto& [v3, v2] : kMap) {
    if (sqlstate == v3) return v2;
  }
  if (sqlstate.rfind("HY", 0) == 0) return "S1" + sqlstate.substr(2);
  return sqlstate;
}

}  // namespace tsqlite
