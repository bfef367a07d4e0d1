#include "dialect/result_types.h"

#include <cstddef>

#include "dialect/tokenizer.h"

namespace tsq {
namespace {

using Tokens = std::vector<Token>;

bool Word(const Token& t, std::string_view upper) {
  return t.kind == TokenKind::kWord && Upper(t.text) == upper;
}

// Index of the ")" closing the "(" at `open`, or tokens.size().
size_t Close(const Tokens& tokens, size_t open, size_t end) {
  int depth = 0;
  for (size_t i = open; i < end; ++i) {
    if (IsSymbol(tokens[i], "(")) ++depth;
    if (IsSymbol(tokens[i], ")") && --depth == 0) return i;
  }
  return tokens.size();
}

// The arguments of the call whose "(" is at `open` and ")" at `close`.
std::vector<std::pair<size_t, size_t>> Arguments(const Tokens& tokens, size_t open, size_t close) {
  std::vector<std::pair<size_t, size_t>> out;
  size_t start = open + 1;
  int depth = 0;
  for (size_t i = open + 1; i < close; ++i) {
    if (IsSymbol(tokens[i], "(")) ++depth;
    if (IsSymbol(tokens[i], ")")) --depth;
    if (depth == 0 && IsSymbol(tokens[i], ",")) {
      out.emplace_back(start, i);
      start = i + 1;
    }
  }
  out.emplace_back(start, close);
  return out;
}

// The single token of argument `a` written as a number or string, or empty.
std::string Literal(const Tokens& tokens, std::pair<size_t, size_t> a) {
  if (a.second != a.first + 1) return "";
  const Token& t = tokens[a.first];
  return t.kind == TokenKind::kNumber || t.kind == TokenKind::kString ? t.text : "";
}

// The type of the call tokens[begin..end) when it is one whole call the
// translation made; empty otherwise.
std::string CallType(const Tokens& tokens, size_t begin, size_t end) {
  if (end - begin < 3 || tokens[begin].kind != TokenKind::kWord ||
      !IsSymbol(tokens[begin + 1], "(") || Close(tokens, begin + 1, end) != end - 1) {
    return "";
  }
  const std::string name = Upper(tokens[begin].text);
  const auto args = Arguments(tokens, begin + 1, end - 1);
  if (name == "TSQ_CONVERT_TEXT" && args.size() == 4) {
    const std::string length = Literal(tokens, args[2]);
    if (length.empty()) return "";
    if (length == "-1") return "text";
    return (Literal(tokens, args[3]) == "1" ? "char(" : "varchar(") + length + ")";
  }
  if (name == "TSQ_CONVERT_DATETIME" || name == "DATETIME") return "datetime";
  if (name == "TSQ_CONVERT_INT" && args.size() == 2) {
    const std::string type = Upper(Literal(tokens, args[1]));
    return type == "BIT" || type == "TINYINT" ? "smallint" : type.empty() ? "" : type;
  }
  if (name == "TSQ_CONVERT_FLOAT") return "float";
  if (name == "COUNT" || name == "LENGTH" || name == "INSTR") return "int";
  if (name == "LAST_INSERT_ROWID") return "bigint";
  if (name == "CAST" && args.size() == 1) {
    const auto [first, last] = args[0];
    if (last - first >= 3 && Word(tokens[last - 2], "AS")) {
      const std::string type = Upper(tokens[last - 1].text);
      if (type == "INTEGER") return "int";
      if (type == "REAL") return "float";
    }
  }
  return "";
}

// The type of one select-list item [begin, end), its alias set aside.
std::string ItemType(const Tokens& tokens, size_t begin, size_t end) {
  if (end - begin >= 2 && Word(tokens[end - 2], "AS")) {
    end -= 2;
  } else if (end - begin >= 2 && !IsSymbol(tokens[end - 1], ")") &&
             (tokens[end - 1].kind == TokenKind::kWord ||
              tokens[end - 1].kind == TokenKind::kQuotedName) &&
             !IsSymbol(tokens[end - 2], ".")) {
    --end;  // an alias without AS
  }
  return begin < end ? CallType(tokens, begin, end) : "";
}

bool EndsList(const Token& t) {
  static constexpr std::string_view kWords[] = {"FROM",      "WHERE",  "GROUP", "HAVING",
                                                "ORDER",     "LIMIT",  "UNION", "EXCEPT",
                                                "INTERSECT", "WINDOW", "INTO"};
  if (t.kind != TokenKind::kWord) return false;
  const std::string upper = Upper(t.text);
  for (std::string_view w : kWords) {
    if (upper == w) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> SelectListTypes(std::string_view sqlite_sql) {
  TokenizeResult tr = Tokenize(sqlite_sql);
  if (!tr.ok || tr.tokens.empty() || !Word(tr.tokens[0], "SELECT")) return {};
  const Tokens& tokens = tr.tokens;
  size_t i = 1;
  if (i < tokens.size() && (Word(tokens[i], "DISTINCT") || Word(tokens[i], "ALL"))) ++i;
  std::vector<std::string> types;
  size_t start = i;
  int depth = 0;
  for (; i <= tokens.size(); ++i) {
    const bool at_end = i == tokens.size() || (depth == 0 && EndsList(tokens[i]));
    if (at_end || (depth == 0 && IsSymbol(tokens[i], ","))) {
      if (start == i) return {};
      types.push_back(ItemType(tokens, start, i));
      start = i + 1;
      if (at_end) break;
      continue;
    }
    if (IsSymbol(tokens[i], "*") && depth == 0 && (i == start || IsSymbol(tokens[i - 1], "."))) {
      return {};  // a star stands for columns this text does not list
    }
    if (IsSymbol(tokens[i], "(")) ++depth;
    if (IsSymbol(tokens[i], ")")) --depth;
  }
  return types;
}

}  // namespace tsq
