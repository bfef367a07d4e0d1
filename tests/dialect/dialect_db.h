// An in-memory SQLite connection set up as the driver sets it up: main plus
// attached schemas "plexor" and "KvtSystem", the dialect's functions
// registered. Statements go in as T-SQL and come back as rows of texts.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/dialect.h"

namespace tsq::testing {

using Rows = std::vector<std::vector<std::string>>;
inline const std::string kNull = "<NULL>";

struct Outcome {
  bool ok = false;
  SqlError error;  // translation or execution failure
  Rows rows;
  int changes = 0;
};

class DialectDb {
 public:
  DialectDb() {
    sqlite3_open(":memory:", &db_);
    tsq::RegisterFunctions(db_);
    sqlite3_exec(db_, "ATTACH ':memory:' AS plexor; ATTACH ':memory:' AS KvtSystem", nullptr,
                 nullptr, nullptr);
  }
  ~DialectDb() { sqlite3_close(db_); }
  DialectDb(const DialectDb&) = delete;
  DialectDb& operator=(const DialectDb&) = delete;

  sqlite3* handle() const { return db_; }

  Outcome Run(const std::string& tsql) {
    Outcome outcome;
    const Translation t = Translate(tsql);
    if (!t.ok) {
      outcome.error = t.error;
      return outcome;
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, t.sqlite_sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
      outcome.error = MapError(db_, rc);
      sqlite3_finalize(stmt);
      return outcome;
    }
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        const unsigned char* text = sqlite3_column_text(stmt, c);
        row.emplace_back(text == nullptr ? kNull : reinterpret_cast<const char*>(text));
      }
      outcome.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
      outcome.error = MapError(db_, rc);
      sqlite3_finalize(stmt);
      return outcome;
    }
    sqlite3_finalize(stmt);
    outcome.changes = sqlite3_changes(db_);
    outcome.ok = true;
    return outcome;
  }

  // Runs a statement that must succeed.
  Rows Must(const std::string& tsql) {
    const Outcome outcome = Run(tsql);
    EXPECT_TRUE(outcome.ok) << tsql << "\n-> " << Translate(tsql).sqlite_sql << "\n-> "
                            << outcome.error.native << " " << outcome.error.message;
    return outcome.rows;
  }

  // The single value of a one-row, one-column query.
  std::string Value(const std::string& tsql) {
    const Rows rows = Must(tsql);
    if (rows.size() != 1 || rows[0].size() != 1) {
      ADD_FAILURE() << tsql << " gave " << rows.size() << " rows";
      return {};
    }
    return rows[0][0];
  }

  // The error of a statement that must fail.
  SqlError Error(const std::string& tsql) {
    const Outcome outcome = Run(tsql);
    EXPECT_FALSE(outcome.ok) << tsql << " succeeded";
    return outcome.error;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Fills %s, %ld and %f of `format` with `values`, in order, as the job formats its statements.
inline std::string Fill(std::string format, std::initializer_list<std::string> values) {
  std::string out;
  auto value = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    bool filled = false;
    for (std::string_view placeholder : {"%s", "%ld", "%f"}) {
      if (value != values.end() && format.compare(i, placeholder.size(), placeholder) == 0) {
        out += *value++;
        i += placeholder.size() - 1;
        filled = true;
        break;
      }
    }
    if (!filled) out += format[i];
  }
  return out;
}

}  // namespace tsq::testing
