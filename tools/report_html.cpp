#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "report_format.h"

namespace ctl {
namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Num(long v) {
  return std::to_string(v);
}

std::string SlotText(const SlotRef& s) {
  return s.eso + "/" + s.esa + " " + s.bsz + " " + ClockText(s.von) + "-" + ClockText(s.bis);
}

// Column of the grid: one slot of a location and deployment type.
using ColumnKey = std::tuple<std::string, std::string, long, std::string>;

ColumnKey KeyOf(const SlotCell& c) {
  return {c.slot.eso, c.slot.esa, c.slot.von, c.slot.bsz};
}

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; background: #fff; }
h1 { font-size: 1.4em; margin-bottom: 0.2em; }
h2 { font-size: 1.15em; margin-top: 1.6em; border-bottom: 2px solid #ccc; }
h3 { font-size: 1em; margin: 0.4em 0; }
p.meta { color: #555; margin-top: 0; }
table { border-collapse: collapse; font-size: 0.85em; }
th, td { border: 1px solid #bbb; padding: 3px 6px; text-align: left; vertical-align: top; }
th { background: #eee; }
table.grid td { text-align: center; min-width: 3.2em; }
table.grid td small { display: block; font-size: 0.8em; }
td.short-hard { background: #d7301f; color: #fff; }
td.short { background: #fc8d59; }
td.target { background: #91cf60; }
td.surplus { background: #91bfdb; }
td.surplus-hard { background: #4575b4; color: #fff; }
td.empty { background: #f4f4f4; }
.group { display: flex; gap: 1.5em; align-items: flex-start; }
table.proposals td { white-space: nowrap; }
table.proposals td:last-child { white-space: normal; }
.legend span { display: inline-block; padding: 2px 8px; margin-right: 4px; border: 1px solid #bbb; }
)";

struct Words {
  const char* title;
  const char* group;
  const char* all;
  const char* period;
  const char* day;
  const char* proposals;
  const char* errors;
  const char* none;
  const char* person;
  const char* from;
  const char* to;
  const char* verdict;
  const char* slot;
  const char* error;
  const char* summary;
  const char* name;
  const char* legend[5];
};

const Words& WordsFor(Language language) {
  static const Words german = {"Bericht des Optimierungslaufs",
                               "Plangruppe",
                               "alle",
                               "Zeitraum",
                               "Tag",
                               "Offene Umbesetzungsvorschl&auml;ge",
                               "Verbleibende Besetzungsfehler",
                               "keine",
                               "Person",
                               "von",
                               "nach",
                               "Befund",
                               "Dienst",
                               "Fehler",
                               "&Uuml;bersicht",
                               "Bezeichnung",
                               {"unter Mindestbesetzung", "unterbesetzt", "Soll erreicht",
                                "&uuml;berbesetzt", "&uuml;ber H&ouml;chstbesetzung"}};
  static const Words english = {
      "Report of the optimisation run",
      "Plan group",
      "all",
      "Period",
      "Day",
      "Open move proposals",
      "Remaining staffing errors",
      "none",
      "Person",
      "from",
      "to",
      "Verdict",
      "Slot",
      "Error",
      "Summary",
      "Name",
      {"below minimum", "short", "at target", "surplus", "above maximum"}};
  return language == Language::kGerman ? german : english;
}

// The open proposals of a slot: "+2" joining, "-1" leaving.
std::string Moves(const SlotCell& c) {
  std::string s;
  if (c.joining != 0) s += " +" + Num(c.joining);
  if (c.leaving != 0) s += " -" + Num(c.leaving);
  return s;
}

void Grid(std::string& out, const std::vector<const SlotCell*>& cells) {
  std::set<ColumnKey> column_set;
  std::set<std::string> days;
  std::map<std::pair<std::string, ColumnKey>, const SlotCell*> at;
  for (const SlotCell* c : cells) {
    column_set.insert(KeyOf(*c));
    days.insert(c->day);
    at.emplace(std::make_pair(c->day, KeyOf(*c)), c);
  }
  std::vector<ColumnKey> columns(column_set.begin(), column_set.end());
  out += "<table class=\"grid\">\n<tr><th></th>";
  for (const auto& k : columns) {
    out += "<th>" + Escape(std::get<0>(k)) + "<br>" + Escape(std::get<1>(k)) + "<br>" +
           Escape(std::get<3>(k)) + "</th>";
  }
  out += "</tr>\n";
  for (const auto& day : days) {
    out += "<tr><th>" + Escape(DayText(day)) + "</th>";
    for (const auto& k : columns) {
      auto it = at.find({day, k});
      if (it == at.end()) {
        out += "<td class=\"empty\"></td>";
        continue;
      }
      const SlotCell& c = *it->second;
      const std::string title = SlotText(c.slot) + ": Ist " + Num(c.ist) + ", Soll " + Num(c.sol) +
                                ", Min " + Num(c.min) + ", Max " + Num(c.max) + ", BsmFkt " +
                                Num(c.fkt) + ", -" + Num(c.leaving) + " +" + Num(c.joining);
      out += "<td class=\"slot " + std::string(DeviationClass(c.fkt)) + "\" title=\"" +
             Escape(title) + "\">" + Num(c.effective) + "/" + Num(c.sol) + "<small>" + Num(c.fkt) +
             Moves(c) + "</small></td>";
    }
    out += "</tr>\n";
  }
  out += "</table>\n";
}

}  // namespace

const char* DeviationClass(long fkt) {
  if (fkt <= -100) return "short-hard";
  if (fkt < 0) return "short";
  if (fkt == 0) return "target";
  if (fkt < 190) return "surplus";
  return "surplus-hard";
}

std::string ReportHtml(const ReportData& d, Language language) {
  const Words& w = WordsFor(language);
  std::string out;
  out += "<!DOCTYPE html>\n<html lang=\"";
  out += language == Language::kGerman ? "de" : "en";
  out += "\">\n<head>\n<meta charset=\"utf-8\">\n<title>Plexor - ";
  out += w.title;
  out += "</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<h1>Plexor - ";
  out += w.title;
  out += "</h1>\n<p class=\"meta\">Schema " + Escape(d.schema) + " &middot; " + w.group + " " +
         (d.plan_group.empty() ? std::string(w.all) : Escape(d.plan_group)) + " &middot; " +
         w.period + " " + Escape(DayText(d.from)) + " &ndash; " + Escape(DayText(d.to)) + "</p>\n";
  out += "<p class=\"legend\">";
  const char* classes[5] = {"short-hard", "short", "target", "surplus", "surplus-hard"};
  for (int i = 0; i < 5; ++i) {
    out += "<span class=\"" + std::string(classes[i]) + "\" style=\"background:";
    const char* colours[5] = {"#d7301f;color:#fff", "#fc8d59", "#91cf60", "#91bfdb",
                              "#4575b4;color:#fff"};
    out += colours[i];
    out += "\">" + std::string(w.legend[i]) + "</span>";
  }
  out += "</p>\n";

  out += "<h2>" + std::string(w.summary) + "</h2>\n<table class=\"summary\">\n<tr><th>" + w.group +
         "</th><th>" + w.name + "</th><th>" + w.proposals + "</th><th>" + w.errors + "</th></tr>\n";
  for (const auto& g : d.groups) {
    out += "<tr><td>" + Escape(g.plg) + "</td><td>" + Escape(g.text) + "</td><td>" +
           Num(g.proposals) + "</td><td>" + Num(g.errors) + "</td></tr>\n";
  }
  out += "</table>\n";

  for (const auto& g : d.groups) {
    out += "<h2>" + std::string(w.group) + " " + Escape(g.plg) + " " + Escape(g.text) + "</h2>\n";
    out += "<div class=\"group\">\n<div>\n";
    std::vector<const SlotCell*> cells;
    for (const auto& c : d.slots) {
      if (c.plg == g.plg) cells.push_back(&c);
    }
    if (cells.empty()) {
      out += "<p>" + std::string(w.none) + "</p>\n";
    } else {
      Grid(out, cells);
    }
    out += "</div>\n<div>\n<h3>" + std::string(w.proposals) + "</h3>\n";
    bool any = false;
    for (const auto& p : d.proposals) {
      if (p.plg != g.plg) continue;
      if (!any) {
        out += "<table class=\"proposals\">\n<tr><th>" + std::string(w.day) + "</th><th>" +
               w.person + "</th><th>" + w.from + "</th><th>" + w.to + "</th><th>" + w.verdict +
               "</th></tr>\n";
      }
      any = true;
      out += "<tr><td>" + Escape(DayText(p.day)) + "</td><td>" + Escape(p.pnr) + "</td><td>" +
             Escape(SlotText(p.from)) + "</td><td>" + Escape(SlotText(p.to)) + "</td><td>" +
             Num(p.fnr) + " " + Escape(VerdictReading(p.fnr, language)) + "</td></tr>\n";
    }
    out += any ? "</table>\n" : "<p>" + std::string(w.none) + "</p>\n";
    out += "</div>\n</div>\n<h3>" + std::string(w.errors) + "</h3>\n";
    any = false;
    for (const auto& e : d.errors) {
      if (e.plg != g.plg) continue;
      if (!any) {
        out += "<table class=\"errors\">\n<tr><th>" + std::string(w.day) + "</th><th>" + w.slot +
               "</th><th>" + w.error + "</th></tr>\n";
      }
      any = true;
      out += "<tr><td>" + Escape(DayText(e.day)) + "</td><td>" + Escape(SlotText(e.slot)) +
             "</td><td>" + Num(e.fnr) + " " + Escape(VerdictReading(e.fnr, language)) +
             "</td></tr>\n";
    }
    out += any ? "</table>\n" : "<p>" + std::string(w.none) + "</p>\n";
  }
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace ctl
