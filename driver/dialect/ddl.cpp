#include "dialect/ddl.h"

#include <algorithm>
#include <optional>

namespace tsq {
namespace {

SqlError SyntaxNear(const std::vector<Token>& tokens, size_t pos) {
  const std::string near = pos < tokens.size() ? tokens[pos].text : std::string();
  return {102, "42000", "Incorrect syntax near '" + near + "'."};
}

bool IsWordAt(const std::vector<Token>& tokens, size_t pos, std::string_view upper) {
  return pos < tokens.size() && IsWord(tokens[pos], upper);
}

bool IsSymbolAt(const std::vector<Token>& tokens, size_t pos, std::string_view symbol) {
  return pos < tokens.size() && IsSymbol(tokens[pos], symbol);
}

bool IsName(const Token& token) {
  return token.kind == TokenKind::kWord || token.kind == TokenKind::kQuotedName;
}

std::string DeclaredType(const SqlType& type) {
  switch (type.type_class) {
    case TypeClass::kText:
      if (type.length < 0) return "TEXT COLLATE RTRIM";
      return std::string(type.fixed ? "CHAR(" : "VARCHAR(") + std::to_string(type.length) +
             ") COLLATE RTRIM";
    case TypeClass::kDateTime:
      return "DATETIME TEXT";
    case TypeClass::kDate:
      return "DATE TEXT";
    case TypeClass::kInteger:
      // Not "INTEGER": an INTEGER PRIMARY KEY would alias SQLite's row id and
      // invent a key for a NULL instead of refusing it.
      return "INT";
    case TypeClass::kFloat:
      return "REAL";
    case TypeClass::kBinary:
      return "BLOB";
  }
  return "TEXT";
}

std::string GeneratedChecks(const std::string& column, const SqlType& type) {
  const std::string col = QuoteName(column);
  if (type.type_class == TypeClass::kText && type.length >= 0) {
    return " CONSTRAINT " + QuoteName("tsq_len_" + column) + " CHECK (length(rtrim(" + col +
           ")) <= " + std::to_string(type.length) + ")";
  }
  if (type.type_class == TypeClass::kDateTime) {
    return " CONSTRAINT " + QuoteName("tsq_dt_" + column) + " CHECK (" + col + " IS datetime(" +
           col + "))";
  }
  if (type.type_class == TypeClass::kDate) {
    return " CONSTRAINT " + QuoteName("tsq_dt_" + column) + " CHECK (" + col + " IS (date(" + col +
           ") || ' 00:00:00'))";
  }
  return {};
}

// "(a, b DESC)" of a key or index: names and ASC/DESC only.
bool KeyColumns(Rewriter& rewriter, const std::vector<Token>& tokens, size_t open, size_t end,
                std::string& out, size_t& next) {
  const size_t close = rewriter.MatchParen(open, end);
  if (close == std::string::npos) {
    rewriter.SetError(SyntaxNear(tokens, open));
    return false;
  }
  out = "(";
  bool first = true;
  for (const TokenRange& part : rewriter.SplitTopLevel(open + 1, close)) {
    size_t k = part.first;
    if (k >= part.second || !IsName(tokens[k])) {
      rewriter.SetError(SyntaxNear(tokens, k));
      return false;
    }
    out += (first ? "" : ", ") + QuoteName(tokens[k].text);
    first = false;
    ++k;
    if (k < part.second && (IsWord(tokens[k], "ASC") || IsWord(tokens[k], "DESC"))) {
      out += " " + Upper(tokens[k].text);
      ++k;
    }
    if (k != part.second) {
      rewriter.SetError(SyntaxNear(tokens, k));
      return false;
    }
  }
  out += ")";
  next = close + 1;
  return true;
}

// Skips what SQL Server puts after a key or index: WITH (...), ON filegroup.
size_t SkipStorageOptions(Rewriter& rewriter, const std::vector<Token>& tokens, size_t pos,
                          size_t end) {
  while (pos < end) {
    if (IsWord(tokens[pos], "WITH") && IsSymbolAt(tokens, pos + 1, "(")) {
      const size_t close = rewriter.MatchParen(pos + 1, end);
      if (close == std::string::npos) return pos;
      pos = close + 1;
    } else if ((IsWord(tokens[pos], "ON") || IsWord(tokens[pos], "TEXTIMAGE_ON")) &&
               pos + 1 < end) {
      pos += 2;
      if (IsSymbolAt(tokens, pos, "(")) {  // a partition scheme's column
        const size_t close = rewriter.MatchParen(pos, end);
        if (close == std::string::npos) return pos;
        pos = close + 1;
      }
    } else {
      break;
    }
  }
  return pos;
}

// An expression after DEFAULT: a parenthesised one, a signed number, a
// function call or a single token. Returns the end of it.
size_t DefaultEnd(Rewriter& rewriter, const std::vector<Token>& tokens, size_t pos, size_t end) {
  if (pos >= end) return pos;
  if (IsSymbol(tokens[pos], "(") || (pos + 1 < end && IsSymbol(tokens[pos + 1], "("))) {
    const size_t open = IsSymbol(tokens[pos], "(") ? pos : pos + 1;
    const size_t close = rewriter.MatchParen(open, end);
    return close == std::string::npos ? end : close + 1;
  }
  if ((IsSymbol(tokens[pos], "-") || IsSymbol(tokens[pos], "+")) && pos + 1 < end) return pos + 2;
  return pos + 1;
}

// A column definition while its options are read.
struct ColumnBuild {
  std::string column;
  SqlType type;
  std::string out;
  bool identity = false;
};

void PrimaryKeyOption(Rewriter& rewriter, const std::vector<Token>& tokens, ColumnBuild& c,
                      size_t& pos, size_t end) {
  c.out += " PRIMARY KEY";
  pos += 2;
  if (IsWordAt(tokens, pos, "CLUSTERED") || IsWordAt(tokens, pos, "NONCLUSTERED")) ++pos;
  if (IsWordAt(tokens, pos, "ASC") || IsWordAt(tokens, pos, "DESC")) {
    c.out += " " + Upper(tokens[pos++].text);
  }
  if (c.identity && c.type.type_class == TypeClass::kInteger) {
    // An identity key is the row id: only INTEGER PRIMARY KEY may count itself up.
    const std::string head = QuoteName(c.column) + " INT";
    if (c.out.compare(0, head.size(), head) == 0) c.out.replace(0, head.size(), head + "EGER");
    c.out += " AUTOINCREMENT";
  }
  pos = SkipStorageOptions(rewriter, tokens, pos, end);
}

// Translates the column option at `pos` into `c.out` and moves `pos` past
// it; false (pos unchanged) when no option this column may have starts there.
bool ColumnOption(Rewriter& rewriter, const std::vector<Token>& tokens, ColumnBuild& c, size_t& pos,
                  size_t end) {
  const Token& t = tokens[pos];
  if (IsWord(t, "NULL") || IsWord(t, "CLUSTERED") || IsWord(t, "NONCLUSTERED") ||
      IsWord(t, "ROWGUIDCOL") || IsWord(t, "SPARSE")) {
    ++pos;
  } else if (IsWord(t, "NOT") && IsWordAt(tokens, pos + 1, "NULL")) {
    c.out += " NOT NULL";
    pos += 2;
  } else if (IsWord(t, "CONSTRAINT") && pos + 1 < end && IsName(tokens[pos + 1])) {
    c.out += " CONSTRAINT " + QuoteName(tokens[pos + 1].text);
    pos += 2;
  } else if (IsWord(t, "PRIMARY") && IsWordAt(tokens, pos + 1, "KEY")) {
    PrimaryKeyOption(rewriter, tokens, c, pos, end);
  } else if (IsWord(t, "UNIQUE")) {
    c.out += " UNIQUE";
    pos = SkipStorageOptions(rewriter, tokens, pos + 1, end);
  } else if (IsWord(t, "IDENTITY")) {
    c.identity = true;
    ++pos;
    if (IsSymbolAt(tokens, pos, "(")) {
      const size_t close = rewriter.MatchParen(pos, end);
      pos = close == std::string::npos ? end : close + 1;
    }
  } else if (IsWord(t, "DEFAULT")) {
    const size_t expr_end = DefaultEnd(rewriter, tokens, pos + 1, end);
    c.out += " DEFAULT (" + rewriter.Render(pos + 1, expr_end) + ")";
    pos = expr_end;
  } else if (IsWord(t, "CHECK") && IsSymbolAt(tokens, pos + 1, "(")) {
    const size_t close = rewriter.MatchParen(pos + 1, end);
    if (close == std::string::npos) return false;
    c.out += " CHECK (" + rewriter.Render(pos + 2, close) + ")";
    pos = close + 1;
  } else if (IsWord(t, "COLLATE") && pos + 1 < end) {
    pos += 2;  // text columns always compare as SQL Server's do: blanks at the end aside
  } else if (IsWord(t, "REFERENCES")) {
    c.out += " " + rewriter.Render(pos, end);
    pos = end;
  } else {
    return false;
  }
  return true;
}

std::string ColumnDefinition(Rewriter& rewriter, const std::vector<Token>& tokens, size_t begin,
                             size_t end, size_t position) {
  if (begin >= end || !IsName(tokens[begin])) {
    rewriter.SetError(SyntaxNear(tokens, begin));
    return {};
  }
  ColumnBuild c;
  c.column = tokens[begin].text;
  size_t pos = begin + 1;
  if (IsWordAt(tokens, pos, "AS")) {  // a computed column
    return QuoteName(c.column) + " AS " + rewriter.Render(pos + 1, end);
  }
  size_t type_end = pos + 1;
  if (IsSymbolAt(tokens, type_end, "(")) {
    const size_t close = rewriter.MatchParen(type_end, end);
    type_end = close == std::string::npos ? end : close + 1;
  }
  const std::optional<SqlType> type = ParseSqlType(tokens, pos, std::min(type_end, end));
  if (!type) {
    const std::string name = pos < end ? tokens[pos].text : std::string();
    rewriter.SetError({2715, "42000",
                       "Column, parameter, or variable #" + std::to_string(position) +
                           ": Cannot find data type " + name + "."});
    return {};
  }
  if (const std::optional<SqlError> bad = LengthError(*type)) {
    rewriter.SetError(*bad);
    return {};
  }
  c.type = *type;
  c.out = QuoteName(c.column) + " " + DeclaredType(*type);
  pos = type_end;
  while (pos < end && ColumnOption(rewriter, tokens, c, pos, end)) {
  }
  if (pos != end) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  return c.out + GeneratedChecks(c.column, c.type);
}

std::string TableConstraint(Rewriter& rewriter, const std::vector<Token>& tokens, size_t begin,
                            size_t end) {
  std::string out;
  size_t pos = begin;
  if (IsWord(tokens[pos], "CONSTRAINT") && pos + 1 < end && IsName(tokens[pos + 1])) {
    out = "CONSTRAINT " + QuoteName(tokens[pos + 1].text) + " ";
    pos += 2;
  }
  if (IsWordAt(tokens, pos, "PRIMARY") || IsWordAt(tokens, pos, "UNIQUE")) {
    const bool primary = IsWord(tokens[pos], "PRIMARY");
    pos += primary ? 2 : 1;
    if (primary && !IsWord(tokens[pos - 1], "KEY")) {
      rewriter.SetError(SyntaxNear(tokens, pos - 1));
      return {};
    }
    if (IsWordAt(tokens, pos, "CLUSTERED") || IsWordAt(tokens, pos, "NONCLUSTERED")) ++pos;
    if (!IsSymbolAt(tokens, pos, "(")) {
      rewriter.SetError(SyntaxNear(tokens, pos));
      return {};
    }
    std::string columns;
    if (!KeyColumns(rewriter, tokens, pos, end, columns, pos)) return {};
    pos = SkipStorageOptions(rewriter, tokens, pos, end);
    if (pos != end) {
      rewriter.SetError(SyntaxNear(tokens, pos));
      return {};
    }
    return out + (primary ? "PRIMARY KEY " : "UNIQUE ") + columns;
  }
  return out + rewriter.Render(pos, end);  // CHECK (...), FOREIGN KEY ...: SQLite's own
}

}  // namespace

std::vector<std::string> ReadDottedName(const std::vector<Token>& tokens, size_t& pos) {
  std::vector<std::string> parts;
  while (pos < tokens.size() && IsName(tokens[pos])) {
    parts.push_back(tokens[pos].text);
    ++pos;
    if (!IsSymbolAt(tokens, pos, ".")) break;
    ++pos;
  }
  return parts;
}

std::string RenderDottedName(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : ".") + QuoteName(part);
  return out;
}

std::string TranslateCreateTable(Rewriter& rewriter, const std::vector<Token>& tokens) {
  size_t pos = 2;  // CREATE TABLE
  const std::vector<std::string> name = ReadDottedName(tokens, pos);
  if (name.empty() || name.size() > 2 || !IsSymbolAt(tokens, pos, "(")) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  const size_t close = rewriter.MatchParen(pos, tokens.size());
  if (close == std::string::npos) {
    rewriter.SetError(SyntaxNear(tokens, tokens.size() - 1));
    return {};
  }
  const size_t rest = SkipStorageOptions(rewriter, tokens, close + 1, tokens.size());
  if (rest != tokens.size()) {
    rewriter.SetError(SyntaxNear(tokens, rest));
    return {};
  }
  std::string out = "CREATE TABLE " + RenderDottedName(name) + " (";
  size_t position = 0;
  for (const TokenRange& element : rewriter.SplitTopLevel(pos + 1, close)) {
    ++position;
    if (element.first >= element.second) {
      rewriter.SetError(SyntaxNear(tokens, element.first));
      return {};
    }
    const Token& first = tokens[element.first];
    const bool constraint = IsWord(first, "CONSTRAINT") || IsWord(first, "PRIMARY") ||
                            IsWord(first, "UNIQUE") || IsWord(first, "CHECK") ||
                            IsWord(first, "FOREIGN");
    const std::string text =
        constraint ? TableConstraint(rewriter, tokens, element.first, element.second)
                   : ColumnDefinition(rewriter, tokens, element.first, element.second, position);
    if (rewriter.error()) return {};
    out += (position == 1 ? "" : ", ") + text;
  }
  return out + ")";
}

std::string TranslateCreateIndex(Rewriter& rewriter, const std::vector<Token>& tokens) {
  size_t pos = 1;
  const bool unique = IsWordAt(tokens, pos, "UNIQUE");
  if (unique) ++pos;
  if (IsWordAt(tokens, pos, "CLUSTERED") || IsWordAt(tokens, pos, "NONCLUSTERED")) ++pos;
  ++pos;  // INDEX
  if (pos >= tokens.size() || !IsName(tokens[pos]) || !IsWordAt(tokens, pos + 1, "ON")) {
    rewriter.SetError(SyntaxNear(tokens, pos + 1));
    return {};
  }
  const std::string index = tokens[pos].text;
  pos += 2;
  const std::vector<std::string> table = ReadDottedName(tokens, pos);
  if (table.empty() || table.size() > 2 || !IsSymbolAt(tokens, pos, "(")) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  std::string columns;
  if (!KeyColumns(rewriter, tokens, pos, tokens.size(), columns, pos)) return {};
  std::string where;
  while (pos < tokens.size()) {
    if (IsWord(tokens[pos], "INCLUDE") && IsSymbolAt(tokens, pos + 1, "(")) {
      const size_t close = rewriter.MatchParen(pos + 1, tokens.size());
      if (close == std::string::npos) break;
      pos = close + 1;  // SQLite indexes hold the key columns only
    } else if (IsWord(tokens[pos], "WHERE")) {
      size_t end = pos + 1;
      while (end < tokens.size() && !IsWord(tokens[end], "WITH") && !IsWord(tokens[end], "ON")) {
        ++end;
      }
      where = " WHERE " + rewriter.Render(pos + 1, end);
      pos = end;
    } else {
      const size_t next = SkipStorageOptions(rewriter, tokens, pos, tokens.size());
      if (next == pos) break;
      pos = next;
    }
  }
  if (pos != tokens.size()) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  std::string out = unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
  if (table.size() == 2) out += QuoteName(table[0]) + ".";
  return out + QuoteName(index) + " ON " + QuoteName(table.back()) + " " + columns + where;
}

std::string TranslateDropIndex(Rewriter& rewriter, const std::vector<Token>& tokens) {
  size_t pos = 2;  // DROP INDEX
  std::string out = "DROP INDEX ";
  if (IsWordAt(tokens, pos, "IF") && IsWordAt(tokens, pos + 1, "EXISTS")) {
    out += "IF EXISTS ";
    pos += 2;
  }
  std::vector<std::string> name = ReadDottedName(tokens, pos);
  std::string schema;
  std::string index;
  if (name.size() == 1 && IsWordAt(tokens, pos, "ON")) {  // DROP INDEX ix ON s.t
    ++pos;
    const std::vector<std::string> table = ReadDottedName(tokens, pos);
    if (table.empty() || table.size() > 2) {
      rewriter.SetError(SyntaxNear(tokens, pos));
      return {};
    }
    if (table.size() == 2) schema = table[0];
    index = name[0];
  } else if (name.size() == 3) {  // DROP INDEX s.t.ix
    schema = name[0];
    index = name[2];
  } else if (name.size() == 2) {  // DROP INDEX t.ix
    index = name[1];
  } else {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  if (pos != tokens.size()) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  return out + (schema.empty() ? "" : QuoteName(schema) + ".") + QuoteName(index);
}

std::string TranslateAlterTable(Rewriter& rewriter, const std::vector<Token>& tokens) {
  size_t pos = 2;  // ALTER TABLE
  const std::vector<std::string> name = ReadDottedName(tokens, pos);
  if (name.empty() || name.size() > 2) {
    rewriter.SetError(SyntaxNear(tokens, pos));
    return {};
  }
  const std::string head = "ALTER TABLE " + RenderDottedName(name);
  if (IsWordAt(tokens, pos, "ADD") && !IsWordAt(tokens, pos + 1, "CONSTRAINT")) {
    ++pos;
    if (IsWordAt(tokens, pos, "COLUMN")) ++pos;
    const std::vector<TokenRange> columns = rewriter.SplitTopLevel(pos, tokens.size());
    if (columns.size() != 1) {
      rewriter.SetError({50000, "HY000", "ALTER TABLE adds one column at a time here."});
      return {};
    }
    const std::string column = ColumnDefinition(rewriter, tokens, pos, tokens.size(), 1);
    if (rewriter.error()) return {};
    return head + " ADD COLUMN " + column;
  }
  return head + " " + rewriter.Render(pos, tokens.size());
}

}  // namespace tsq
