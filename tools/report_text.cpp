#include <cstdio>
#include <string>

#include "report_format.h"

namespace ctl {
namespace {

std::string Slot(const SlotRef& s) {
  return s.eso + "/" + s.esa + " " + s.bsz + " " + ClockText(s.von) + "-" + ClockText(s.bis);
}

std::string Pad(std::string s, size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

struct Words {
  const char* title;
  const char* schema;
  const char* group;
  const char* all;
  const char* period;
  const char* proposals;
  const char* errors;
  const char* per_group;
  const char* none;
  const char* head_proposals;
  const char* head_errors;
  const char* head_groups;
};

const Words& WordsFor(Language language) {
  static const Words german = {
      "Plexor - Bericht des Optimierungslaufs",
      "Schema",
      "Plangruppe",
      "alle",
      "Zeitraum",
      "Offene Umbesetzungsvorschlaege",
      "Verbleibende Besetzungsfehler",
      "Je Plangruppe",
      "  (keine)",
      "Plangr.  Tag         Person    von                         nach                        "
      "Befund",
      "Plangr.  Tag         Dienst                      Fehler",
      "Plangr.  Bezeichnung                     Vorschl.  Fehler  unterb.  ueberb.  Befunde"};
  static const Words english = {
      "Plexor - report of the optimisation run",
      "Schema",
      "Plan group",
      "all",
      "Period",
      "Open move proposals",
      "Remaining staffing errors",
      "Per plan group",
      "  (none)",
      "Group    Day         Person    from                        to                          "
      "Verdict",
      "Group    Day         Slot                        Error",
      "Group    Name                            Propos.   Errors  short    surplus  Verdicts"};
  return language == Language::kGerman ? german : english;
}

}  // namespace

std::string ReportText(const ReportData& d, Language language) {
  const Words& w = WordsFor(language);
  std::string out;
  out += w.title;
  out += "\n";
  out += std::string(w.schema) + ": " + d.schema + "   " + w.group + ": " +
         (d.plan_group.empty() ? std::string(w.all) : d.plan_group) + "   " + w.period + ": " +
         DayText(d.from) + " - " + DayText(d.to) + "\n\n";

  out += std::string(w.proposals) + " (" + std::to_string(d.proposals.size()) + ")\n";
  if (d.proposals.empty()) {
    out += std::string(w.none) + "\n";
  } else {
    out += std::string(w.head_proposals) + "\n";
    for (const auto& p : d.proposals) {
      out += Pad(p.plg, 9) + Pad(DayText(p.day), 12) + Pad(p.pnr, 10) + Pad(Slot(p.from), 28) +
             Pad(Slot(p.to), 28) + std::to_string(p.fnr) + " " + VerdictReading(p.fnr, language) +
             "\n";
    }
  }
  out += "\n";

  out += std::string(w.errors) + " (" + std::to_string(d.errors.size()) + ")\n";
  if (d.errors.empty()) {
    out += std::string(w.none) + "\n";
  } else {
    out += std::string(w.head_errors) + "\n";
    for (const auto& e : d.errors) {
      out += Pad(e.plg, 9) + Pad(DayText(e.day), 12) + Pad(Slot(e.slot), 28) +
             std::to_string(e.fnr) + " " + VerdictReading(e.fnr, language) + "\n";
    }
  }
  out += "\n";

  out += std::string(w.per_group) + "\n" + w.head_groups + "\n";
  for (const auto& g : d.groups) {
    std::string verdicts;
    for (const auto& [fnr, count] : g.by_verdict) {
      if (!verdicts.empty()) verdicts += " ";
      verdicts += std::to_string(fnr) + ":" + std::to_string(count);
    }
    std::string name = g.text.size() > 30 ? g.text.substr(0, 30) : g.text;
    out += Pad(g.plg, 9) + Pad(name, 32) + Pad(std::to_string(g.proposals), 10) +
           Pad(std::to_string(g.errors), 8) + Pad(std::to_string(g.short_slots), 9) +
           Pad(std::to_string(g.surplus_slots), 9) + (verdicts.empty() ? "-" : verdicts) + "\n";
  }
  return out;
}

}  // namespace ctl
