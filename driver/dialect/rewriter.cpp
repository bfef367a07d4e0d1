#include "dialect/rewriter.h"

#include <string_view>

#include "dialect/date_value.h"

namespace tsq {
namespace {

constexpr const char* kLocalNow = "datetime('now','localtime')";

constexpr std::string_view kTableHints[] = {
    "NOLOCK",  "READUNCOMMITTED", "UPDLOCK",      "HOLDLOCK",       "ROWLOCK",
    "PAGLOCK", "TABLOCK",         "TABLOCKX",     "XLOCK",          "READPAST",
    "NOWAIT",  "READCOMMITTED",   "SERIALIZABLE", "REPEATABLEREAD", "READCOMMITTEDLOCK"};

bool IsTableHint(const Token& token) {
  for (std::string_view hint : kTableHints) {
    if (IsWord(token, hint)) return true;
  }
  return false;
}

void Append(std::string& out, const std::string& piece, bool space) {
  if (piece.empty()) return;
  if (space && !out.empty()) out += ' ';
  out += piece;
}

std::string TypeNameText(const std::vector<Token>& tokens, const TokenRange& range) {
  std::string text;
  for (size_t i = range.first; i < range.second; ++i) text += tokens[i].text;
  return text;
}

// The calls that are rewritten by a template: $0, $1, $2 stand for the
// rendered arguments. Calls of the same name with another argument count
// pass unchanged.
struct TemplateRule {
  std::string_view name;
  size_t args;
  std::string_view text;
};

constexpr TemplateRule kTemplateRules[] = {
    {"GETDATE", 0, "datetime('now','localtime')"},
    {"SYSDATETIME", 0, "datetime('now','localtime')"},
    {"GETUTCDATE", 0, "datetime('now')"},
    {"SYSUTCDATETIME", 0, "datetime('now')"},
    {"SCOPE_IDENTITY", 0, "last_insert_rowid()"},
    {"ISNULL", 2, "ifnull($0, $1)"},
    {"LEN", 1, "length(rtrim($0))"},  // len() ignores trailing blanks
    {"SUBSTRING", 3, "substr($0, $1, $2)"},
    {"CHARINDEX", 2, "instr($1, $0)"},
    {"YEAR", 1, "CAST(strftime('%Y', tsq_convert_datetime($0, NULL, 0)) AS INTEGER)"},
    {"MONTH", 1, "CAST(strftime('%m', tsq_convert_datetime($0, NULL, 0)) AS INTEGER)"},
    {"DAY", 1, "CAST(strftime('%d', tsq_convert_datetime($0, NULL, 0)) AS INTEGER)"},
};

// The calls that need their own code.
constexpr std::string_view kCodedFunctions[] = {"CONVERT", "CAST", "DATEADD", "DATEDIFF"};

bool IsRewrittenFunction(std::string_view upper_name) {
  for (std::string_view name : kCodedFunctions) {
    if (name == upper_name) return true;
  }
  for (const TemplateRule& rule : kTemplateRules) {
    if (rule.name == upper_name) return true;
  }
  return false;
}

}  // namespace

Rewriter::Rewriter(const std::vector<Token>& tokens)
    : tokens_(tokens), close_of_(tokens.size(), std::string::npos) {
  std::vector<size_t> open;
  for (size_t i = 0; i < tokens_.size(); ++i) {
    if (IsSymbol(tokens_[i], "(")) {
      open.push_back(i);
    } else if (IsSymbol(tokens_[i], ")") && !open.empty()) {
      close_of_[open.back()] = i;
      open.pop_back();
    }
  }
}

void Rewriter::SetError(SqlError error) {
  if (!error_) error_ = std::move(error);
}

size_t Rewriter::MatchParen(size_t open, size_t end) const {
  if (open >= end || open >= close_of_.size() || close_of_[open] >= end) return std::string::npos;
  return close_of_[open];
}

std::vector<TokenRange> Rewriter::SplitTopLevel(size_t begin, size_t end) const {
  std::vector<TokenRange> parts;
  if (begin >= end) return parts;
  int depth = 0;
  size_t start = begin;
  for (size_t i = begin; i < end; ++i) {
    if (IsSymbol(tokens_[i], "(")) {
      // A closed group holds no top-level comma: jump over it, so that
      // nested calls are not scanned once per level.
      const size_t close = MatchParen(i, end);
      if (close != std::string::npos) {
        i = close;
      } else {
        ++depth;
      }
    } else if (IsSymbol(tokens_[i], ")")) {
      --depth;
    } else if (depth == 0 && IsSymbol(tokens_[i], ",")) {
      parts.emplace_back(start, i);
      start = i + 1;
    }
  }
  parts.emplace_back(start, end);
  return parts;
}

std::string Rewriter::Render(size_t begin, size_t end) {
  std::string out;
  if (error_) return out;
  if (nesting_ >= kMaxRewriteNesting) {
    SetError({191, "42000",
              "Some part of your SQL statement is nested too deeply. Rewrite the query or break "
              "it up into smaller queries."});
    return out;
  }
  ++nesting_;
  size_t i = begin;
  while (i < end && !error_) {
    std::string piece;
    size_t next = i + 1;
    if (!RewriteAt(i, end, piece, next)) piece = RenderToken(tokens_[i]);
    Append(out, piece, tokens_[i].space_before);
    i = next;
  }
  --nesting_;
  return out;
}

std::string Rewriter::ConvertCall(const SqlType& type, const std::string& expr,
                                  const std::string& style) {
  switch (type.type_class) {
    case TypeClass::kText: {
      // convert() and cast() without a length give 30 characters.
      const int64_t length = type.has_length ? type.length
                             : (type.name == "TEXT" || type.name == "NTEXT" || type.name == "XML")
                                 ? -1
                                 : 30;
      return "tsq_convert_text(" + expr + ", " + style + ", " + std::to_string(length) + ", " +
             (type.fixed ? "1" : "0") + ")";
    }
    case TypeClass::kDateTime:
    case TypeClass::kDate:
      return "tsq_convert_datetime(" + expr + ", " + style + ", " +
             (type.type_class == TypeClass::kDate ? "1" : "0") + ")";
    case TypeClass::kInteger:
      return "tsq_convert_int(" + expr + ", '" + (type.name == "INTEGER" ? "INT" : type.name) +
             "')";
    case TypeClass::kFloat:
      return "tsq_convert_float(" + expr + ", " +
             (type.scale >= 0 ? std::to_string(type.scale) : std::string("NULL")) + ")";
    case TypeClass::kBinary:
      return "CAST(" + expr + " AS BLOB)";
  }
  return expr;
}

std::optional<std::string> Rewriter::DatePartArgument(const TokenRange& range,
                                                      const char* function) {
  if (range.second != range.first + 1) return std::nullopt;
  const Token& token = tokens_[range.first];
  if (token.kind != TokenKind::kWord && token.kind != TokenKind::kString) return std::nullopt;
  if (!ParseDatePart(token.text)) {
    SetError({155, "42000", "'" + token.text + "' is not a recognized " + function + " option."});
    return std::nullopt;
  }
  return QuoteString(token.text);
}

bool Rewriter::RewriteFunction(size_t i, size_t close, std::string& out) {
  const std::string name = Upper(tokens_[i].text);
  if (!IsRewrittenFunction(name)) return false;  // spares the argument split of any other call
  const std::vector<TokenRange> args = SplitTopLevel(i + 2, close);
  if (name == "CONVERT" && (args.size() == 2 || args.size() == 3)) {
    return RewriteConvert(args, out);
  }
  if (name == "CAST" && args.size() == 1) return RewriteCast(args[0], out);
  if ((name == "DATEADD" || name == "DATEDIFF") && args.size() == 3) {
    const bool add = name == "DATEADD";
    const std::optional<std::string> part = DatePartArgument(args[0], add ? "dateadd" : "datediff");
    if (!part) return false;
    out = std::string(add ? "tsq_dateadd(" : "tsq_datediff(") + *part + ", " +
          Render(args[1].first, args[1].second) + ", " + Render(args[2].first, args[2].second) +
          ")";
    return true;
  }
  for (const TemplateRule& rule : kTemplateRules) {
    if (rule.name != name || rule.args != args.size()) continue;
    out.clear();
    for (size_t k = 0; k < rule.text.size(); ++k) {
      const char c = rule.text[k];
      if (c == '$' && k + 1 < rule.text.size()) {
        const TokenRange& range = args[static_cast<size_t>(rule.text[++k] - '0')];
        out += Render(range.first, range.second);
      } else {
        out += c;
      }
    }
    return true;
  }
  return false;
}

bool Rewriter::RewriteConvert(const std::vector<TokenRange>& args, std::string& out) {
  const std::optional<SqlType> type = ParseSqlType(tokens_, args[0].first, args[0].second);
  if (!type) {
    SetError({243, "42000",
              "Type " + TypeNameText(tokens_, args[0]) + " is not a defined system type."});
    return false;
  }
  if (const std::optional<SqlError> bad = LengthError(*type)) {
    SetError(*bad);
    return false;
  }
  const std::string value = Render(args[1].first, args[1].second);
  out =
      ConvertCall(*type, value, args.size() == 3 ? Render(args[2].first, args[2].second) : "NULL");
  return true;
}

bool Rewriter::RewriteCast(const TokenRange& arg, std::string& out) {
  size_t as = std::string::npos;
  int depth = 0;
  for (size_t k = arg.first; k < arg.second; ++k) {
    if (IsSymbol(tokens_[k], "(")) {
      const size_t group_close = MatchParen(k, arg.second);
      if (group_close != std::string::npos) {
        k = group_close;  // no AS of this cast inside
        continue;
      }
      ++depth;
    }
    if (IsSymbol(tokens_[k], ")")) --depth;
    if (depth == 0 && IsWord(tokens_[k], "AS")) as = k;
  }
  if (as == std::string::npos) return false;
  const std::optional<SqlType> type = ParseSqlType(tokens_, as + 1, arg.second);
  if (!type) {
    SetError(
        {243, "42000",
         "Type " + TypeNameText(tokens_, {as + 1, arg.second}) + " is not a defined system type."});
    return false;
  }
  if (const std::optional<SqlError> bad = LengthError(*type)) {
    SetError(*bad);
    return false;
  }
  out = ConvertCall(*type, Render(arg.first, as), "NULL");
  return true;
}

bool Rewriter::RewriteTop(size_t i, size_t end, std::string& out, size_t& next) {
  size_t j = i + 1;
  std::string head = "SELECT";
  if (j < end && (IsWord(tokens_[j], "DISTINCT") || IsWord(tokens_[j], "ALL"))) {
    head += " " + Upper(tokens_[j].text);
    ++j;
  }
  if (j + 1 >= end || !IsWord(tokens_[j], "TOP")) return false;
  TokenRange count{j + 1, j + 2};
  if (IsSymbol(tokens_[j + 1], "(")) {
    const size_t close = MatchParen(j + 1, end);
    if (close == std::string::npos) return false;
    count = {j + 1, close + 1};
  } else if (tokens_[j + 1].kind != TokenKind::kNumber) {
    return false;
  }
  size_t k = count.second;
  if (k < end && (IsWord(tokens_[k], "PERCENT") || IsWord(tokens_[k], "WITH"))) return false;
  // The LIMIT goes where this SELECT ends: at the ")" around it or at the end.
  const size_t body = k;
  int depth = 0;
  for (; k < end; ++k) {
    if (IsSymbol(tokens_[k], "(")) {
      ++depth;
    } else if (IsSymbol(tokens_[k], ")")) {
      if (depth == 0) break;
      --depth;
    } else if (depth == 0 && (IsWord(tokens_[k], "UNION") || IsWord(tokens_[k], "EXCEPT") ||
                              IsWord(tokens_[k], "INTERSECT"))) {
      return false;
    }
  }
  out = head + " " + Render(body, k) + " LIMIT " + Render(count.first, count.second);
  next = k;
  return true;
}

bool Rewriter::RewriteTableHint(size_t i, size_t end, size_t& next) const {
  if (i + 2 >= end || !IsSymbol(tokens_[i + 1], "(")) return false;
  const size_t close = MatchParen(i + 1, end);
  if (close == std::string::npos || close == i + 2) return false;
  for (size_t k = i + 2; k < close; ++k) {
    if (!IsTableHint(tokens_[k]) && !IsSymbol(tokens_[k], ",")) return false;
  }
  next = close + 1;
  return true;
}

bool Rewriter::RewriteAt(size_t i, size_t end, std::string& out, size_t& next) {
  const Token& token = tokens_[i];
  if (token.kind == TokenKind::kVariable) {
    const std::string name = Upper(token.text);
    if (name == "@@IDENTITY") {
      out = "last_insert_rowid()";
    } else if (name == "@@ROWCOUNT") {
      out = "changes()";
    } else {
      SetError({137, "42000", "Must declare the scalar variable \"" + token.text + "\"."});
      return false;
    }
    return true;
  }
  if (token.kind != TokenKind::kWord) return false;
  const bool qualified = i > 0 && IsSymbol(tokens_[i - 1], ".");
  if (qualified) return false;
  if (IsWord(token, "CURRENT_TIMESTAMP")) {
    out = kLocalNow;
    return true;
  }
  if (IsWord(token, "SELECT")) return RewriteTop(i, end, out, next);
  if (IsWord(token, "WITH")) {
    if (!RewriteTableHint(i, end, next)) return false;
    out.clear();
    return true;
  }
  if (i + 1 < end && IsSymbol(tokens_[i + 1], "(")) {
    const size_t close = MatchParen(i + 1, end);
    if (close == std::string::npos) return false;
    if (!RewriteFunction(i, close, out)) return false;
    next = close + 1;
    return true;
  }
  return false;
}

}  // namespace tsq
