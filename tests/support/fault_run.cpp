#include "support/fault_run.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_writer.h"

namespace fs = std::filesystem;

namespace ft {
namespace {

void SetOrClear(const char* name, const std::string& value) {
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
}

FaultReport ReadReport(const std::string& path) {
  FaultReport r;
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) return r;
  char first[32] = {0};
  r.read =
      std::sscanf(line.c_str(),
                  "io=%ld malloc=%ld injected=%ld open_files=%ld live_allocations=%ld "
                  "first=%31s",
                  &r.io, &r.malloc, &r.injected, &r.open_files, &r.live_allocations, first) == 6;
  r.first_failed = first;
  return r;
}

std::string AsanOptionsForPreload() {
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string before = asan != nullptr ? asan : "";
  // Preloaded ahead of the sanitizer runtime in a sanitizer build.
  return before + (before.empty() ? "" : ":") + "verify_asan_link_order=0";
}

}  // namespace

std::vector<std::string> FixedClockEnvironment(long seconds) {
  return {"LD_PRELOAD=" PLEXOR_FAULT_LIB, "PLEXOR_FIXED_CLOCK=" + std::to_string(seconds),
          "ASAN_OPTIONS=" + AsanOptionsForPreload()};
}

int RunUnderFaults(const std::vector<std::string>& argv, const std::string& cwd,
                   const FaultPlan& plan, std::string* out, FaultReport* report,
                   int timeout_seconds) {
  const std::string report_path = cwd + "/fault_report.txt";
  fs::remove(report_path);
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string asan_before = asan != nullptr ? asan : "";
  SetOrClear("ASAN_OPTIONS", AsanOptionsForPreload());
  setenv("LD_PRELOAD", PLEXOR_FAULT_LIB, 1);
  SetOrClear("PLEXOR_FAULT_KIND", plan.kind);
  setenv("PLEXOR_FAULT_AT", std::to_string(plan.at).c_str(), 1);
  SetOrClear("PLEXOR_FAULT_PERSIST", plan.persist ? "1" : "");
  setenv("PLEXOR_FAULT_REPORT", report_path.c_str(), 1);
  const int rc = ts::RunProcess(argv, cwd, out, timeout_seconds);
  for (const char* name : {"LD_PRELOAD", "PLEXOR_FAULT_KIND", "PLEXOR_FAULT_AT",
                           "PLEXOR_FAULT_PERSIST", "PLEXOR_FAULT_REPORT"}) {
    unsetenv(name);
  }
  SetOrClear("ASAN_OPTIONS", asan_before);
  if (report != nullptr) *report = ReadReport(report_path);
  return rc;
}

std::vector<long> Sample(long events, long first, long spread) {
  const char* all = std::getenv("PLEXOR_FAULT_ALL");
  const char* samples = std::getenv("PLEXOR_FAULT_SAMPLES");
  std::vector<long> out;
  if (samples != nullptr && first > 0) first = spread = std::strtol(samples, nullptr, 10);
  if (all != nullptr && std::string(all) == "1") first = events;
  for (long n = 1; n <= events && n <= first; ++n) out.push_back(n);
  const long rest = events - first;
  for (long i = 1; rest > 0 && i <= spread; ++i) {
    const long n = first + rest * i / (spread + 1);
    if (out.empty() || n > out.back()) out.push_back(n);
  }
  return out;
}

std::string FaultDir(const ts::TestDb& db) {
  return db.dir() + "/faultdb";
}

std::string AddFaultDataSource(const ts::TestDb& db) {
  fs::create_directories(FaultDir(db));
  const std::string dsn = db.dsn() + "_f";
  std::ofstream ini(db.dir() + "/odbc/odbc.ini", std::ios::app);
  ini << "\n[" << dsn << "]\nDriver=TSQLite\nDatabase=" << FaultDir(db)
      << "\nUser=plexor\nPassword=secret\nBusyTimeout=200\n";
  const std::string config = db.dir() + "/fault.cfg";
  EXPECT_TRUE(Konfig_Schreiben(config, dsn, "plexor", "plexor", "secret"));
  return config;
}

void CopyDatabase(const std::string& from, const std::string& to) {
  for (const auto& entry : fs::directory_iterator(to)) fs::remove(entry.path());
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.path().extension() != ".sqlite") continue;
    sqlite3* src = nullptr;
    sqlite3* dst = nullptr;
    sqlite3_open_v2(entry.path().c_str(), &src, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open((to + "/" + entry.path().filename().string()).c_str(), &dst);
    sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
    ASSERT_NE(b, nullptr) << sqlite3_errmsg(dst);
    EXPECT_EQ(sqlite3_backup_step(b, -1), SQLITE_DONE);
    sqlite3_backup_finish(b);
    sqlite3_close(dst);
    sqlite3_close(src);
  }
}

std::vector<std::vector<std::string>> QueryFile(const std::string& path, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3* db = nullptr;
  // Read-write: a write-ahead log left behind is recovered as the next
  // connection would recover it.
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
  }
  while (st != nullptr && sqlite3_step(st) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      const unsigned char* text = sqlite3_column_text(st, c);
      row.push_back(text != nullptr ? reinterpret_cast<const char*>(text) : "NULL");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

std::string IntegrityProblems(const std::string& dir) {
  std::string problems;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".sqlite") continue;
    for (const auto& row : QueryFile(entry.path().string(), "PRAGMA integrity_check")) {
      if (row[0] != "ok") problems += entry.path().filename().string() + ": " + row[0] + "\n";
    }
  }
  return problems;
}

}  // namespace ft
