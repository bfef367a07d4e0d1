#include "column_type.h"

#include <sql.h>
#include <sqlext.h>

#include <cctype>
#include <cstdlib>
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

// The type, sizes and type name a described column reports.
struct TypeShape {
  int16_t sql_type;
  const char* type_name;
  uint64_t column_size;
  int64_t display_size;
  int64_t octet_length;
};

// The length of a text column nothing declares.
constexpr uint64_t kUnknownLength = 8000;

constexpr TypeShape kSmallInt{SQL_SMALLINT, "smallint", 5, 6, 2};
constexpr TypeShape kInt{SQL_INTEGER, "int", 10, 11, 4};
constexpr TypeShape kBigInt{SQL_BIGINT, "bigint", 19, 20, 8};
constexpr TypeShape kFloat{SQL_DOUBLE, "float", 15, 24, 8};
constexpr TypeShape kDateTime{SQL_TYPE_TIMESTAMP, "datetime", 19, 19, sizeof(SQL_TIMESTAMP_STRUCT)};

void Set(ColumnInfo& c, const TypeShape& shape) {
  c.sql_type = shape.sql_type;
  c.type_name = shape.type_name;
  c.column_size = shape.column_size;
  c.display_size = shape.display_size;
  c.octet_length = shape.octet_length;
}

void SetText(ColumnInfo& c, bool fixed, uint64_t length) {
  if (length == 0) length = 1;
  Set(c, TypeShape{static_cast<int16_t>(fixed ? SQL_CHAR : SQL_VARCHAR), fixed ? "char" : "varchar",
                   length, static_cast<int64_t>(length), static_cast<int64_t>(length)});
}

// SQL_SMALLINT, SQL_BIGINT, anything else is SQL_INTEGER.
void SetInteger(ColumnInfo& c, int16_t type) {
  Set(c, type == SQL_SMALLINT ? kSmallInt : type == SQL_BIGINT ? kBigInt : kInt);
}

}  // namespace

void DescribeColumn(std::string_view decltype_text, ColumnInfo& column) {
  const std::string decl = tsq::Upper(decltype_text);
  column.decimal_digits = 0;
  if (!decl.empty()) {
    const std::string first_word = decl.substr(0, decl.find_first_of(" ("));
    if (Has(first_word, "DATE") || first_word == "TIMESTAMP") {
      Set(column, kDateTime);
      return;
    }
    if (Has(decl, "INT")) {
      int16_t type = SQL_INTEGER;
      if (Has(decl, "BIGINT")) type = SQL_BIGINT;
      if (Has(decl, "SMALLINT") || Has(decl, "TINYINT")) type = SQL_SMALLINT;
      SetInteger(column, type);
      return;
    }
    if (Has(decl, "CHAR") || Has(decl, "CLOB") || Has(decl, "TEXT")) {
      const bool fixed = Has(decl, "CHAR") && !Has(decl, "VARCHAR");
      const uint64_t length = DeclaredLength(decl);
      SetText(column, fixed, length > 0 ? length : fixed ? 1 : kUnknownLength);
      return;
    }
    if (Has(decl, "REAL") || Has(decl, "FLOA") || Has(decl, "DOUB") || Has(decl, "DEC") ||
        Has(decl, "NUM")) {
      Set(column, kFloat);
      return;
    }
  }
  // An expression whose type the text does not tell, or a type SQLite does
  // not name: a text of the longest length a varchar has.
  SetText(column, false, kUnknownLength);
}

const std::vector<ColumnInfo>& Described(ResultSet& rs) {
  if (!rs.declared) return rs.columns;
  const std::vector<ColumnDecl>& declared = *rs.declared;
  rs.columns.resize(declared.size());
  for (size_t i = 0; i < declared.size(); ++i) {
    ColumnInfo& c = rs.columns[i];
    c.name = declared[i].name;
    c.table = declared[i].table;
    c.schema = declared[i].schema;
    DescribeColumn(declared[i].decltype_text, c);
  }
  rs.declared.reset();
  return rs.columns;
}

}  // namespace tsqlite
