// SQL Server data type names as convert(), cast() and CREATE TABLE write
// them: char(n), varchar(n|max), nvarchar, int, decimal(p,s), datetime, ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialect/tokenizer.h"

namespace tsq {

enum class TypeClass { kText, kDateTime, kDate, kInteger, kFloat, kBinary };

struct SqlType {
  std::string name;  // in capitals, e.g. "VARCHAR"
  TypeClass type_class = TypeClass::kText;
  bool has_length = false;  // a length was written
  int64_t length = -1;      // characters; -1 for max (and for types without a length)
  bool fixed = false;       // char/nchar: padded with blanks to the length
  int scale = -1;           // decimal places of decimal/numeric; -1 for float
};

// The type written by tokens [begin, end): a name and an optional
// "(n)", "(max)" or "(p, s)". nullopt when it is not a known type.
std::optional<SqlType> ParseSqlType(const std::vector<Token>& tokens, size_t begin, size_t end);

// SQL Server's refusal of a written length: 0 (error 1001) or more than 8000
// bytes, 4000 characters for nchar/nvarchar (error 131). nullopt when fine.
std::optional<SqlError> LengthError(const SqlType& type);

}  // namespace tsq
