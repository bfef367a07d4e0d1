#include "dialect/sql_type.h"

#include <cstdlib>
#include <string_view>

namespace tsq {
namespace {

struct KnownType {
  std::string_view name;
  TypeClass type_class;
  bool fixed;
};

constexpr KnownType kKnownTypes[] = {
    {"CHAR", TypeClass::kText, true},
    {"NCHAR", TypeClass::kText, true},
    {"VARCHAR", TypeClass::kText, false},
    {"NVARCHAR", TypeClass::kText, false},
    {"TEXT", TypeClass::kText, false},
    {"NTEXT", TypeClass::kText, false},
    {"SYSNAME", TypeClass::kText, false},
    {"UNIQUEIDENTIFIER", TypeClass::kText, false},
    {"XML", TypeClass::kText, false},
    {"TIME", TypeClass::kText, false},
    {"DATETIME", TypeClass::kDateTime, false},
    {"DATETIME2", TypeClass::kDateTime, false},
    {"SMALLDATETIME", TypeClass::kDateTime, false},
    {"DATE", TypeClass::kDate, false},
    {"INT", TypeClass::kInteger, false},
    {"INTEGER", TypeClass::kInteger, false},
    {"SMALLINT", TypeClass::kInteger, false},
    {"TINYINT", TypeClass::kInteger, false},
    {"BIGINT", TypeClass::kInteger, false},
    {"BIT", TypeClass::kInteger, false},
    {"FLOAT", TypeClass::kFloat, false},
    {"REAL", TypeClass::kFloat, false},
    {"DECIMAL", TypeClass::kFloat, false},
    {"NUMERIC", TypeClass::kFloat, false},
    {"MONEY", TypeClass::kFloat, false},
    {"SMALLMONEY", TypeClass::kFloat, false},
    {"BINARY", TypeClass::kBinary, true},
    {"VARBINARY", TypeClass::kBinary, false},
    {"IMAGE", TypeClass::kBinary, false},
};

bool ReadCount(const Token& token, int64_t& out) {
  if (token.kind != TokenKind::kNumber ||
      token.text.find_first_not_of("0123456789") != std::string::npos || token.text.size() > 9) {
    return false;
  }
  out = std::strtoll(token.text.c_str(), nullptr, 10);
  return true;
}

}  // namespace

std::optional<SqlType> ParseSqlType(const std::vector<Token>& tokens, size_t begin, size_t end) {
  if (begin >= end || tokens[begin].kind == TokenKind::kString ||
      tokens[begin].kind == TokenKind::kNumber || tokens[begin].kind == TokenKind::kSymbol) {
    return std::nullopt;
  }
  SqlType type;
  type.name = Upper(tokens[begin].text);
  if (type.name == "SYSNAME") {
    type.has_length = true;
    type.length = 128;
  }
  const KnownType* known = nullptr;
  for (const KnownType& k : kKnownTypes) {
    if (k.name == type.name) known = &k;
  }
  if (known == nullptr) return std::nullopt;
  type.type_class = known->type_class;
  type.fixed = known->fixed;
  if (type.name == "DECIMAL" || type.name == "NUMERIC") type.scale = 0;
  if (type.name == "MONEY" || type.name == "SMALLMONEY") type.scale = 4;
  size_t pos = begin + 1;
  if (pos < end && IsSymbol(tokens[pos], "(")) {
    std::vector<int64_t> numbers;
    bool max = false;
    ++pos;
    while (pos < end && !IsSymbol(tokens[pos], ")")) {
      int64_t n = 0;
      if (IsWord(tokens[pos], "MAX") && numbers.empty() && !max) {
        max = true;
      } else if (ReadCount(tokens[pos], n) && !max) {
        numbers.push_back(n);
      } else {
        return std::nullopt;
      }
      ++pos;
      if (pos < end && IsSymbol(tokens[pos], ",")) ++pos;
    }
    if (pos >= end || numbers.size() > 2 || (!max && numbers.empty())) return std::nullopt;
    ++pos;  // ")"
    if (type.scale >= 0) {
      type.scale = numbers.size() == 2 ? static_cast<int>(numbers[1]) : 0;
    } else if (type.type_class == TypeClass::kText || type.type_class == TypeClass::kBinary) {
      if (numbers.size() > 1) return std::nullopt;
      type.has_length = true;
      type.length = max ? -1 : numbers[0];
    }
  }
  if (pos != end) return std::nullopt;
  return type;
}

std::optional<SqlError> LengthError(const SqlType& type) {
  if (!type.has_length || type.length < 0 || type.name == "SYSNAME") return std::nullopt;
  if (type.length == 0) {
    return SqlError{1001, "42000", "A length or precision of 0 is invalid."};
  }
  const bool national = type.name == "NCHAR" || type.name == "NVARCHAR";
  const int64_t limit = national ? 4000 : 8000;
  if (type.length <= limit) return std::nullopt;
  std::string lower;
  for (char c : type.name) lower += static_cast<char>(c - 'A' + 'a');
  return SqlError{131, "42000",
                  "The size (" + std::to_string(type.length) + ") given to the type '" + lower +
                      "' exceeds the maximum allowed for any data type (" + std::to_string(limit) +
                      ")."};
}

}  // namespace tsq
