// Status numbers of a move proposal (BdkSta). The job records every proposal
// open; plexorctl proposals closes it as accepted or rejected.
#pragma once

#include <string>

namespace ctl {

constexpr long kProposalOpen = 9;
constexpr long kProposalAccepted = 1;
constexpr long kProposalRejected = 2;

// "open", "accepted", "rejected", or the number itself for any other status.
inline std::string ProposalStatusName(long status) {
  switch (status) {
    case kProposalOpen:
      return "open";
    case kProposalAccepted:
      return "accepted";
    case kProposalRejected:
      return "rejected";
    default:
      return std::to_string(status);
  }
}

}  // namespace ctl
