// plexorctl proposals list: the move proposals that match a filter, as an
// aligned text table or as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "odbc_session.h"
#include "report_data.h"
#include "verdicts.h"

namespace ctl {

struct ProposalFilter {
  std::string plan_group;       // empty: all
  std::string from, to;         // yyyymmdd, empty: open-ended
  std::optional<long> verdict;  // BdkFnr
  std::optional<long> status;   // BdkSta; none: every status
};

// One proposal as listed; day yyyymmdd, created yyyy-mm-dd hh:mm:ss.
struct ProposalEntry {
  std::string key, day, person, plan_group, created;
  SlotRef from, to;
  long verdict = 0;
  long status = 0;
};

// Reads the proposals of `filter`, ordered by plan group, day and key.
bool ReadProposals(OdbcSession& session, const std::string& schema, const ProposalFilter& filter,
                   std::vector<ProposalEntry>& out, std::string& error);

std::string ProposalsText(const std::vector<ProposalEntry>& lines, Language language);
std::string ProposalsJson(const std::vector<ProposalEntry>& lines, Language language);

}  // namespace ctl
