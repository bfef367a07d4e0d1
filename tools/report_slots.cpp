#include "report_slots.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "errlog/slot_error.h"

namespace ctl {
namespace {

int32_t Clamp32(long long v) {
  return static_cast<int32_t>(std::clamp<long long>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The staffing row as the error scan reads it, with `ist` as its BsmIst.
BsmRow RowOf(const SlotCell& c, long long ist) {
  BsmRow row;
  row.BsmSol = Clamp32(c.sol);
  row.BsmMin = Clamp32(c.min);
  row.BsmMax = Clamp32(c.max);
  row.BsmIst = Clamp32(ist);
  row.BsmHtg = Clamp32(c.htg);
  row.BsmHtv = Clamp32(c.htv);
  row.BsmHtn = Clamp32(c.htn);
  return row;
}

GroupSummary& GroupOf(ReportData& d, const std::string& plg) {
  for (auto& g : d.groups) {
    if (g.plg == plg) return g;
  }
  d.groups.push_back(GroupSummary{});
  d.groups.back().plg = plg;
  return d.groups.back();
}

}  // namespace

int SlotClassNow(const SlotCell& c) {
  return SlotErrorNumber(RowOf(c, c.ist));
}

long CountIfAccepted(const SlotCell& c) {
  return c.effective + c.joining - c.leaving;
}

int SlotClassIfAccepted(const SlotCell& c) {
  return SlotErrorNumber(RowOf(c, static_cast<long long>(c.ist) + c.joining - c.leaving));
}

bool ClosedOnlyByObjections(const SlotCell& c) {
  if (!IsShortClass(SlotClassNow(c)) || IsShortClass(SlotClassIfAccepted(c))) return false;
  SlotCell without = c;
  without.joining -= std::min(c.objections_in, c.joining);
  return IsShortClass(SlotClassIfAccepted(without));
}

void Summarise(const std::vector<ProposalLine>& open, ReportData& d) {
  for (GroupSummary& g : d.groups) {
    GroupSummary fresh;
    fresh.plg = g.plg;
    fresh.text = g.text;
    fresh.run_begin = g.run_begin;
    g = fresh;
  }
  for (const SlotCell& c : d.slots) {
    GroupSummary& g = GroupOf(d, c.plg);
    const int now = SlotClassNow(c), after = SlotClassIfAccepted(c);
    ++g.slots;
    g.short_slots += IsShortClass(now);
    g.surplus_slots += IsSurplusClass(now);
    g.short_after += IsShortClass(after);
    g.surplus_after += IsSurplusClass(after);
    g.closed_by_objections += ClosedOnlyByObjections(c);
  }
  for (const ProposalLine& p : open) {
    GroupSummary& g = GroupOf(d, p.plg);
    ++g.proposals;
    ++g.by_verdict[p.fnr];
  }
  for (const ErrorLine& e : d.errors) {
    GroupSummary& g = GroupOf(d, e.plg);
    ++g.errors;
    ++g.errors_by_number[e.fnr];
    g.runs.insert({e.user, e.job_text_1, e.job_text_2});
  }
}

}  // namespace ctl
