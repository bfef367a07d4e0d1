#include "catalog.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <tuple>
#include <vector>

#include "column_type.h"

namespace tsqlite {
namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Match(const std::string& p, size_t pi, const std::string& t, size_t ti) {
  while (pi < p.size()) {
    char c = p[pi];
    if (c == '%') {
      while (pi < p.size() && p[pi] == '%') ++pi;
      if (pi == p.size()) return true;
      for (size_t k = ti; k <= t.size(); ++k) {
        if (Match(p, pi, t, k)) return true;
      }
      return false;
    }
    if (ti >= t.size()) return false;
    if (c == '_') {
      ++pi;
      ++ti;
      continue;
    }
    if (c == '\\' && pi + 1 < p.size()) c = p[++pi];
    if (Lower(c) != Lower(t[ti])) return false;
    ++pi;
    ++ti;
  }
  return ti == t.size();
}

Value TextValue(const std::string& s) {
  Value v;
  v.type = ValueType::kText;
  v.text = s;
  return v;
}

Value IntValue(int64_t n) {
  Value v;
  v.type = ValueType::kInteger;
  v.integer = n;
  return v;
}

Value NullValue() {
  return Value{};
}

// Declares the result columns and describes them once the rows are in.
struct Builder {
  std::vector<std::pair<std::string, std::string>>
      declared;  // name and declared type of each column
  ResultSet rs;
  ResultSet Done() {
    rs.columns.resize(declared.size());
    for (size_t i = 0; i < declared.size(); ++i) {
      rs.columns[i].name = declared[i].first;
      DescribeColumn(declared[i].second, rs.columns[i]);
    }
    return std::move(rs);
  }
};

std::vector<std::string> Schemas(sqlite3* db) {
  std::vector<std::string> out;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT name FROM pragma_database_list WHERE name NOT IN "
                         "('main', 'temp') ORDER BY name",
                         -1, &st, nullptr) != SQLITE_OK) {
    return out;
  }
  while (sqlite3_step(st) == SQLITE_ROW) {
    out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  }
  sqlite3_finalize(st);
  return out;
}

std::string Quote(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

// (name, type) of the tables and views of one schema.
std::vector<std::pair<std::string, std::string>> Tables(sqlite3* db, const std::string& schema) {
  std::vector<std::pair<std::string, std::string>> out;
  const std::string sql = "SELECT name, upper(type) FROM " + Quote(schema) +
                          ".sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE "
                          "'sqlite\\_%' ESCAPE '\\' ORDER BY name";
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
  while (sqlite3_step(st) == SQLITE_ROW) {
    out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                     reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
  }
  sqlite3_finalize(st);
  return out;
}

std::vector<std::string> TypeList(const std::string& types) {
  std::vector<std::string> out;
  std::string cur;
  auto flush = [&] {
    std::string t;
    for (char c : cur) {
      if (c != '\'' && c != ' ')
        t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!t.empty()) out.push_back(t);
    cur.clear();
  };
  for (char c : types) {
    if (c == ',') {
      flush();
    } else {
      cur += c;
    }
  }
  flush();
  return out;
}

bool Is(const std::optional<std::string>& v, const char* s) {
  return v && *v == s;
}
bool Empty(const std::optional<std::string>& v) {
  return !v || v->empty();
}

}  // namespace

bool PatternMatches(const std::string& pattern, const std::string& text) {
  return pattern.empty() || Match(pattern, 0, text, 0);
}

ResultSet ListTables(sqlite3* db, const std::optional<std::string>& catalog,
                     const std::optional<std::string>& schema,
                     const std::optional<std::string>& table,
                     const std::optional<std::string>& types) {
  Builder b;
  b.declared = {{"TABLE_CAT", "VARCHAR(128)"},
                {"TABLE_SCHEM", "VARCHAR(128)"},
                {"TABLE_NAME", "VARCHAR(128)"},
                {"TABLE_TYPE", "VARCHAR(128)"},
                {"REMARKS", "VARCHAR(254)"}};
  auto row = [&](Value cat, Value sch, Value name, Value type) {
    b.rs.rows.push_back(
        {std::move(cat), std::move(sch), std::move(name), std::move(type), NullValue()});
  };
  if (Is(catalog, SQL_ALL_CATALOGS) && Empty(schema) && Empty(table)) {
    return b.Done();  // there are no catalogs
  }
  if (Is(schema, SQL_ALL_SCHEMAS) && Empty(catalog) && Empty(table)) {
    for (const std::string& s : Schemas(db))
      row(NullValue(), TextValue(s), NullValue(), NullValue());
    return b.Done();
  }
  if (Is(types, SQL_ALL_TABLE_TYPES) && Empty(catalog) && Empty(schema) && Empty(table)) {
    row(NullValue(), NullValue(), NullValue(), TextValue("TABLE"));
    row(NullValue(), NullValue(), NullValue(), TextValue("VIEW"));
    return b.Done();
  }
  if (!Empty(catalog)) return b.Done();
  const std::vector<std::string> wanted = TypeList(types.value_or(""));
  std::vector<std::tuple<std::string, std::string, std::string>> found;  // type, schema, name
  for (const std::string& s : Schemas(db)) {
    if (!PatternMatches(schema.value_or(""), s)) continue;
    for (const auto& [name, type] : Tables(db, s)) {
      if (!PatternMatches(table.value_or(""), name)) continue;
      if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), type) == wanted.end()) {
        continue;
      }
      found.emplace_back(type, s, name);
    }
  }
  std::sort(found.begin(), found.end());
  for (const auto& [type, s, name] : found) {
    row(NullValue(), TextValue(s), TextValue(name), TextValue(type));
  }
  return b.Done();
}

ResultSet ListColumns(sqlite3* db, const std::optional<std::string>& schema,
                      const std::optional<std::string>& table,
                      const std::optional<std::string>& column) {
  Builder b;
  b.declared = {{"TABLE_CAT", "VARCHAR(128)"},    {"TABLE_SCHEM", "VARCHAR(128)"},
                {"TABLE_NAME", "VARCHAR(128)"},   {"COLUMN_NAME", "VARCHAR(128)"},
                {"DATA_TYPE", "SMALLINT"},        {"TYPE_NAME", "VARCHAR(128)"},
                {"COLUMN_SIZE", "INTEGER"},       {"BUFFER_LENGTH", "INTEGER"},
                {"DECIMAL_DIGITS", "SMALLINT"},   {"NUM_PREC_RADIX", "SMALLINT"},
                {"NULLABLE", "SMALLINT"},         {"REMARKS", "VARCHAR(254)"},
                {"COLUMN_DEF", "VARCHAR(254)"},   {"SQL_DATA_TYPE", "SMALLINT"},
                {"SQL_DATETIME_SUB", "SMALLINT"}, {"CHAR_OCTET_LENGTH", "INTEGER"},
                {"ORDINAL_POSITION", "INTEGER"},  {"IS_NULLABLE", "VARCHAR(3)"}};
  for (const std::string& s : Schemas(db)) {
    if (!PatternMatches(schema.value_or(""), s)) continue;
    for (const auto& t : Tables(db, s)) {
      const std::string& name = t.first;
      if (!PatternMatches(table.value_or(""), name)) continue;
      const std::string sql = "PRAGMA " + Quote(s) + ".table_info(" + Quote(name) + ")";
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) continue;
      while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string col = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        if (!PatternMatches(column.value_or(""), col)) continue;
        const unsigned char* decl = sqlite3_column_text(st, 2);
        const bool not_null = sqlite3_column_int(st, 3) != 0;
        const unsigned char* def = sqlite3_column_text(st, 4);
        ColumnInfo info;
        DescribeColumn(decl != nullptr ? reinterpret_cast<const char*>(decl) : "", info);
        const bool text = info.sql_type == SQL_VARCHAR || info.sql_type == SQL_CHAR;
        const bool timestamp = info.sql_type == SQL_TYPE_TIMESTAMP;
        b.rs.rows.push_back({
            NullValue(),
            TextValue(s),
            TextValue(name),
            TextValue(col),
            IntValue(info.sql_type),
            TextValue(info.type_name),
            IntValue(static_cast<int64_t>(info.column_size)),
            IntValue(info.octet_length),
            timestamp || text ? NullValue() : IntValue(info.decimal_digits),
            text || timestamp ? NullValue() : IntValue(info.sql_type == SQL_DOUBLE ? 2 : 10),
            IntValue(not_null ? SQL_NO_NULLS : SQL_NULLABLE),
            NullValue(),
            def != nullptr ? TextValue(reinterpret_cast<const char*>(def)) : NullValue(),
            IntValue(timestamp ? SQL_DATETIME : info.sql_type),
            timestamp ? IntValue(SQL_CODE_TIMESTAMP) : NullValue(),
            text ? IntValue(info.octet_length) : NullValue(),
            IntValue(sqlite3_column_int(st, 0) + 1),
            TextValue(not_null ? "NO" : "YES"),
        });
      }
      sqlite3_finalize(st);
    }
  }
  return b.Done();
}

}  // namespace tsqlite
