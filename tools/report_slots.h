// The two states of a staffing slot that the report shows side by side, and
// the per-plan-group figures built from them. "Now" classes the effective
// count (BsmIst - BsmHtg - min(BsmHtv, BsmHtn)) with the job's own error
// scan rule: 0 on target, 1601 unstaffed, 1602/1603 short below/at or above
// the minimum, 1604/1605 surplus within/above the maximum. "If accepted"
// classes the same count plus the open proposals joining (BsmOve) minus those
// leaving (BsmOva), the count the deviation figure BsmFkt is built from.
#pragma once

#include <vector>

#include "report_data.h"

namespace ctl {

int SlotClassNow(const SlotCell& cell);
long CountIfAccepted(const SlotCell& cell);
int SlotClassIfAccepted(const SlotCell& cell);

inline bool IsShortClass(int number) {
  return number >= 1601 && number <= 1603;
}
inline bool IsSurplusClass(int number) {
  return number == 1604 || number == 1605;
}

// Short now, no longer short if the proposals are accepted, but still short
// when the joining proposals with objections (verdict other than 0) are left out.
bool ClosedOnlyByObjections(const SlotCell& cell);

// Fills every figure of data.groups (a group is added for any plan group met
// in the rows) from data.slots, data.errors and the `open` proposals.
void Summarise(const std::vector<ProposalLine>& open, ReportData& data);

}  // namespace ctl
