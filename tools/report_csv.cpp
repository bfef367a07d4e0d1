#include <string>

#include "report_machine.h"
#include "report_slots.h"

namespace ctl {
namespace {

// One CSV table: a field is quoted when it holds a comma, a quote or a line
// break; lines end in CR LF.
struct Table {
  std::string text;
  bool line_start = true;
  Table& Field(const std::string& raw) {
    const std::string v = ValidUtf8(raw);
    if (!line_start) text += ',';
    line_start = false;
    if (v.find_first_of(",\"\r\n") == std::string::npos) {
      text += v;
    } else {
      text += '"';
      for (char c : v) text += c == '"' ? std::string("\"\"") : std::string(1, c);
      text += '"';
    }
    return *this;
  }
  Table& Int(long v) { return Field(std::to_string(v)); }
  Table& Fields(std::initializer_list<const char*> names) {
    for (const char* n : names) Field(n);
    return *this;
  }
  void End() {
    text += "\r\n";
    line_start = true;
  }
};

void Slot(Table& t, const SlotRef& s) {
  t.Field(s.eso).Field(s.esa).Int(s.von).Int(s.bis).Int(s.asw);
}

// "1511:2 1531:1"
std::string Counts(const std::map<long, long>& counts) {
  std::string s;
  for (const auto& [number, count] : counts) {
    if (!s.empty()) s += ' ';
    s += std::to_string(number) + ":" + std::to_string(count);
  }
  return s;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ReportCsv(const ReportData& d, Language language) {
  Table slots;
  slots
      .Fields({"plan_group", "date", "location", "type", "slot_code", "begin", "end", "asw",
               "target", "min", "max", "count_now", "class_now", "open_out", "open_in",
               "count_if_accepted", "class_if_accepted"})
      .End();
  for (const SlotCell& c : d.slots) {
    slots.Field(c.plg).Field(IsoDay(c.day)).Field(c.slot.eso).Field(c.slot.esa).Field(c.slot.bsz);
    slots.Int(c.slot.von).Int(c.slot.bis).Int(c.slot.asw).Int(c.sol).Int(c.min).Int(c.max);
    slots.Int(c.effective).Int(SlotClassNow(c)).Int(c.leaving).Int(c.joining);
    slots.Int(CountIfAccepted(c)).Int(SlotClassIfAccepted(c)).End();
  }

  Table proposals;
  proposals
      .Fields({"key", "plan_group", "date", "person", "from_location", "from_type", "from_begin",
               "from_end", "from_asw", "to_location", "to_type", "to_begin", "to_end", "to_asw",
               "verdict", "verdict_text", "created", "status"})
      .End();
  for (const ProposalLine& p : d.proposals) {
    proposals.Field(p.key).Field(p.plg).Field(IsoDay(p.day)).Field(p.pnr);
    Slot(proposals, p.from);
    Slot(proposals, p.to);
    proposals.Int(p.fnr).Field(VerdictReading(p.fnr, language)).Field(p.created);
    proposals.Field(ProposalStatusWord(p.status, "other")).End();
  }

  Table errors;
  errors
      .Fields({"plan_group", "date", "location", "type", "begin", "end", "number", "text",
               "run_user", "job_text_1", "job_text_2"})
      .End();
  for (const ErrorLine& e : d.errors) {
    errors.Field(e.plg).Field(IsoDay(e.day)).Field(e.slot.eso).Field(e.slot.esa);
    errors.Int(e.slot.von).Int(e.slot.bis).Int(e.fnr).Field(VerdictReading(e.fnr, language));
    errors.Field(e.user).Field(e.job_text_1).Field(e.job_text_2).End();
  }

  Table summary;
  summary
      .Fields({"plan_group", "text", "run_begin", "slots", "short_now", "short_if_accepted",
               "surplus_now", "surplus_if_accepted", "closed_only_by_objections", "open_proposals",
               "open_proposals_by_verdict", "error_rows", "error_rows_by_number"})
      .End();
  for (const GroupSummary& g : d.groups) {
    summary.Field(g.plg).Field(g.text).Field(g.run_begin).Int(g.slots).Int(g.short_slots);
    summary.Int(g.short_after).Int(g.surplus_slots).Int(g.surplus_after);
    summary.Int(g.closed_by_objections).Int(g.proposals).Field(Counts(g.by_verdict));
    summary.Int(g.errors).Field(Counts(g.errors_by_number)).End();
  }
  return {{"slots", slots.text},
          {"proposals", proposals.text},
          {"errors", errors.text},
          {"summary", summary.text}};
}

}  // namespace ctl
