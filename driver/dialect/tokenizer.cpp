#include "dialect/tokenizer.h"

#include <array>
#include <cctype>
#include <cstring>

namespace tsq {
namespace {

constexpr std::string_view kTwoCharSymbols[] = {
    "<>", "<=", ">=", "!=", "!<", "!>", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "::"};

// What a byte may be in a statement, looked up once per byte.
enum CharClass : unsigned char {
  kBlank = 1,               // an ASCII blank
  kWordStart = 2,           // starts a word
  kWordChar = 4,            // continues a word
  kDigit = 8,               // 0-9
  kPairLead = 16,           // may start a two-character symbol
  kHigh = 32,               // 0x80 on: belongs to words unless the locale calls it a blank
  kEndsBeforeLiteral = 64,  // see EndsBeforeLiteral()
};

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) {
    unsigned char k = 0;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    if (c == ' ' || (c >= '\t' && c <= '\r')) k |= kBlank;
    if (letter || c == '_' || c == '#' || c >= 0x80) k |= kWordStart;
    if (letter || digit || c == '_' || c == '#' || c == '@' || c == '$' || c >= 0x80) {
      k |= kWordChar;
    }
    if (digit) k |= kDigit;
    for (std::string_view two : kTwoCharSymbols) {
      if (c == static_cast<unsigned char>(two[0])) k |= kPairLead;
    }
    // No second byte of a two-character symbol and no comment's second byte
    // is a digit, point, quote or N, so these end before any literal.
    for (char symbol : std::string_view("(,=<>+-*/%")) {
      if (c == static_cast<unsigned char>(symbol)) k |= kEndsBeforeLiteral;
    }
    if ((k & kBlank) != 0) k |= kEndsBeforeLiteral;
    if (c >= 0x80) k |= kHigh;
    t[static_cast<size_t>(c)] = k;
  }
  return t;
}

constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

bool Is(unsigned char c, CharClass k) {
  return (kClasses[c] & k) != 0;
}

bool IsWordStart(unsigned char c) {
  return Is(c, kWordStart);
}

bool IsWordChar(unsigned char c) {
  return Is(c, kWordChar);
}

// ASCII blanks from the table; other bytes as the locale says.
bool IsBlank(unsigned char c) {
  if (!Is(c, kHigh)) return Is(c, kBlank);
  return std::isspace(c) != 0;
}

bool IsDigit(char c) {
  return Is(static_cast<unsigned char>(c), kDigit);
}

SqlError Unclosed(std::string_view rest) {
  return {105, "42000",
          "Unclosed quotation mark after the character string '" + std::string(rest) + "'."};
}

size_t ReadNumber(std::string_view sql, size_t pos) {
  if (sql[pos] == '0' && pos + 1 < sql.size() && (sql[pos + 1] == 'x' || sql[pos + 1] == 'X')) {
    pos += 2;
    while (pos < sql.size() && std::isxdigit(static_cast<unsigned char>(sql[pos]))) ++pos;
    return pos;
  }
  while (pos < sql.size() && IsDigit(sql[pos])) ++pos;
  if (pos < sql.size() && sql[pos] == '.') {
    ++pos;
    while (pos < sql.size() && IsDigit(sql[pos])) ++pos;
  }
  if (pos < sql.size() && (sql[pos] == 'e' || sql[pos] == 'E')) {
    size_t exp = pos + 1;
    if (exp < sql.size() && (sql[exp] == '+' || sql[exp] == '-')) ++exp;
    if (exp < sql.size() && IsDigit(sql[exp])) {
      pos = exp;
      while (pos < sql.size() && IsDigit(sql[pos])) ++pos;
    }
  }
  return pos;
}

}  // namespace

// Where a literal closed by `close` ends (just past it; a doubled `close`
// stands for one); `pos` is just after the opening character. npos when
// unterminated.
size_t QuotedEnd(std::string_view sql, size_t pos, char close) {
  while (pos < sql.size()) {
    if (sql[pos] == close) {
      if (pos + 1 < sql.size() && sql[pos + 1] == close) {
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    ++pos;
  }
  return std::string_view::npos;
}

bool EndsBeforeLiteral(char c) {
  return Is(static_cast<unsigned char>(c), kEndsBeforeLiteral);
}

bool NextRawToken(std::string_view sql, size_t& pos, RawToken& token, SqlError& error) {
  bool space = false;
  while (pos < sql.size()) {
    const char c = sql[pos];
    const unsigned char uc = static_cast<unsigned char>(c);
    if (IsBlank(uc)) {
      space = true;
      ++pos;
      continue;
    }
    if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
      while (pos < sql.size() && sql[pos] != '\n') ++pos;
      space = true;
      continue;
    }
    if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
      int depth = 0;
      while (pos < sql.size()) {
        if (sql.compare(pos, 2, "/*") == 0) {
          ++depth;
          pos += 2;
        } else if (sql.compare(pos, 2, "*/") == 0) {
          pos += 2;
          if (--depth == 0) break;
        } else {
          ++pos;
        }
      }
      if (depth != 0) {
        error = {113, "42000", "Missing end comment mark '*/'."};
        return false;
      }
      space = true;
      continue;
    }
    token.space_before = space;
    token.national = false;
    token.begin = pos;
    if ((c == 'N' || c == 'n') && pos + 1 < sql.size() && sql[pos + 1] == '\'') {
      ++pos;  // N'...': a national string is a plain string here
      token.national = true;
    }
    if (sql[pos] == '\'' || sql[pos] == '"' || sql[pos] == '[') {
      const char open = sql[pos];
      token.kind = open == '\'' ? TokenKind::kString : TokenKind::kQuotedName;
      const size_t end = QuotedEnd(sql, pos + 1, open == '[' ? ']' : open);
      if (end == std::string_view::npos) {
        error = Unclosed(sql.substr(pos + 1));
        return false;
      }
      pos = end;
    } else if (IsDigit(c) || (c == '.' && pos + 1 < sql.size() && IsDigit(sql[pos + 1]))) {
      token.kind = TokenKind::kNumber;
      pos = ReadNumber(sql, pos);
    } else if (c == '@' || IsWordStart(uc)) {
      token.kind = c == '@' ? TokenKind::kVariable : TokenKind::kWord;
      ++pos;
      while (pos < sql.size() && IsWordChar(static_cast<unsigned char>(sql[pos]))) ++pos;
    } else if (c == '\0') {
      // SQLite would end the statement there and run only what comes before.
      error = {102, "42000", "Incorrect syntax near the character 0x00."};
      return false;
    } else {
      token.kind = TokenKind::kSymbol;
      size_t length = 1;
      if (pos + 1 < sql.size() && Is(uc, kPairLead)) {
        for (std::string_view two : kTwoCharSymbols) {
          if (two[0] == c && two[1] == sql[pos + 1]) {
            length = 2;
            break;
          }
        }
      }
      pos += length;
    }
    token.end = pos;
    return true;
  }
  error = SqlError{};
  return false;
}

std::string RawTokenText(std::string_view sql, const RawToken& raw) {
  const size_t begin = raw.begin + (raw.national ? 1 : 0);
  if (raw.kind != TokenKind::kString && raw.kind != TokenKind::kQuotedName) {
    return std::string(sql.substr(begin, raw.end - begin));
  }
  const char close = sql[begin] == '[' ? ']' : sql[begin];
  std::string text;
  text.reserve(raw.end - begin - 2);
  for (size_t i = begin + 1; i + 1 < raw.end; ++i) {
    text += sql[i];
    if (sql[i] == close) ++i;  // the second of a doubled quote
  }
  return text;
}

TokenizeResult Tokenize(std::string_view sql) {
  TokenizeResult result;
  size_t pos = 0;
  RawToken raw;
  while (NextRawToken(sql, pos, raw, result.error)) {
    Token token;
    token.kind = raw.kind;
    token.space_before = raw.space_before;
    token.text = RawTokenText(sql, raw);
    result.tokens.push_back(std::move(token));
  }
  if (result.error.native != 0) return result;
  result.ok = true;
  return result;
}

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string QuoteString(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string RenderToken(const Token& token) {
  switch (token.kind) {
    case TokenKind::kQuotedName:
      return QuoteName(token.text);
    case TokenKind::kString:
      return QuoteString(token.text);
    case TokenKind::kSymbol:
      if (token.text == "!<") return ">=";
      if (token.text == "!>") return "<=";
      return token.text;
    default:
      return token.text;
  }
}

bool IsWord(const Token& token, std::string_view upper) {
  if (token.kind != TokenKind::kWord || token.text.size() != upper.size()) return false;
  for (size_t i = 0; i < upper.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(token.text[i])) != upper[i]) return false;
  }
  return true;
}

bool IsSymbol(const Token& token, std::string_view symbol) {
  return token.kind == TokenKind::kSymbol && token.text == symbol;
}

std::string NameOf(const Token& token) {
  if (token.kind == TokenKind::kWord || token.kind == TokenKind::kQuotedName) return token.text;
  return {};
}

}  // namespace tsq
