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
  std::string text;
};

struct ShapedStatement {
  std::string key;            // the tokens, lifted literals as markers: equal keys, equal shapes
  std::vector<Token> tokens;  // the statement's tokens, lifted literals as marker strings
  std::vector<Literal> literals;      // the lifted values; literal i is parameter ?i+1
  std::vector<std::string> rendered;  // each lifted literal as the translation writes it
};

// Splits `tsql` into its shape and its lifted literals. False when the text
// does not tokenize (the caller translates it as it is, to report why).
bool ShapeStatement(std::string_view tsql, ShapedStatement& out);

// The statement text of the shape's translation with ?N for the markers of
// the lifted literals, provided that substituting the literals as written
// gives exactly `plain`, the translation of the statement as it is. False
// when a lifted literal does not pass through the translation unchanged: the
// shape then holds for this text only.
bool BindableTranslation(const std::string& shaped, const std::vector<std::string>& rendered,
                         const std::string& plain, std::string& out);

// Translate() for a statement already split into tokens.
Translation TranslateTokens(std::vector<Token> tokens);

}  // namespace tsq
