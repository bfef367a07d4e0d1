#include "demo_data.h"

#include <cstdio>

#include "db/sql_text.h"

namespace ctl {

const DemoTable* DemoDatabase::Find(const std::string& name) const {
  for (const auto& t : tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

std::string SqlLiteral(const SqlValue& v) {
  switch (v.kind) {
    case SqlValue::Kind::kNull:
      return "NULL";
    case SqlValue::Kind::kInt:
      return std::to_string(v.i);
    case SqlValue::Kind::kReal: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%f", v.d);
      return buf;
    }
    case SqlValue::Kind::kText:
      return "'" + db::EscapeSqlText(v.s) + "'";
    case SqlValue::Kind::kDate:
      return "convert(datetime, '" + db::EscapeSqlText(v.s) + "', 112)";
    case SqlValue::Kind::kDateTime:
      return "convert(datetime, '" + db::EscapeSqlText(v.s) + "', 120)";
  }
  return "NULL";
}

std::vector<std::string> InsertStatements(const DemoDatabase& db, const std::string& schema) {
  std::vector<std::string> out;
  for (const auto& t : db.tables) {
    std::string head = "INSERT INTO " + (t.system_schema ? std::string("KvtSystem") : schema) +
                       "." + t.name + " (";
    for (size_t c = 0; c < t.columns.size(); ++c) head += (c ? ", " : "") + t.columns[c];
    head += ") VALUES (";
    for (const auto& row : t.rows) {
      std::string sql = head;
      for (size_t c = 0; c < row.size(); ++c) sql += (c ? ", " : "") + SqlLiteral(row[c]);
      sql += ")";
      out.push_back(std::move(sql));
    }
  }
  return out;
}

}  // namespace ctl
