#include "dialect/tokenizer.h"

#include <cctype>

namespace tsq {
namespace {

bool IsWordStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c == '#' || c >= 0x80;
}

bool IsWordChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '#' || c == '@' || c == '$' || c >= 0x80;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

SqlError Unclosed(std::string_view rest) {
  return {105, "42000",
          "Unclosed quotation mark after the character string '" + std::string(rest) + "'."};
}

// Reads a literal closed by `close` in which a doubled `close` stands for
// one; `pos` is just after the opening character. npos when unterminated.
size_t ReadQuoted(std::string_view sql, size_t pos, char close, std::string& out) {
  while (pos < sql.size()) {
    if (sql[pos] == close) {
      if (pos + 1 < sql.size() && sql[pos + 1] == close) {
        out += close;
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    out += sql[pos++];
  }
  return std::string_view::npos;
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

constexpr std::string_view kTwoCharSymbols[] = {
    "<>", "<=", ">=", "!=", "!<", "!>", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "::"};

}  // namespace

TokenizeResult Tokenize(std::string_view sql) {
  TokenizeResult result;
  size_t pos = 0;
  bool space = false;
  while (pos < sql.size()) {
    const char c = sql[pos];
    const unsigned char uc = static_cast<unsigned char>(c);
    if (std::isspace(uc)) {
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
        result.error = {113, "42000", "Missing end comment mark '*/'."};
        return result;
      }
      space = true;
      continue;
    }
    Token token;
    token.space_before = space;
    space = false;
    if ((c == 'N' || c == 'n') && pos + 1 < sql.size() && sql[pos + 1] == '\'') {
      ++pos;  // N'...': a national string is a plain string here
    }
    if (sql[pos] == '\'' || sql[pos] == '"' || sql[pos] == '[') {
      const char open = sql[pos];
      const char close = open == '[' ? ']' : open;
      token.kind = open == '\'' ? TokenKind::kString : TokenKind::kQuotedName;
      const size_t end = ReadQuoted(sql, pos + 1, close, token.text);
      if (end == std::string_view::npos) {
        result.error = Unclosed(sql.substr(pos + 1));
        return result;
      }
      pos = end;
    } else if (IsDigit(c) || (c == '.' && pos + 1 < sql.size() && IsDigit(sql[pos + 1]))) {
      token.kind = TokenKind::kNumber;
      const size_t end = ReadNumber(sql, pos);
      token.text = std::string(sql.substr(pos, end - pos));
      pos = end;
    } else if (c == '@' || IsWordStart(uc)) {
      token.kind = c == '@' ? TokenKind::kVariable : TokenKind::kWord;
      size_t end = pos + 1;
      while (end < sql.size() && IsWordChar(static_cast<unsigned char>(sql[end]))) ++end;
      token.text = std::string(sql.substr(pos, end - pos));
      pos = end;
    } else if (c == '\0') {
      // SQLite would end the statement there and run only what comes before.
      result.error = {102, "42000", "Incorrect syntax near the character 0x00."};
      return result;
    } else {
      token.kind = TokenKind::kSymbol;
      token.text = std::string(1, c);
      for (std::string_view two : kTwoCharSymbols) {
        if (sql.compare(pos, 2, two) == 0) {
          token.text = std::string(two);
          break;
        }
      }
      pos += token.text.size();
    }
    result.tokens.push_back(std::move(token));
  }
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
