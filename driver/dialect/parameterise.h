// Automatic parameterisation: the literal constants of a statement that do
// not decide its form are lifted out of its tokens, so that statements
// differing in those values alone share one shape (one translation, one
// compiled statement). Literals that decide the form stay in the shape: the
// length of a type (char(n), decimal(p, s)), the style of convert, the date
// part of dateadd and its kin, TOP n, ORDER BY and GROUP BY items, the select
// list of a query (its texts name the result columns), and every literal of
// a statement that is no query or change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/dialect.h"
#include "dialect/tokenizer.h"

namespace tsq {

struct Literal {
  enum class Kind { kInteger, kReal, kText };
  Kind kind = Kind::kText;
  int64_t integer = 0;
  double real = 0.0;
  std::string text;      // kText: the value (quotes removed and undoubled)
  std::string_view raw;  // as written in the statement (without N); valid while its text is

  bool operator==(const Literal&) const = default;
};

// What encloses a token while a statement is scanned: an open parenthesis
// with the call it belongs to and the argument being read.
struct LiteralScope {
  std::string_view function;  // the word before "(", as written
  size_t argument = 0;
  bool type_length = false;  // the length of a type: char(n), decimal(p, s)
  bool order_list = false;   // ORDER BY / GROUP BY items at this depth
  bool select_list = false;  // the select list of a query at this depth
};

struct ShapedStatement {
  // The statement with each lifted literal i replaced by a marker string
  // '\x01i\x01' (i from 1): statements of equal keys have one shape, and the
  // key translates as the shape.
  std::string key;
  std::vector<Literal> literals;     // literal i is bound as ?i
  std::vector<LiteralScope> groups;  // scratch of the scan, kept for its capacity
};

// Splits `tsql` into its shape and its lifted literals; `out` may be reused
// from statement to statement. False when the text does not tokenize or holds
// a byte \x01 or \x02 (the caller runs it as it is, and reports why it fails).
bool ShapeStatement(std::string_view tsql, ShapedStatement& out);

// Shapes `tsql` by `key`, a key ShapeStatement gave for another text: true
// when `tsql` is that text with other values at the lifted places; its
// shape is then `key` and `out.literals` hold exactly the literals
// ShapeStatement(tsql) gives (`out.key` is left as it is), found without
// scanning the rest of the text. False when it is not, or when a lifted place
// follows a byte that could join the token before it (the caller then scans).
bool MatchShape(std::string_view key, std::string_view tsql, ShapedStatement& out);

// Where the first lifted literal stands in a key; npos when it has none.
size_t FirstLiteralAt(std::string_view key);

// The statement text of the shape's translation with ?N for the markers of
// the lifted literals, provided that substituting the literals as written
// gives exactly `plain`, the translation of the statement as it is. False
// when a lifted literal does not pass through the translation unchanged: the
// shape then holds for this text only.
bool BindableTranslation(const std::string& shaped, const std::vector<Literal>& literals,
                         const std::string& plain, std::string& out);

}  // namespace tsq
