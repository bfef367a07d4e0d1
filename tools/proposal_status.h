// Status numbers of a move proposal (BdkSta). The job records every proposal
// open; plexorctl proposals closes it as accepted or rejected.
#pragma once

#include <string>

namespace ctl {

constexpr long kProposalOpen = 9;
constexpr long kProposalAccepted = 1;
constexpr long kProposalRejected = 2;
// Not a status: "every status" where a filter takes one.
constexpr long kAnyStatus = -1;

// The status of the word open, accepted or rejected, or kAnyStatus for all;
// false for any other word.
inline bool ProposalStatusOf(const std::string& word, long& status) {
  if (word == "open") status = kProposalOpen;
  if (word == "accepted") status = kProposalAccepted;
  if (word == "rejected") status = kProposalRejected;
  if (word == "all") status = kAnyStatus;
  return word == "open" || word == "accepted" || word == "rejected" || word == "all";
}

// "open", "accepted", "rejected", or `other` for any other status.
inline const char* ProposalStatusWord(long status, const char* other) {
  switch (status) {
    case kProposalOpen:
      return "open";
    case kProposalAccepted:
      return "accepted";
    case kProposalRejected:
      return "rejected";
    default:
      return other;
  }
}

// "open", "accepted", "rejected", or the number itself for any other status.
inline std::string ProposalStatusName(long status) {
  const char* word = ProposalStatusWord(status, nullptr);
  return word != nullptr ? word : std::to_string(status);
}

}  // namespace ctl
