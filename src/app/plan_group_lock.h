// One optimisation pass per plan group at a time on this machine. Before a
// plan group's pass the job takes an exclusive advisory lock (flock) on a file
// named after the data source, the schema and the plan group, in the
// system's lock folder (/run/lock, else /tmp). The operating system drops the
// lock when the process ends, so a killed run never blocks the next one.
// Runs of different plan groups never wait for each other; runs on different
// machines against one server are not kept apart by this.
#pragma once

#include <string>
#include <string_view>

#include "common/run_context.h"
#include "errlog/error_record.h"

// A taken lock; owns the open file descriptor (-1 when none).
struct PlanGroupLock {
  int fd = -1;
  std::string path;
};

enum class LockResult {
  kTaken,        // the lock is this process's until UnlockPlanGroup
  kHeld,         // another process holds it
  kUnavailable,  // no lock file could be opened or locked
};

// The lock file's path; every character of the three names other than a
// letter, a digit, '_' and '-' is written as %XX, so different names never
// share a file.
std::string PlanGroupLockPath(std::string_view dsn, std::string_view schema,
                              std::string_view plan_group);

// Takes the lock without waiting.
LockResult LockPlanGroup(std::string_view dsn, std::string_view schema, std::string_view plan_group,
                         PlanGroupLock& lock);

// Removes the lock file and releases the lock; a no-op for a lock not taken.
void UnlockPlanGroup(PlanGroupLock& lock);

// Einsatzplan_Optimieren under the plan group's lock for the connected data
// source and the configured schema. A plan group that another run is
// optimising is skipped with the line "-Fehler: Einsatzplan_Optimieren()
// Plangruppe wird bereits optimiert! PLG: %s". When no lock file can be made
// the pass runs all the same, as it did before there was a lock.
void Einsatzplan_Optimieren_Allein(RunContext& ctx, const char* plan_group, const char* location,
                                   const char* deployment_type, ErrSatz& err);
