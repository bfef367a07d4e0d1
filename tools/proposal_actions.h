// Accepting and rejecting move proposals, each proposal in one transaction on
// the session's connection, which must be in manual-commit mode and is lent
// to the job's database layer, so that the staffing rows are recounted by
// the job's own code (Update_BsmSatz).
//
// Accept: the proposal is open, the person's assignment is still active,
// movable and in the slot the proposal leaves; the assignment moves to the
// joining slot (location, type, slot code, start and end, assignment type;
// working times set to the slot's start and end), the proposal is closed as
// accepted, and both staffing rows are recounted (joining slot first).
// Reject: the proposal is open; it is closed as rejected and the staffing
// rows it counted in are recounted (a row that no longer exists is left).
// Anything that fails rolls the proposal's transaction back.
#pragma once

#include <string>
#include <vector>

#include "odbc_session.h"

namespace ctl {

enum class ProposalAction { kAccept, kReject };

// Carries out `action` on the proposal `key`; true when committed, false with
// the reason in `reason` after a rollback.
bool ActOnProposal(OdbcSession& session, const std::string& schema, ProposalAction action,
                   const std::string& key, std::string& reason);

// Keys of the open proposals of a plan group, optionally only before a day
// (yyyymmdd) and of one verdict, by day and key.
struct OpenSelection {
  std::string plan_group;
  std::string before;  // empty: any day
  bool has_verdict = false;
  long verdict = 0;
};
bool SelectOpenKeys(OdbcSession& session, const std::string& schema, const OpenSelection& which,
                    std::vector<std::string>& keys, std::string& error);

}  // namespace ctl
