// A generated roster for whole-run tests: plan groups 00001.. (one level
// each, cycling 1, 2, 3), two locations, two deployment types and three days,
// slots and persons drawn from a seeded generator. Also what such tests start
// and check: a job started without waiting for it, and the state every run
// must leave behind, finished or killed.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "move_roster.h"
#include "support/test_db.h"

namespace gr {

struct GeneratedAssignment {
  std::string pnr, plg, eso, esa, date;
  int szv, asw;
  bool movable;  // the sweep may take this person
};

struct GeneratedRoster {
  std::string first_day, last_day;
  std::map<std::string, int> levels;  // plan group -> PlgOpl
  std::vector<GeneratedAssignment> assignments;
};

GeneratedRoster Generate(ts::TestDb& db, unsigned seed = 20261208, int plan_groups = 3);

// Points the driver manager at the data sources of `db`: every TestDb sets
// them for the whole process when it is made, so with two of them alive the
// later one wins until this is called.
void UseDataSourcesOf(const ts::TestDb& db);

// Starts the job with `args` in the database's working directory, standard
// output discarded, with the environment entries ("NAME=value") added.
// Result: the process id, or -1.
pid_t StartJob(const ts::TestDb& db, const ts::RunArgs& args,
               const std::vector<std::string>& environment = {});
// Waits for a started job; its exit status, or -1 when it had to be killed
// after `timeout_seconds` or did not exit normally.
int WaitJob(pid_t pid, int timeout_seconds = 300);

// An open proposal as the tests compare them: everything but key and time.
using ProposalFacts = std::vector<std::string>;
std::vector<ProposalFacts> OpenProposals(ts::TestDb& db);

// PRAGMA integrity_check of every database file ("ok" each), keys unique, no
// assignment with two open proposals, no plan group still marked as being
// optimised, and every staffing row recounted at or after `written_since`
// (yyyy-mm-dd hh:mm:ss) equal to its recount.
void ExpectConsistent(ts::TestDb& db, const std::string& written_since);

// The stored figures of `slot` equal those a recount gives.
void ExpectRecounted(ts::TestDb& db, const mv::StoredSlot& slot);

}  // namespace gr
