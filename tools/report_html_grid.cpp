#include <map>
#include <set>
#include <tuple>

#include "report_format.h"
#include "report_html_parts.h"
#include "report_slots.h"

namespace ctl {
namespace html {
namespace {

// Column of the grid: one slot of a location and deployment type.
using ColumnKey = std::tuple<std::string, std::string, long, std::string>;

ColumnKey KeyOf(const SlotCell& c) {
  return {c.slot.eso, c.slot.esa, c.slot.von, c.slot.bsz};
}

std::string Num(long v) {
  return std::to_string(v);
}

// "count now/target", then on a small line the count if accepted with its
// marker and the open proposals joining (+) and leaving (-) when there are any.
std::string Cell(const SlotCell& c, const Words& w) {
  const int now = SlotClassNow(c), after = SlotClassIfAccepted(c);
  const bool marked = ClosedOnlyByObjections(c);
  // The class is the band of the stored figure; the states are data attributes.
  const std::string attributes = std::string("class=\"slot ") + DeviationClass(c.fkt) +
                                 "\" data-now=\"" + Num(now) + "\" data-after=\"" + Num(after) +
                                 "\"" + (marked ? " data-objection=\"1\"" : "");
  const std::string title = SlotText(c.slot) + ": " + w.cell_title + " " + Num(c.ist) + "/" +
                            Num(c.effective) + "/" + Num(c.sol) + "/" + Num(c.min) + "/" +
                            Num(c.max) + "/" + Num(c.joining) + "/" + Num(c.leaving) + "/" +
                            Num(CountIfAccepted(c)) + ", BsmFkt " + Num(c.fkt);
  std::string s = "<td " + attributes + " title=\"" + Escape(title) + "\">" + Num(c.effective) +
                  "/" + Num(c.sol) + "<small>";
  s += "&rarr;" + Num(CountIfAccepted(c)) + " " + Marker(after);
  if (c.joining != 0) s += " +" + Num(c.joining);
  if (c.leaving != 0) s += " &minus;" + Num(c.leaving);
  if (marked) s += " <b>!</b>";
  return s + "</small></td>";
}

void Grid(std::string& out, const std::vector<const SlotCell*>& cells, const Words& w) {
  std::set<ColumnKey> column_set;
  std::set<std::string> days;
  std::map<std::pair<std::string, ColumnKey>, const SlotCell*> at;
  for (const SlotCell* c : cells) {
    column_set.insert(KeyOf(*c));
    days.insert(c->day);
    at.emplace(std::make_pair(c->day, KeyOf(*c)), c);
  }
  out += "<div class=\"gridwrap\">\n<table class=\"grid\">\n<thead><tr><th>" + std::string(w.day) +
         "</th>";
  for (const auto& k : column_set) {
    out += "<th>" + Escape(std::get<0>(k)) + "<br>" + Escape(std::get<1>(k)) + "<br>" +
           Escape(std::get<3>(k)) + "</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  for (const auto& day : days) {
    out += "<tr><th>" + Escape(DayText(day)) + "</th>";
    for (const auto& k : column_set) {
      auto it = at.find({day, k});
      out += it == at.end() ? "<td class=\"empty\"></td>" : Cell(*it->second, w);
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n</div>\n";
}

const char* StateText(long status, const Words& w) {
  switch (status) {
    case kProposalOpen:
      return w.state_open;
    case kProposalAccepted:
      return w.state_accepted;
    case kProposalRejected:
      return w.state_rejected;
    default:
      return w.state_other;
  }
}

void Proposals(std::string& out, const ReportData& d, const GroupSummary& g, Language language) {
  const Words& w = WordsFor(language);
  bool any = false;
  for (const auto& p : d.proposals) {
    if (p.plg != g.plg) continue;
    if (!any) {
      out += "<table class=\"proposals\">\n<thead><tr><th>" + std::string(w.day) + "</th><th>" +
             w.person + "</th><th>" + w.from + "</th><th>" + w.to + "</th><th>" + w.verdict +
             "</th><th>" + w.status + "</th><th>" + w.command + "</th></tr></thead>\n<tbody>\n";
    }
    any = true;
    std::string commands;
    if (p.status == kProposalOpen) {
      commands = "<code class=\"cmd\">" + Escape(ProposalCommand("accept", p.key)) +
                 "</code><code class=\"cmd\">" + Escape(ProposalCommand("reject", p.key)) +
                 "</code>";
    }
    std::string state = StateText(p.status, w);
    if (state == w.state_other) state += " " + Num(p.status);
    out += "<tr><td class=\"day\">" + Escape(DayText(p.day)) + "</td><td>" + Escape(p.pnr) +
           "</td><td>" + Escape(SlotText(p.from)) + "</td><td>" + Escape(SlotText(p.to)) +
           "</td><td class=\"v" + (p.fnr == 0 ? std::string("0") : std::string("x")) + "\">" +
           Num(p.fnr) + " " + Escape(VerdictReading(p.fnr, language)) + "</td><td>" +
           Escape(state) + "</td><td>" + commands + "</td></tr>\n";
  }
  out += any ? "</tbody>\n</table>\n" : "<p>" + std::string(w.none) + "</p>\n";
}

}  // namespace

void GroupBlock(std::string& out, const ReportData& d, const GroupSummary& g, Language language) {
  const Words& w = WordsFor(language);
  out += "<section class=\"group\">\n<h2>" + std::string(w.group) + " " + Escape(g.plg) + " " +
         Escape(g.text) + "</h2>\n";
  std::vector<const SlotCell*> cells;
  for (const auto& c : d.slots) {
    if (c.plg == g.plg) cells.push_back(&c);
  }
  if (cells.empty()) {
    out += "<p>" + std::string(w.none) + "</p>\n";
  } else {
    Grid(out, cells, w);
  }
  const char* heading = d.status == kAnyStatus          ? w.proposals_all
                        : d.status == kProposalAccepted ? w.proposals_accepted
                        : d.status == kProposalRejected ? w.proposals_rejected
                                                        : w.proposals_open;
  out += "<h3>" + std::string(heading) + "</h3>\n";
  Proposals(out, d, g, language);
  out += "</section>\n";
}

}  // namespace html

std::string ProposalCommand(const char* action, const std::string& key) {
  bool plain = !key.empty();
  for (char c : key) {
    const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '.' || c == ':' || c == '/';
    plain = plain && safe;
  }
  std::string quoted = key;
  if (!plain) {
    quoted = "'";
    for (char c : key) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
  }
  return std::string("plexorctl proposals ") + action + " " + quoted;
}

}  // namespace ctl
