// libFuzzer target: the T-SQL translation (tokenizer, rewriter, DDL). Every
// input is translated; a translation that succeeds is prepared on a database
// holding the job's tables, and a read-only one is run for a bounded number
// of steps, so that the SQL functions it calls see the values it passes. An
// input "A\x03B" also matches B against the shape of A (see MatchShape).
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>

#include "dialect/dialect.h"
#include "dialect/parameterise.h"

namespace {

int StopLongRuns(void*) {
  return 1;
}

void CreateSchema(sqlite3* db) {
  std::ifstream in(PLEXOR_SOURCE_DIR "/sql/schema.sql");
  std::stringstream text;
  text << in.rdbuf();
  const std::string script =
      std::regex_replace(text.str(), std::regex(R"(\$\(SCHEMA\))"), "plexor");
  std::istringstream lines(script);
  std::string line, batch;
  while (std::getline(lines, line)) {
    if (line != "GO") {
      batch += line + "\n";
      continue;
    }
    const tsq::Translation t = tsq::Translate(batch);
    batch.clear();
    if (t.ok && t.kind == tsq::StatementKind::kCreateSchema) {
      const std::string attach = "ATTACH ':memory:' AS " + t.schema;
      sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr);
    } else if (t.ok) {
      sqlite3_exec(db, t.sqlite_sql.c_str(), nullptr, nullptr, nullptr);
    }
  }
}

sqlite3* Database() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open(":memory:", &d);
    tsq::RegisterFunctions(d);
    CreateSchema(d);
    sqlite3_progress_handler(d, 10000, StopLongRuns, nullptr);
    return d;
  }();
  return db;
}

// Input "A\x03B": B matched against the shape of A must give what the scan
// of B gives.
void CheckShapeMatch(std::string_view input) {
  const size_t split = input.find('\x03');
  if (split == std::string_view::npos) return;
  tsq::ShapedStatement known, matched, scanned;
  if (!tsq::ShapeStatement(input.substr(0, split), known)) return;
  const std::string_view text = input.substr(split + 1);
  if (!tsq::MatchShape(known.key, text, matched)) return;
  if (!tsq::ShapeStatement(text, scanned) || scanned.key != known.key ||
      scanned.literals != matched.literals) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view tsql(reinterpret_cast<const char*>(data), size);
  CheckShapeMatch(tsql);
  const tsq::Translation t = tsq::Translate(tsql);
  if (!t.ok) {
    if (t.error.native == 0 || t.error.sqlstate.size() != 5) __builtin_trap();
    return 0;
  }
  if (t.kind == tsq::StatementKind::kCreateSchema) return 0;
  sqlite3* db = Database();
  sqlite3_stmt* st = nullptr;
  const int rc = sqlite3_prepare_v2(db, t.sqlite_sql.c_str(), -1, &st, nullptr);
  if (rc != SQLITE_OK) {
    const tsq::SqlError e = tsq::MapError(db, rc);
    if (e.native == 0 || e.sqlstate.size() != 5) __builtin_trap();
  } else if (st != nullptr && sqlite3_stmt_readonly(st)) {
    int step = SQLITE_ROW;
    for (int rows = 0; rows < 100 && step == SQLITE_ROW; ++rows) step = sqlite3_step(st);
    if (step != SQLITE_DONE && step != SQLITE_ROW) {
      const tsq::SqlError e = tsq::MapError(db, step);
      if (e.native == 0 || e.sqlstate.size() != 5) __builtin_trap();
    }
  }
  sqlite3_finalize(st);
  return 0;
}
