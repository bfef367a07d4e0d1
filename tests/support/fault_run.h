// Runs a program with the embedded database failing on purpose (the library
// in tests/fault/shim preloaded), and what the fault tests need around it: a
// second data source over a copy of a test database, the events to fail, and
// the files' integrity afterwards.
#pragma once

#include <string>
#include <vector>

#include "support/test_db.h"

namespace ft {

struct FaultPlan {
  std::string kind;      // "io", "malloc", or empty to count only
  long at = 0;           // the 1-based event that fails
  bool persist = false;  // every event from `at` on fails
};

// What the preloaded library counted in the process.
struct FaultReport {
  bool read = false;  // false: the process left no report (it did not exit normally)
  long io = 0, malloc = 0, injected = 0, open_files = 0, live_allocations = 0;
  std::string first_failed;  // the operation that failed first ("none")
};

// Runs `argv` in `cwd` under `plan`; the exit status (-1 when killed after
// `timeout_seconds` or ended by a signal), standard output in `out`.
int RunUnderFaults(const std::vector<std::string>& argv, const std::string& cwd,
                   const FaultPlan& plan, std::string* out, FaultReport* report,
                   int timeout_seconds = 60);

// Environment entries ("NAME=value") that preload the library with its clock
// fixed at `seconds` since 1970, for processes started otherwise.
std::vector<std::string> FixedClockEnvironment(long seconds);

// The events to fail out of `events`: the first `first` ones and `spread`
// more at even steps over the rest. For longer runs by hand:
// PLEXOR_FAULT_SAMPLES=n makes both n, PLEXOR_FAULT_ALL=1 takes every event.
std::vector<long> Sample(long events, long first, long spread);

// A data source "<dsn>_f" next to the one of `db`, over the directory
// <db dir>/faultdb, and a job configuration file for it. Result: the
// configuration file's path.
std::string AddFaultDataSource(const ts::TestDb& db);
std::string FaultDir(const ts::TestDb& db);

// Replaces the .sqlite files of `to` by consistent copies of those of `from`.
void CopyDatabase(const std::string& from, const std::string& to);

// PRAGMA integrity_check of every .sqlite file in `dir`: empty when all say
// "ok", else what they say.
std::string IntegrityProblems(const std::string& dir);

// The rows of a query on one database file, as texts ("NULL" for NULL).
std::vector<std::vector<std::string>> QueryFile(const std::string& path, const std::string& sql);

}  // namespace ft
