// Building statement texts. The job sends no parameter markers: values are
// formatted into the SQL text. SqlText() is the only way a statement is built,
// and it doubles every single quote of every text value, so a value can never
// end its literal early or change the statement around it.
//
// Placeholders: %s (text, inserted with quotes doubled; the quotes around it
// belong to the statement text), %ld and %d (32-bit integer, decimal), %f
// (floating point, six decimals), %% (a percent sign). A placeholder whose
// argument is missing or of another kind makes the whole result empty, which
// the database then rejects as an empty statement.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/fixed_text.h"

namespace db {

struct SqlArg {
  enum class Kind { kInt, kReal, kText };
  Kind kind;
  int64_t i = 0;
  double d = 0.0;
  std::string_view s;

  SqlArg(int32_t v) : kind(Kind::kInt), i(v) {}
  SqlArg(double v) : kind(Kind::kReal), d(v) {}
  SqlArg(const char* v) : kind(Kind::kText), s(v == nullptr ? "" : v) {}
  SqlArg(std::string_view v) : kind(Kind::kText), s(v) {}
  SqlArg(const std::string& v) : kind(Kind::kText), s(v) {}
  template <std::size_t N>
  SqlArg(const FixedText<N>& v) : kind(Kind::kText), s(v.view()) {}
};

// `text` with every single quote doubled (no surrounding quotes added).
std::string EscapeSqlText(std::string_view text);

// Formats `format` with `args` as described above.
std::string SqlText(const char* format, std::initializer_list<SqlArg> args);

}  // namespace db
