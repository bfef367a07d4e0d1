// The content of a database as plain rows: tables with their column names
// and typed values, and the T-SQL insert statements that load them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ctl {

struct SqlValue {
  enum class Kind { kNull, kInt, kReal, kText, kDate, kDateTime };
  Kind kind = Kind::kNull;
  int64_t i = 0;
  double d = 0.0;
  std::string s;  // text; date as yyyymmdd; date-time as yyyy-mm-dd hh:mm:ss

  static SqlValue Null() { return SqlValue{}; }
  static SqlValue Int(int64_t v) { return SqlValue{Kind::kInt, v, 0.0, {}}; }
  static SqlValue Real(double v) { return SqlValue{Kind::kReal, 0, v, {}}; }
  static SqlValue Text(std::string v) { return SqlValue{Kind::kText, 0, 0.0, std::move(v)}; }
  static SqlValue Date(std::string v) { return SqlValue{Kind::kDate, 0, 0.0, std::move(v)}; }
  static SqlValue DateTime(std::string v) {
    return SqlValue{Kind::kDateTime, 0, 0.0, std::move(v)};
  }
  bool operator==(const SqlValue&) const = default;
};

struct DemoTable {
  std::string name;            // table name, e.g. "Kvt730Bdp"
  bool system_schema = false;  // true: lives in KvtSystem, else in the job's schema
  std::vector<std::string> columns;
  std::vector<std::vector<SqlValue>> rows;
};

struct DemoDatabase {
  std::vector<DemoTable> tables;
  const DemoTable* Find(const std::string& name) const;
};

// The literal of one value in T-SQL: NULL, decimal, fixed-point with six
// decimals, a quoted text (quotes doubled), convert(datetime, '...', 112 or 120).
std::string SqlLiteral(const SqlValue& v);

// One INSERT per row, in table order; tables qualified with `schema`
// (KvtSystem for the base calendar).
std::vector<std::string> InsertStatements(const DemoDatabase& db, const std::string& schema);

}  // namespace ctl
