// tsqlite_replay RECORD DIR: runs the statements that the driver recorded
// (TSQLITE_RECORD) with SQLite alone on the schema files of DIR, one compiled
// statement per distinct statement text, every row read, each statement
// committed. It prints how many statements and texts it ran: the floor of
// what the driver can cost for the same work.
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "dialect/dialect.h"

namespace {

bool ReadLine(std::FILE* f, std::string& line) {
  line.clear();
  int c;
  while ((c = getc_unlocked(f)) != EOF && c != '\n') line += static_cast<char>(c);
  return c != EOF || !line.empty();
}

bool ReadBytes(std::FILE* f, size_t n, std::string& out) {
  out.resize(n);
  if (n > 0 && std::fread(out.data(), 1, n, f) != n) return false;
  return getc_unlocked(f) == '\n';
}

int Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "tsqlite_replay: %s%s\n", what, detail.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: tsqlite_replay RECORD DIR", "");
  std::FILE* f = std::fopen(argv[1], "rb");
  if (f == nullptr) return Fail("cannot read ", argv[1]);
  // The record is read in large pieces: reading it is not SQLite's work.
  static char buffer[1 << 20];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  sqlite3* db = nullptr;
  // Opened as the driver opens its connections: one thread per connection,
  // so SQLite need not lock the connection on every call.
  if (sqlite3_open_v2(":memory:", &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    return Fail("cannot open SQLite", "");
  }
  sqlite3_busy_timeout(db, 5000);
  tsq::RegisterFunctions(db);
  for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
    if (entry.path().extension() != ".sqlite") continue;
    // Attached as the driver attaches them: write-ahead log, normal syncing.
    const std::string name = "\"" + entry.path().stem().string() + "\"";
    const std::string sql = "ATTACH '" + entry.path().string() + "' AS " + name + "; PRAGMA " +
                            name + ".journal_mode=WAL; PRAGMA " + name + ".synchronous=NORMAL";
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
      return Fail("cannot attach ", entry.path().string());
    }
  }
  std::unordered_map<std::string, sqlite3_stmt*> compiled;
  std::string line, sql, text;
  long statements = 0, failed = 0;
  volatile long long sink = 0;
  while (ReadLine(f, line)) {
    if (line.size() < 3 || line[0] != 'Q') return Fail("bad record: ", line);
    if (!ReadBytes(f, std::strtoul(line.c_str() + 2, nullptr, 10), sql)) return Fail("cut", "");
    if (!ReadLine(f, line)) return Fail("cut", "");
    const size_t params = std::strtoul(line.c_str(), nullptr, 10);
    sqlite3_stmt*& st = compiled[sql];
    if (st == nullptr && sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &st,
                                            nullptr) != SQLITE_OK) {
      return Fail("does not compile: ", sql);
    }
    for (size_t i = 1; i <= params; ++i) {
      if (!ReadLine(f, line) || line.size() < 2) return Fail("cut", "");
      const int n = static_cast<int>(i);
      if (line[0] == 'i') {
        sqlite3_bind_int64(st, n, std::strtoll(line.c_str() + 2, nullptr, 10));
      } else if (line[0] == 'r') {
        sqlite3_bind_double(st, n, std::strtod(line.c_str() + 2, nullptr));
      } else {
        if (!ReadBytes(f, std::strtoul(line.c_str() + 2, nullptr, 10), text))
          return Fail("cut", "");
        sqlite3_bind_text(st, n, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      }
    }
    int rc;
    const int columns = sqlite3_column_count(st);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(st, c)) {
          case SQLITE_INTEGER:
            sink = sink + sqlite3_column_int64(st, c);
            break;
          case SQLITE_FLOAT:
            sink = sink + static_cast<long long>(sqlite3_column_double(st, c));
            break;
          case SQLITE_NULL:
            break;
          default:
            sink = sink + sqlite3_column_bytes(st, c);
        }
      }
    }
    if (rc != SQLITE_DONE && ++failed <= 3) {
      std::fprintf(stderr, "tsqlite_replay: failed (%s): %s\n", sqlite3_errmsg(db), sql.c_str());
    }
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    ++statements;
  }
  std::printf("statements %ld\nshapes %zu\nfailed %ld\n", statements, compiled.size(), failed);
  for (auto& [text_of, st] : compiled) sqlite3_finalize(st);
  sqlite3_close(db);
  std::fclose(f);
  return 0;
}
