// MapError(): SQLite's failures as SQL Server reports them. Constraint
// failures name the object as schema.table; the schema is looked up among
// the attached databases because SQLite's message names the table alone.
#include <sqlite3.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/dialect.h"
#include "dialect/functions.h"
#include "dialect/tokenizer.h"

namespace tsq {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return Upper(a) == Upper(b);
}

// A name as SQLite echoes it, without the double quotes it may carry.
std::string Unquoted(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c != '"') out += c;
  }
  return out;
}

std::string AfterLastDot(std::string_view name) {
  const size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::vector<std::string> Column(sqlite3* db, const std::string& sql, int column) {
  std::vector<std::string> values;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return values;
  }
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(stmt, column);
    values.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
  }
  sqlite3_finalize(stmt);
  return values;
}

struct TableInfo {
  std::string schema;  // empty when not found
  std::string table;
  std::string create_sql;
};

// The attached database that holds `table` (the first one, in attach order).
TableInfo FindTable(sqlite3* db, const std::string& table) {
  TableInfo info;
  info.table = table;
  for (const std::string& schema : Column(db, "PRAGMA database_list", 1)) {
    const std::vector<std::string> sql =
        Column(db,
               "SELECT sql FROM " + QuoteName(schema) +
                   ".sqlite_master WHERE type = 'table' AND name = " + QuoteString(table) +
                   " COLLATE NOCASE",
               0);
    if (!sql.empty()) {
      info.schema = schema;
      info.create_sql = sql.front();
      return info;
    }
  }
  return info;
}

std::string ObjectName(const TableInfo& info) {
  return info.schema.empty() || info.schema == "main" ? info.table : info.schema + "." + info.table;
}

// "t.a, t.b" of a constraint message: the table and the columns.
void SplitColumns(std::string_view list, std::string& table, std::vector<std::string>& columns) {
  while (!list.empty()) {
    const size_t comma = list.find(", ");
    std::string_view item = list.substr(0, comma);
    const size_t dot = item.find('.');
    if (dot != std::string_view::npos) {
      table = std::string(item.substr(0, dot));
      columns.emplace_back(item.substr(dot + 1));
    } else {
      columns.emplace_back(item);
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 2);
  }
}

// The name given to the key in the table's CREATE statement, if any:
// "CONSTRAINT name PRIMARY KEY" or "CONSTRAINT name UNIQUE".
std::string DeclaredConstraintName(const std::string& create_sql, bool primary,
                                   const std::vector<std::string>& columns) {
  const TokenizeResult parsed = Tokenize(create_sql);
  if (!parsed.ok) return {};
  const std::vector<Token>& t = parsed.tokens;
  for (size_t i = 0; i + 2 < t.size(); ++i) {
    if (!IsWord(t[i], "CONSTRAINT")) continue;
    const bool matches_kind = primary ? IsWord(t[i + 2], "PRIMARY") : IsWord(t[i + 2], "UNIQUE");
    if (!matches_kind) continue;
    if (primary) return t[i + 1].text;
    // A table constraint lists its columns; a column constraint follows its column.
    size_t k = i + 3;
    std::vector<std::string> listed;
    if (k < t.size() && IsSymbol(t[k], "(")) {
      for (++k; k < t.size() && !IsSymbol(t[k], ")"); ++k) {
        if (t[k].kind == TokenKind::kWord || t[k].kind == TokenKind::kQuotedName) {
          if (!IsWord(t[k], "ASC") && !IsWord(t[k], "DESC")) listed.push_back(t[k].text);
        }
      }
    } else {
      size_t b = i;
      while (b > 0 && !IsSymbol(t[b - 1], ",") && !IsSymbol(t[b - 1], "(")) --b;
      listed.push_back(t[b].text);
    }
    if (listed.size() != columns.size()) continue;
    bool same = true;
    for (size_t c = 0; c < listed.size(); ++c) same = same && EqualNoCase(listed[c], columns[c]);
    if (same) return t[i + 1].text;
  }
  return {};
}

// The user index of `info`'s table whose key is exactly `columns`, if one is.
std::string UniqueIndexOn(sqlite3* db, const TableInfo& info,
                          const std::vector<std::string>& columns) {
  if (info.schema.empty()) return {};
  const std::string sql = "SELECT name FROM pragma_index_list(" + QuoteString(info.table) + ", " +
                          QuoteString(info.schema) + ") WHERE \"unique\" = 1 AND origin = 'c'";
  const std::vector<std::string> indexes = Column(db, sql, 0);
  for (const std::string& index : indexes) {
    const std::vector<std::string> key =
        Column(db,
               "SELECT name FROM pragma_index_info(" + QuoteString(index) + ", " +
                   QuoteString(info.schema) + ") ORDER BY seqno",
               0);
    if (key.size() != columns.size()) continue;
    bool same = true;
    for (size_t c = 0; c < key.size(); ++c) same = same && EqualNoCase(key[c], columns[c]);
    if (same) return index;
  }
  return {};
}

SqlError DuplicateKey(sqlite3* db, int extended, std::string_view list) {
  std::string table;
  std::vector<std::string> columns;
  SplitColumns(list, table, columns);
  const TableInfo info = FindTable(db, table);
  const std::string object = ObjectName(info);
  if (extended != SQLITE_CONSTRAINT_PRIMARYKEY) {
    const std::string index = UniqueIndexOn(db, info, columns);
    if (!index.empty()) {
      return {2601, "23000",
              "Cannot insert duplicate key row in object '" + object + "' with unique index '" +
                  index + "'."};
    }
  }
  const bool primary = extended == SQLITE_CONSTRAINT_PRIMARYKEY;
  std::string name = DeclaredConstraintName(info.create_sql, primary, columns);
  if (name.empty()) name = (primary ? "PK_" : "UQ_") + info.table;
  return {2627, "23000",
          std::string("Violation of ") + (primary ? "PRIMARY KEY" : "UNIQUE KEY") +
              " constraint '" + name + "'. Cannot insert duplicate key in object '" + object +
              "'."};
}

SqlError SyntaxError(std::string_view message) {
  // near "X": syntax error
  const size_t open = message.find('"');
  const size_t close = message.find("\": syntax error");
  if (StartsWith(message, "near \"") && close != std::string_view::npos && close > open) {
    return {
        102, "42000",
        "Incorrect syntax near '" + std::string(message.substr(open + 1, close - open - 1)) + "'."};
  }
  if (StartsWith(message, "unrecognized token: ")) {
    std::string token(message.substr(20));
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
      token = token.substr(1, token.size() - 2);
    }
    return {102, "42000", "Incorrect syntax near '" + token + "'."};
  }
  return {102, "42000", "Incorrect syntax near the end of the statement."};
}

// The handlers below get the text after their rule's prefix.
using Handler = SqlError (*)(sqlite3* db, int extended, const std::string& rest);

SqlError InvalidColumn(sqlite3*, int, const std::string& rest) {
  return {207, "42S22", "Invalid column name '" + AfterLastDot(rest) + "'."};
}

SqlError InvalidObject(sqlite3*, int, const std::string& rest) {
  return {208, "42S02", "Invalid object name '" + Unquoted(rest) + "'."};
}

SqlError UnknownSchema(sqlite3*, int, const std::string& rest) {
  return {2760, "42000",
          "The specified schema name \"" + Unquoted(rest) +
              "\" either does not exist or you do not have permission to use it."};
}

SqlError Duplicate(sqlite3* db, int extended, const std::string& rest) {
  return DuplicateKey(db, extended, rest);
}

SqlError NotNull(sqlite3* db, int, const std::string& rest) {
  std::string table;
  std::vector<std::string> columns;
  SplitColumns(rest, table, columns);
  const std::string column = columns.empty() ? std::string() : columns.front();
  return {515, "23000",
          "Cannot insert the value NULL into column '" + column + "', table '" +
              ObjectName(FindTable(db, table)) + "'; column does not allow nulls. INSERT fails."};
}

SqlError CheckFailed(sqlite3*, int, const std::string& name) {
  if (StartsWith(name, "tsq_len_")) {
    return {8152, "22001", "String or binary data would be truncated."};
  }
  if (StartsWith(name, "tsq_dt_")) {
    return {241, "22007",
            "Conversion failed when converting date and/or time from character string."};
  }
  return {547, "23000", "The statement conflicted with the CHECK constraint \"" + name + "\"."};
}

SqlError ForeignKey(sqlite3*, int, const std::string&) {
  return {547, "23000", "The statement conflicted with a FOREIGN KEY constraint."};
}

SqlError Ambiguous(sqlite3*, int, const std::string& rest) {
  return {209, "42000", "Ambiguous column name '" + AfterLastDot(rest) + "'."};
}

SqlError UnknownFunction(sqlite3*, int, const std::string& rest) {
  return {195, "42000", "'" + rest + "' is not a recognized built-in function name."};
}

SqlError NoSuchIndex(sqlite3*, int, const std::string& rest) {
  return {3701, "42S12",
          "Cannot drop the index '" + Unquoted(rest) +
              "', because it does not exist or you do not have permission."};
}

SqlError DuplicateColumn(sqlite3*, int, const std::string& rest) {
  return {2705, "42S21",
          "Column names in each table must be unique. Column name '" + rest +
              "' is specified more than once."};
}

// A constraint failure is decided by its extended code; the prefix only
// tells where the named columns or constraint begin.
struct CodeRule {
  int extended;
  std::string_view prefix;
  Handler handler;
};

constexpr CodeRule kCodeRules[] = {
    {SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: ", Duplicate},
    {SQLITE_CONSTRAINT_PRIMARYKEY, "UNIQUE constraint failed: ", Duplicate},
    {SQLITE_CONSTRAINT_NOTNULL, "NOT NULL constraint failed: ", NotNull},
    {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: ", CheckFailed},
    {SQLITE_CONSTRAINT_FOREIGNKEY, "FOREIGN KEY constraint failed", ForeignKey},
};

// SQLite reports these under its generic SQLITE_ERROR (or, for constraints
// an older engine reports without an extended code, SQLITE_CONSTRAINT):
// only the text tells them apart.
struct MessageRule {
  std::string_view prefix;
  Handler handler;
};

constexpr MessageRule kMessageRules[] = {
    {"no such column: ", InvalidColumn},           {"no such table: ", InvalidObject},
    {"unknown database ", UnknownSchema},          {"UNIQUE constraint failed: ", Duplicate},
    {"NOT NULL constraint failed: ", NotNull},     {"CHECK constraint failed: ", CheckFailed},
    {"FOREIGN KEY constraint failed", ForeignKey}, {"ambiguous column name: ", Ambiguous},
    {"no such function: ", UnknownFunction},       {"no such index: ", NoSuchIndex},
    {"duplicate column name: ", DuplicateColumn},
};

// "table X already exists", "index X already exists".
std::optional<SqlError> AlreadyExists(const std::string& message) {
  const size_t at = message.find(" already exists");
  if (at == std::string::npos) return std::nullopt;
  if (StartsWith(message, "table ")) {
    const std::string name = Unquoted(message.substr(6, at - 6));
    return SqlError{2714, "42S01",
                    "There is already an object named '" + name + "' in the database."};
  }
  if (StartsWith(message, "index ")) {
    const std::string name = Unquoted(message.substr(6, at - 6));
    return SqlError{1913, "42S11",
                    "The operation failed because an index or statistics with name '" + name +
                        "' already exists."};
  }
  return std::nullopt;
}

// "N values for M columns", "... values were supplied ..."
std::optional<SqlError> ValueCountMismatch(const std::string& message) {
  if (message.find(" values were supplied") != std::string::npos) {
    return SqlError{213, "21S01",
                    "Column name or number of supplied values does not match table definition."};
  }
  const size_t for_at = message.find(" values for ");
  if (for_at == std::string::npos || message.find(" columns") == std::string::npos) {
    return std::nullopt;
  }
  const long values = std::strtol(message.c_str(), nullptr, 10);
  const long columns = std::strtol(message.c_str() + for_at + 12, nullptr, 10);
  if (columns > values) {
    return SqlError{109, "21S01",
                    "There are more columns in the INSERT statement than values specified in the "
                    "VALUES clause. The number of values in the VALUES clause must match the "
                    "number of columns specified in the INSERT statement."};
  }
  return SqlError{110, "21S01",
                  "There are fewer columns in the INSERT statement than values specified in the "
                  "VALUES clause. The number of values in the VALUES clause must match the number "
                  "of columns specified in the INSERT statement."};
}

SqlError MapMessage(sqlite3* db, int extended, const std::string& message) {
  if (std::optional<SqlError> marked = ParseErrorMarker(message)) return *marked;
  for (const CodeRule& rule : kCodeRules) {
    if (rule.extended == extended && StartsWith(message, rule.prefix)) {
      return rule.handler(db, extended, message.substr(rule.prefix.size()));
    }
  }
  if (StartsWith(message, "near \"") || StartsWith(message, "unrecognized token: ") ||
      message == "incomplete input") {
    return SyntaxError(message);
  }
  for (const MessageRule& rule : kMessageRules) {
    if (StartsWith(message, rule.prefix)) {
      return rule.handler(db, extended, message.substr(rule.prefix.size()));
    }
  }
  if (std::optional<SqlError> exists = AlreadyExists(message)) return *exists;
  if (std::optional<SqlError> mismatch = ValueCountMismatch(message)) return *mismatch;
  return {50000, "HY000", message};
}

}  // namespace

SqlError MapError(sqlite3* db, int rc) {
  const int primary = rc & 0xff;
  if (primary == SQLITE_OK || primary == SQLITE_ROW || primary == SQLITE_DONE) {
    return {0, "00000", ""};
  }
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
    return {1222, "HYT00", "Lock request time out period exceeded."};
  }
  if (primary == SQLITE_INTERRUPT) return {0, "HY008", "Operation canceled."};
  if (primary == SQLITE_NOMEM) {
    return {701, "HY001", "There is insufficient system memory to run this query."};
  }
  // Read the failure before anything else runs on the connection.
  const std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  const int extended = db != nullptr ? sqlite3_extended_errcode(db) : rc;
  if (primary == SQLITE_READONLY) {
    return {3906, "HY000",
            "Failed to update database because the database is read-only. (" + message + ")"};
  }
  if (db == nullptr) return {50000, "HY000", message};
  return MapMessage(db, extended, message);
}

}  // namespace tsq
