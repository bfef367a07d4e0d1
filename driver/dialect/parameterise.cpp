#include "dialect/parameterise.h"

#include <cerrno>
#include <cstdlib>

namespace tsq {
namespace {

// A marker stands for lifted literal n in the tokens of a shape; as a string
// token it renders as '\x01n\x01', which no statement text contains.
constexpr char kMarker = '\x01';

// Calls whose arguments at these positions decide the translation.
struct FormArgument {
  std::string_view function;
  size_t argument;
};
constexpr FormArgument kFormArguments[] = {
    {"CONVERT", 0},  {"CONVERT", 2},  {"DATEADD", 0},   {"DATEDIFF", 0},
    {"DATEPART", 0}, {"DATENAME", 0}, {"DATETRUNC", 0},
};

constexpr std::string_view kTypesWithLength[] = {
    "CHAR",    "VARCHAR", "NCHAR", "NVARCHAR",  "BINARY",         "VARBINARY",
    "DECIMAL", "NUMERIC", "FLOAT", "DATETIME2", "DATETIMEOFFSET", "TIME"};

bool IsTypeWithLength(const Token& t) {
  for (std::string_view name : kTypesWithLength) {
    if (IsWord(t, name)) return true;
  }
  return false;
}

// What encloses a token: the open parentheses, each with the call it belongs
// to and the argument being read.
struct Group {
  std::string function;  // upper-case name of the call, empty for a plain group
  size_t argument = 0;
  bool type_length = false;
  bool order_list = false;   // ORDER BY / GROUP BY items at this depth
  bool select_list = false;  // the select list of a query at this depth
};

bool IsFormArgument(const Group& g) {
  for (const FormArgument& f : kFormArguments) {
    if (g.function == f.function && g.argument == f.argument) return true;
  }
  return false;
}

bool ParseLiteral(const Token& t, Literal& out) {
  if (t.kind == TokenKind::kString) {
    for (char c : t.text) {
      if (c == '\0' || c == kMarker) return false;
    }
    out.kind = Literal::Kind::kText;
    out.text = t.text;
    return true;
  }
  if (t.kind != TokenKind::kNumber || t.text.empty() || t.text.size() > 18) return false;
  size_t dots = 0;
  for (char c : t.text) {
    if (c == '.') {
      ++dots;
    } else if (c < '0' || c > '9') {
      return false;  // exponents and anything else stay as written
    }
  }
  if (dots > 1 || t.text.front() == '.' || t.text.back() == '.') return false;
  errno = 0;
  if (dots == 0) {
    out.kind = Literal::Kind::kInteger;
    out.integer = std::strtoll(t.text.c_str(), nullptr, 10);
  } else {
    out.kind = Literal::Kind::kReal;
    out.real = std::strtod(t.text.c_str(), nullptr);
  }
  return errno == 0;
}

bool EndsList(const Token& t) {
  return IsWord(t, "HAVING") || IsWord(t, "UNION") || IsWord(t, "EXCEPT") ||
         IsWord(t, "INTERSECT") || IsWord(t, "LIMIT") || IsWord(t, "OFFSET") || IsWord(t, "FOR") ||
         IsWord(t, "OPTION") || IsWord(t, "WHERE") || IsWord(t, "FROM");
}

void AppendKey(std::string& key, const Token& t, bool lifted) {
  key += static_cast<char>('a' + static_cast<int>(t.kind));
  key += t.space_before ? ' ' : '.';
  if (lifted) {
    key += '?';
  } else {
    key += std::to_string(t.text.size());
    key += ':';
    key += t.text;
  }
}

}  // namespace

bool ShapeStatement(std::string_view tsql, ShapedStatement& out) {
  out = ShapedStatement{};
  TokenizeResult tokenized = Tokenize(tsql);
  if (!tokenized.ok) return false;
  out.tokens = std::move(tokenized.tokens);
  std::vector<Token>& tokens = out.tokens;
  const bool query = !tokens.empty() && (IsWord(tokens[0], "SELECT") || IsWord(tokens[0], "WITH") ||
                                         IsSymbol(tokens[0], "("));
  const bool change =
      !tokens.empty() &&
      (IsWord(tokens[0], "INSERT") || IsWord(tokens[0], "UPDATE") || IsWord(tokens[0], "DELETE"));
  std::vector<Group> groups(1);
  out.key.reserve(tsql.size() + tokens.size() * 3);
  for (size_t i = 0; i < tokens.size(); ++i) {
    Token& t = tokens[i];
    Group& g = groups.back();
    if (IsSymbol(t, "(")) {
      Group inner;
      if (i > 0 && tokens[i - 1].kind == TokenKind::kWord) {
        inner.function = Upper(tokens[i - 1].text);
        inner.type_length = IsTypeWithLength(tokens[i - 1]);
      }
      inner.select_list = g.select_list;
      AppendKey(out.key, t, false);
      groups.push_back(std::move(inner));
      continue;
    }
    if (IsSymbol(t, ")")) {
      if (groups.size() > 1) groups.pop_back();
      AppendKey(out.key, t, false);
      continue;
    }
    if (IsSymbol(t, ",")) ++g.argument;
    if (IsWord(t, "SELECT")) g.select_list = query;
    if (IsWord(t, "BY") && i > 0 &&
        (IsWord(tokens[i - 1], "ORDER") || IsWord(tokens[i - 1], "GROUP"))) {
      g.order_list = true;
    } else if (EndsList(t)) {
      g.order_list = false;
      if (IsWord(t, "FROM") || IsWord(t, "WHERE")) g.select_list = false;
    }
    Literal literal;
    const bool after_top = (i > 0 && IsWord(tokens[i - 1], "TOP")) ||
                           (i > 1 && IsSymbol(tokens[i - 1], "(") && IsWord(tokens[i - 2], "TOP"));
    const bool lift = (query || change) && !g.select_list && !g.order_list && !g.type_length &&
                      !after_top && !IsFormArgument(g) && out.literals.size() < 999 &&
                      ParseLiteral(t, literal);
    AppendKey(out.key, t, lift);
    if (!lift) continue;
    out.rendered.push_back(RenderToken(t));
    out.literals.push_back(std::move(literal));
    t.kind = TokenKind::kString;
    t.text = std::string(1, kMarker) + std::to_string(out.literals.size()) + kMarker;
  }
  return true;
}

bool BindableTranslation(const std::string& shaped, const std::vector<std::string>& rendered,
                         const std::string& plain, std::string& out) {
  out.clear();
  std::string check;
  size_t pos = 0;
  while (pos < shaped.size()) {
    const size_t open = shaped.find(std::string("'") + kMarker, pos);
    if (open == std::string::npos) break;
    const size_t close = shaped.find(std::string(1, kMarker) + "'", open + 2);
    if (close == std::string::npos) return false;
    const std::string number = shaped.substr(open + 2, close - open - 2);
    const size_t n = std::strtoul(number.c_str(), nullptr, 10);
    if (n == 0 || n > rendered.size()) return false;
    out.append(shaped, pos, open - pos);
    check.append(shaped, pos, open - pos);
    out += '?';
    out += number;
    check += rendered[n - 1];
    pos = close + 2;
  }
  out.append(shaped, pos, std::string::npos);
  check.append(shaped, pos, std::string::npos);
  return check == plain && out.find(kMarker) == std::string::npos;
}

}  // namespace tsq
