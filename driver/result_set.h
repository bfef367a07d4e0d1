// A materialised result set: every row of a query is read when the statement
// is executed, so that no SQLite statement stays active between ODBC calls.
// Values keep the storage class SQLite gave them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tsqlite {

enum class ValueType { kNull, kInteger, kReal, kText };

struct Value {
  ValueType type = ValueType::kNull;
  int64_t integer = 0;
  double real = 0.0;
  std::string text;  // also holds BLOB bytes
};

// What the driver tells a client about one result column.
struct ColumnInfo {
  std::string name;
  std::string table;      // base table, empty for expressions
  std::string schema;     // attached schema of the base table
  std::string type_name;  // the type name reported to clients
  int16_t sql_type = 0;   // SQL_VARCHAR, SQL_INTEGER, ...
  uint64_t column_size = 0;
  int16_t decimal_digits = 0;
  int64_t display_size = 0;
  int64_t octet_length = 0;
};

// A result column as the engine declares it: what a description starts from.
struct ColumnDecl {
  std::string name;
  std::string table;
  std::string schema;
  std::string decltype_text;  // empty for an expression
};
using ColumnDecls = std::shared_ptr<const std::vector<ColumnDecl>>;

struct ResultSet {
  // Described columns. A query's result is described when first asked (see
  // Described()), from `declared` and the rows it holds.
  std::vector<ColumnInfo> columns;
  ColumnDecls declared;  // null when `columns` is complete
  std::vector<std::vector<Value>> rows;

  size_t column_count() const { return declared ? declared->size() : columns.size(); }
};

}  // namespace tsqlite
