#include "column_type.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

#include "dialect/tokenizer.h"

namespace tsqlite {
namespace {

bool Has(const std::string& s, const char* part) {
  return s.find(part) != std::string::npos;
}

// The first number between parentheses, 0 when there is none.
uint64_t DeclaredLength(const std::string& decl) {
  size_t open = decl.find('(');
  if (open == std::string::npos) return 0;
  const char* p = decl.c_str() + open + 1;
  while (*p == ' ') ++p;
  if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
  char* end = nullptr;
  unsigned long long n = std::strtoull(p, &end, 10);
  return n > 0x7fffffff ? 0x7fffffff : n;
}

struct ColumnStats {
  bool any_text = false;
  bool any_real = false;
  bool any_integer = false;
  bool beyond_int32 = false;
  uint64_t max_text = 0;
};

ColumnStats Scan(size_t index, const ResultSet& rs) {
  ColumnStats s;
  for (const auto& row : rs.rows) {
    if (index >= row.size()) continue;
    const Value& v = row[index];
    switch (v.type) {
      case ValueType::kText:
        s.any_text = true;
        s.max_text = std::max<uint64_t>(s.max_text, v.text.size());
        break;
      case ValueType::kReal:
        s.any_real = true;
        break;
      case ValueType::kInteger:
        s.any_integer = true;
        if (v.integer > std::numeric_limits<int32_t>::max() ||
            v.integer < std::numeric_limits<int32_t>::min()) {
          s.beyond_int32 = true;
        }
        break;
      case ValueType::kNull:
        break;
    }
  }
  return s;
}

void SetText(ColumnInfo& c, bool fixed, uint64_t length) {
  if (length == 0) length = 1;
  c.sql_type = fixed ? SQL_CHAR : SQL_VARCHAR;
  c.type_name = fixed ? "char" : "varchar";
  c.column_size = length;
  c.display_size = static_cast<int64_t>(length);
  c.octet_length = static_cast<int64_t>(length);
}

void SetInteger(ColumnInfo& c, int16_t type) {
  c.sql_type = type;
  switch (type) {
    case SQL_SMALLINT:
      c.type_name = "smallint";
      c.column_size = 5;
      c.display_size = 6;
      c.octet_length = 2;
      break;
    case SQL_BIGINT:
      c.type_name = "bigint";
      c.column_size = 19;
      c.display_size = 20;
      c.octet_length = 8;
      break;
    default:
      c.type_name = "int";
      c.column_size = 10;
      c.display_size = 11;
      c.octet_length = 4;
      break;
  }
}

void SetDouble(ColumnInfo& c) {
  c.sql_type = SQL_DOUBLE;
  c.type_name = "float";
  c.column_size = 15;
  c.display_size = 24;
  c.octet_length = 8;
}

void SetTimestamp(ColumnInfo& c) {
  c.sql_type = SQL_TYPE_TIMESTAMP;
  c.type_name = "datetime";
  c.column_size = 19;
  c.display_size = 19;
  c.octet_length = sizeof(SQL_TIMESTAMP_STRUCT);
}

}  // namespace

void DescribeColumn(std::string_view decltype_text, size_t index, const ResultSet& rs,
                    ColumnInfo& column) {
  const ColumnStats stats = Scan(index, rs);
  const std::string decl = tsq::Upper(decltype_text);
  column.decimal_digits = 0;
  if (!decl.empty()) {
    const std::string first_word = decl.substr(0, decl.find_first_of(" ("));
    if (Has(first_word, "DATE") || first_word == "TIMESTAMP") {
      SetTimestamp(column);
      return;
    }
    if (Has(decl, "INT")) {
      int16_t type = SQL_INTEGER;
      if (Has(decl, "BIGINT")) type = SQL_BIGINT;
      if (Has(decl, "SMALLINT") || Has(decl, "TINYINT")) type = SQL_SMALLINT;
      if (stats.beyond_int32) type = SQL_BIGINT;
      SetInteger(column, type);
      return;
    }
    if (Has(decl, "CHAR") || Has(decl, "CLOB") || Has(decl, "TEXT")) {
      const bool fixed = Has(decl, "CHAR") && !Has(decl, "VARCHAR");
      SetText(column, fixed, std::max(DeclaredLength(decl), stats.max_text));
      return;
    }
    if (Has(decl, "REAL") || Has(decl, "FLOA") || Has(decl, "DOUB") || Has(decl, "DEC") ||
        Has(decl, "NUM")) {
      SetDouble(column);
      return;
    }
  }
  // An expression (or a type SQLite does not name): describe what it holds.
  if (stats.any_text || !(stats.any_real || stats.any_integer)) {
    SetText(column, false, stats.max_text);
  } else if (stats.any_real) {
    SetDouble(column);
  } else {
    SetInteger(column, stats.beyond_int32 ? SQL_BIGINT : SQL_INTEGER);
  }
}

}  // namespace tsqlite
