// T-SQL tokenizer: splits one statement into words, quoted names ([x] and
// "x"), string literals ('..' with '' escapes, N'..'), numbers, variables
// (@x, @@x) and operator symbols. Comments (-- and nested /* */) count as
// blanks. Unterminated strings, names and comments fail as SQL Server's
// parser does (105 and 113); a zero byte outside strings and names fails
// with 102.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/dialect.h"

namespace tsq {

enum class TokenKind { kWord, kQuotedName, kString, kNumber, kVariable, kSymbol };

struct Token {
  TokenKind kind = TokenKind::kSymbol;
  // kWord, kNumber, kVariable, kSymbol: as written; kQuotedName: the name
  // without quotes; kString: the content with '' already undoubled.
  std::string text;
  bool space_before = false;  // blanks or a comment separate it from the token before
};

struct TokenizeResult {
  bool ok = false;
  SqlError error;
  std::vector<Token> tokens;
};

TokenizeResult Tokenize(std::string_view sql);

// A token as a span of the text, read without copying it.
struct RawToken {
  TokenKind kind = TokenKind::kSymbol;
  size_t begin = 0;  // the N of N'..' included
  size_t end = 0;
  bool space_before = false;
  bool national = false;  // N'..'
};

// Reads the token at or after `pos` and moves `pos` past it. False at the
// end of the text (error.native 0) or when the text fails to tokenize
// (`error` says why, as Tokenize reports it).
bool NextRawToken(std::string_view sql, size_t& pos, RawToken& token, SqlError& error);

// True when a token ending in byte `c` ends there whatever literal (a digit,
// a point, a quote, N'..) follows it: `c` is an ASCII blank or one of the
// symbols ( , = < > + - * / % that no such byte joins.
bool EndsBeforeLiteral(char c);

// The text a Token of `raw` holds (quotes removed and undoubled).
std::string RawTokenText(std::string_view sql, const RawToken& raw);

// The token in SQLite's spelling: names in double quotes, strings in single
// quotes (the N prefix dropped), T-SQL's !< and !> as >= and <=.
std::string RenderToken(const Token& token);

// A bare word equal to `upper` (given in capitals), case-insensitively.
// Quoted names never match, so [select] is a name and not a keyword.
bool IsWord(const Token& token, std::string_view upper);

bool IsSymbol(const Token& token, std::string_view symbol);

// Name of a word or quoted name; empty for other tokens.
std::string NameOf(const Token& token);

std::string QuoteName(std::string_view name);
std::string QuoteString(std::string_view text);
std::string Upper(std::string_view text);

}  // namespace tsq
