#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "report_format.h"

namespace ctl {
namespace {

std::string Slot(const SlotRef& s) {
  return s.eso + "/" + s.esa + " " + s.bsz + " " + ClockText(s.von) + "-" + ClockText(s.bis);
}

// Pads to `width` characters (UTF-8 continuation bytes take no column).
std::string Pad(std::string s, size_t width) {
  size_t shown = 0;
  for (unsigned char c : s) shown += (c & 0xc0) != 0x80;
  if (shown < width) s.append(width - shown, ' ');
  return s;
}

struct Words {
  const char* title;
  const char* schema;
  const char* group;
  const char* all;
  const char* period;
  const char* proposals[4];  // open, accepted, rejected, all
  const char* errors;
  const char* per_group;
  const char* none;
  const char* head_proposals[6];
  const char* head_errors[4];
  const char* head_groups[8];
  const char* legend;  // defines every figure of the summary, one line each
};

const Words& WordsFor(Language language) {
  static const Words german = {
      "Plexor - Bericht des Optimierungslaufs",
      "Schema",
      "Plangruppe",
      "alle",
      "Zeitraum",
      {"Offene Umbesetzungsvorschläge", "Angenommene Umbesetzungsvorschläge",
       "Abgelehnte Umbesetzungsvorschläge", "Alle Umbesetzungsvorschläge"},
      "Verbleibende Besetzungsfehler",
      "Je Plangruppe",
      "  (keine)",
      {"Plangr.", "Tag", "Person", "von", "nach", "Befund"},
      {"Plangr.", "Tag", "Dienst", "Fehler"},
      {"Plangr.", "Bezeichnung", "unterb.", "überb.", "Vorschl.", "Befunde", "Fehler",
       "Fehlernummern"},
      "unterb., überb.: Dienste unter dem Soll (1601-1603), über dem Soll (1604-1605);\n"
      "  jetzt/nach Annahme der offenen Vorschläge\n"
      "Vorschl.: offene Vorschläge; Befunde: davon je Befund (Befund:Anzahl)\n"
      "Fehler: Fehlerzeilen; Fehlernummern: davon je Fehlernummer (Nummer:Anzahl)\n"};
  static const Words english = {
      "Plexor - report of the optimisation run",
      "Schema",
      "Plan group",
      "all",
      "Period",
      {"Open move proposals", "Accepted move proposals", "Rejected move proposals",
       "All move proposals"},
      "Remaining staffing errors",
      "Per plan group",
      "  (none)",
      {"Group", "Day", "Person", "from", "to", "Verdict"},
      {"Group", "Day", "Slot", "Error"},
      {"Group", "Name", "short", "surplus", "Propos.", "Verdicts", "Errors", "Numbers"},
      "short, surplus: slots below target (1601-1603), above target (1604-1605);\n"
      "  now/if the open proposals are accepted\n"
      "Propos.: open proposals; Verdicts: of them per verdict (verdict:count)\n"
      "Errors: error rows; Numbers: of them per error number (number:count)\n"};
  return language == Language::kGerman ? german : english;
}

const char* const kStatusGerman[] = {"offen", "angenommen", "abgelehnt", "Status"};

int StatusIndex(long status) {
  switch (status) {
    case kProposalOpen:
      return 0;
    case kProposalAccepted:
      return 1;
    case kProposalRejected:
      return 2;
    default:
      return 3;
  }
}

// "1511:2 1531:1", or "-" when there is none.
std::string Counts(const std::map<long, long>& counts) {
  std::string text;
  for (const auto& [number, count] : counts) {
    if (!text.empty()) text += " ";
    text += std::to_string(number) + ":" + std::to_string(count);
  }
  return text.empty() ? "-" : text;
}

std::string NowAfter(long now, long after) {
  return std::to_string(now) + "/" + std::to_string(after);
}

}  // namespace

std::string ReportText(const ReportData& d, Language language, bool umlauts) {
  const Words& w = WordsFor(language);
  const bool fold = language == Language::kGerman && !umlauts;
  auto T = [fold](const std::string& s) { return fold ? AsciiFold(s) : s; };
  auto Head = [&](const char* const* labels, std::initializer_list<size_t> widths) {
    std::string line;
    size_t i = 0;
    for (size_t width : widths) line += Pad(T(labels[i++]), width);
    return line + T(labels[i]) + "\n";
  };
  std::string out;
  out += w.title;
  out += "\n";
  out += std::string(w.schema) + ": " + d.schema + "   " + w.group + ": " +
         (d.plan_group.empty() ? std::string(w.all) : d.plan_group) + "   " + w.period + ": " +
         DayText(d.from) + " - " + DayText(d.to) + "\n\n";

  const int listed = d.status == kAnyStatus ? 3 : StatusIndex(d.status);
  out += T(w.proposals[listed]) + " (" + std::to_string(d.proposals.size()) + ")\n";
  if (d.proposals.empty()) {
    out += std::string(w.none) + "\n";
  } else {
    out += Head(w.head_proposals, {9, 12, 10, 28, 28});
    for (const auto& p : d.proposals) {
      out += Pad(p.plg, 9) + Pad(DayText(p.day), 12) + Pad(p.pnr, 10) + Pad(Slot(p.from), 28) +
             Pad(Slot(p.to), 28) + std::to_string(p.fnr) + " " + T(VerdictReading(p.fnr, language));
      if (d.status != kProposalOpen) {
        const int s = StatusIndex(p.status);
        std::string name = language == Language::kGerman ? kStatusGerman[s]
                                                         : ProposalStatusWord(p.status, "other");
        if (s == 3) name += " " + std::to_string(p.status);
        out += " [" + name + "]";
      }
      out += "\n";
    }
  }
  out += "\n";

  out += std::string(w.errors) + " (" + std::to_string(d.errors.size()) + ")\n";
  if (d.errors.empty()) {
    out += std::string(w.none) + "\n";
  } else {
    out += Head(w.head_errors, {9, 12, 28});
    for (const auto& e : d.errors) {
      out += Pad(e.plg, 9) + Pad(DayText(e.day), 12) + Pad(Slot(e.slot), 28) +
             std::to_string(e.fnr) + " " + T(VerdictReading(e.fnr, language)) + "\n";
    }
  }
  out += "\n";

  // Proposals are the open ones; short and surplus class the slots as the
  // error scan does, now and if the open proposals are accepted.
  std::vector<std::string> verdicts, numbers;
  size_t verdicts_width = std::string(w.head_groups[5]).size() + 2;  // ASCII
  for (const auto& g : d.groups) {
    verdicts.push_back(Counts(g.by_verdict));
    numbers.push_back(Counts(g.errors_by_number));
    verdicts_width = std::max(verdicts_width, verdicts.back().size() + 2);
  }
  out +=
      std::string(w.per_group) + "\n" + Head(w.head_groups, {9, 32, 9, 9, 10, verdicts_width, 8});
  for (size_t i = 0; i < d.groups.size(); ++i) {
    const GroupSummary& g = d.groups[i];
    std::string name = g.text;
    if (name.size() > 30) {
      size_t cut = 30;  // not inside a UTF-8 sequence
      while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xc0) == 0x80) --cut;
      name.resize(cut);
    }
    out += Pad(g.plg, 9) + Pad(T(name), 32) + Pad(NowAfter(g.short_slots, g.short_after), 9) +
           Pad(NowAfter(g.surplus_slots, g.surplus_after), 9) +
           Pad(std::to_string(g.proposals), 10) + Pad(verdicts[i], verdicts_width) +
           Pad(std::to_string(g.errors), 8) + numbers[i] + "\n";
  }
  out += T(w.legend);
  return out;
}

}  // namespace ctl
