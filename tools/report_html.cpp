#include <map>
#include <set>
#include <string>

#include "report_format.h"
#include "report_html_parts.h"

namespace ctl {
namespace html {

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

std::string SlotText(const SlotRef& s) {
  return s.eso + "/" + s.esa + " " + s.bsz + " " + ClockText(s.von) + "-" + ClockText(s.bis);
}

std::string ClassName(int number) {
  return "c" + std::to_string(number);
}

const char* Marker(int number) {
  if (number >= 1601 && number <= 1603) return "&#9660;";  // down-pointing triangle
  if (number == 1604 || number == 1605) return "&#9650;";  // up-pointing triangle
  return "&#10003;";                                       // check mark
}

const Words& WordsFor(Language language) {
  static const Words german = {
      "Bericht des Optimierungslaufs",
      "Plangruppe",
      "alle",
      "Zeitraum",
      "Erstellt",
      "Vorschläge",
      "Tag",
      "Offene Umbesetzungsvorschläge",
      "Angenommene Umbesetzungsvorschläge",
      "Abgelehnte Umbesetzungsvorschläge",
      "Alle Umbesetzungsvorschläge",
      "Verbleibende Besetzungsfehler",
      "keine",
      "Person",
      "von",
      "nach",
      "Befund",
      "Status",
      "Befehl",
      "Dienst",
      "Fehler",
      "Übersicht",
      "Bezeichnung",
      "Legende",
      "Lauf",
      "Laufbeginn (PlgBeg)",
      "Benutzer",
      "Jobtext 1",
      "Jobtext 2",
      "Filter",
      // figures
      "Dienste",
      "unterbesetzt jetzt",
      "unterbesetzt nach Annahme",
      "überbesetzt jetzt",
      "überbesetzt nach Annahme",
      "Lücken nur durch Einwände geschlossen",
      "offene Vorschläge",
      "Fehlerzeilen",
      {"Zeilen der Besetzungsmatrix im Zeitraum.",
       "Dienste, deren Zustand jetzt 1601, 1602 oder 1603 ist.",
       "Dienste, deren Zustand nach Annahme 1601, 1602 oder 1603 ist.",
       "Dienste, deren Zustand jetzt 1604 oder 1605 ist.",
       "Dienste, deren Zustand nach Annahme 1604 oder 1605 ist.",
       "Dienste, die jetzt unterbesetzt sind und nach Annahme nicht mehr, aber unterbesetzt "
       "blieben, wenn nur die Vorschläge ohne Einwand (Befund 0) angenommen würden.",
       "Offene Vorschläge (Status 9) im Zeitraum, daneben je Befund.",
       "Zeilen der Fehlertabelle (Art PLANO) im Zeitraum, daneben je Fehlernummer; sie stammen "
       "vom letzten Lauf und entsprechen den Diensten mit Zustand jetzt ungleich 0, solange "
       "sich die Besetzung seitdem nicht geändert hat."},
      "a/b: effektive Besetzung jetzt (BsmIst minus BsmHtg minus dem kleineren von BsmHtv und "
      "BsmHtn) / Soll. Die Farbe zeigt den Zustand jetzt, klassiert wie der "
      "Fehlerlauf (0 oder 1601 bis 1605).",
      "&rarr;n: effektive Besetzung, wenn alle offenen Vorschläge angenommen werden (jetzt plus "
      "kommende minus gehende Vorschläge); das Zeichen danach zeigt den Zustand nach Annahme.",
      "+k / &minus;g: offene Vorschläge, die eine Person in den Dienst bringen / aus ihm nehmen.",
      "unterbesetzt nach Annahme",
      "Soll erreicht nach Annahme",
      "überbesetzt nach Annahme",
      "gestrichelter Rahmen und !: die Lücke wird nur durch Vorschläge mit Einwänden geschlossen",
      "Ist/effektiv/Soll/Min/Max/kommen/gehen/nach Annahme",
      "offen",
      "angenommen",
      "abgelehnt",
      "Status",
      "Soll erreicht",
      "Tooltip"};
  static const Words english = {
      "Report of the optimisation run",
      "Plan group",
      "all",
      "Period",
      "Generated",
      "Proposals",
      "Day",
      "Open move proposals",
      "Accepted move proposals",
      "Rejected move proposals",
      "All move proposals",
      "Remaining staffing errors",
      "none",
      "Person",
      "from",
      "to",
      "Verdict",
      "Status",
      "Command",
      "Slot",
      "Error",
      "Summary",
      "Name",
      "Legend",
      "Run",
      "Run begin (PlgBeg)",
      "User",
      "Job text 1",
      "Job text 2",
      "Filter",
      // figures
      "slots",
      "short now",
      "short if accepted",
      "surplus now",
      "surplus if accepted",
      "gaps closed only by objections",
      "open proposals",
      "error rows",
      {"Rows of the staffing matrix in the period.", "Slots whose state now is 1601, 1602 or 1603.",
       "Slots whose state if accepted is 1601, 1602 or 1603.",
       "Slots whose state now is 1604 or 1605.", "Slots whose state if accepted is 1604 or 1605.",
       "Slots that are short now and no longer short if accepted, but would stay short if only "
       "the proposals without objection (verdict 0) were accepted.",
       "Open proposals (status 9) in the period, beside them per verdict.",
       "Rows of the error table (kind PLANO) in the period, beside them per error number; they "
       "come from the last run and match the slots whose state now is not 0 as long as the "
       "staffing has not changed since."},
      "a/b: effective count now (BsmIst minus BsmHtg minus the smaller of BsmHtv and BsmHtn) / "
      "target. The colour is the state now, classed as the error scan classes it (0 "
      "or 1601 to 1605).",
      "&rarr;n: effective count if every open proposal is accepted (now plus joining minus "
      "leaving proposals); the sign after it is the state if accepted.",
      "+j / &minus;l: open proposals that bring a person into the slot / take one out of it.",
      "short if accepted",
      "on target if accepted",
      "surplus if accepted",
      "dashed frame and !: the gap is closed only by proposals with objections",
      "actual/effective/target/min/max/joining/leaving/if accepted",
      "open",
      "accepted",
      "rejected",
      "status",
      "on target",
      "tooltip"};
  return language == Language::kGerman ? german : english;
}

}  // namespace html

namespace {

using html::Escape;
using html::Words;

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 1em; color: #222; background: #fff; }
h1 { font-size: 1.4em; margin: 0 0 0.2em; }
h2 { font-size: 1.15em; margin-top: 1.4em; border-bottom: 2px solid #ccc; }
h3 { font-size: 1em; margin: 0.8em 0 0.3em; }
p.meta { color: #555; margin-top: 0; }
table { border-collapse: collapse; font-size: 0.85em; max-width: 100%; }
th, td { border: 1px solid #bbb; padding: 3px 5px; text-align: left; vertical-align: top; }
th { background: #eee; }
thead th { position: sticky; top: 0; z-index: 2; }
.gridwrap { overflow: auto; max-width: 100%; max-height: 85vh; border: 1px solid #ccc; }
table.grid { max-width: none; }
table.grid td { text-align: center; min-width: 3.4em; white-space: nowrap; }
table.grid td small { display: block; font-size: 0.8em; }
table.grid tbody th { position: sticky; left: 0; z-index: 1; white-space: nowrap; }
table.grid thead th:first-child { left: 0; z-index: 3; }
.c1601, td[data-now="1601"] { background: #a50f15; color: #fff; }
.c1602, td[data-now="1602"] { background: #d7301f; color: #fff; }
.c1603, td[data-now="1603"] { background: #fc8d59; }
.c0, td[data-now="0"] { background: #91cf60; }
.c1604, td[data-now="1604"] { background: #91bfdb; }
.c1605, td[data-now="1605"] { background: #4575b4; color: #fff; }
td.empty { background: #f4f4f4; }
td[data-objection] { outline: 3px dashed #000; outline-offset: -4px; }
table.summary td.list, table.proposals td, table.errors td, table.runs td {
  overflow-wrap: anywhere; }
table.summary td:first-child { white-space: nowrap; }
table.summary th { font-size: 0.9em; hyphens: auto; }
table.summary td.list { white-space: normal; font-size: 0.9em; }
table.proposals td:nth-child(2) { overflow-wrap: normal; }
table.proposals td.day { white-space: nowrap; }
table.proposals td.vx { color: #a50f15; }
code.cmd { display: block; user-select: all; font-size: 0.9em; background: #f6f6f6; margin: 1px 0; }
.legend span.key { display: inline-block; padding: 1px 8px; margin: 2px 4px 2px 0;
  border: 1px solid #bbb; }
dl.figures dt { font-weight: bold; margin-top: 0.3em; }
dl.figures dd { margin-left: 1.5em; }
form.filter { margin: 0.4em 0; }
form.filter label { margin-right: 1em; }
@media print {
  @page { size: A4 landscape; margin: 1cm; }
  body { margin: 0; font-size: 9pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  .gridwrap { overflow: visible; max-height: none; border: 0; }
  thead th, table.grid tbody th { position: static; }
  form.filter, code.cmd { display: none; }
  tr { break-inside: avoid; }
  h2, h3 { break-after: avoid; }
  section.group { break-before: page; }
}
)";

std::string Num(long v) {
  return std::to_string(v);
}

std::string Counts(const std::map<long, long>& counts) {
  std::string s;
  for (const auto& [number, count] : counts)
    s += (s.empty() ? "" : " ") + Num(number) + ":" + Num(count);
  return s.empty() ? "-" : s;
}

void Header(std::string& out, const ReportData& d, const Words& w) {
  const char* listed = d.status == kAnyStatus          ? w.all
                       : d.status == kProposalAccepted ? w.state_accepted
                       : d.status == kProposalRejected ? w.state_rejected
                                                       : w.state_open;
  out += "<header>\n<h1>Plexor - " + std::string(w.title) + "</h1>\n<p class=\"meta\">Schema " +
         Escape(d.schema) + " &middot; " + w.group + " " +
         (d.plan_group.empty() ? std::string(w.all) : Escape(d.plan_group)) + " &middot; " +
         w.period + " " + Escape(DayText(d.from)) + " &ndash; " + Escape(DayText(d.to)) +
         " &middot; " + w.listed + ": " + listed + " &middot; " + w.generated + " " +
         Escape(d.generated) + "</p>\n";
  out += "<table class=\"runs\">\n<thead><tr><th>" + std::string(w.group) + "</th><th>" +
         w.run_begin + "</th><th>" + w.user + "</th><th>" + w.job_text_1 + "</th><th>" +
         w.job_text_2 + "</th></tr></thead>\n<tbody>\n";
  for (const auto& g : d.groups) {
    std::string cols[3];
    for (const auto& run : g.runs) {
      for (int i = 0; i < 3; ++i) cols[i] += (cols[i].empty() ? "" : "; ") + run[i];
    }
    out += "<tr><td>" + Escape(g.plg) + "</td><td>" + Escape(g.run_begin) + "</td><td>" +
           Escape(cols[0]) + "</td><td>" + Escape(cols[1]) + "</td><td>" + Escape(cols[2]) +
           "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</header>\n";
}

void Legend(std::string& out, const Words& w, Language language) {
  out += "<section class=\"legend\">\n<h2>" + std::string(w.legend) + "</h2>\n<p>";
  for (int number : {0, 1601, 1602, 1603, 1604, 1605}) {
    const std::string reading = number == 0 ? w.on_target : VerdictReading(number, language);
    out += "<span class=\"key " + html::ClassName(number) + "\">" + Num(number) + " " +
           Escape(reading) + "</span>";
  }
  out += "</p>\n<ul>\n<li>" + std::string(w.cell_counts) + "</li>\n<li>" + w.cell_after +
         "</li>\n<li>" + w.cell_moves + "</li>\n<li>" + html::Marker(1602) + " " + w.marker_short +
         " &middot; " + html::Marker(0) + " " + w.marker_target + " &middot; " +
         html::Marker(1605) + " " + w.marker_surplus + "</li>\n<li>" + w.marker_objection +
         "</li>\n<li>" + w.tooltip + ": " + w.cell_title +
         ", BsmFkt</li>\n</ul>\n<dl class=\"figures\">\n";
  const char* names[8] = {w.slots,         w.short_now,      w.short_after,    w.surplus_now,
                          w.surplus_after, w.objection_gaps, w.open_proposals, w.error_rows};
  for (int i = 0; i < 8; ++i) {
    out += "<dt>" + std::string(names[i]) + "</dt><dd>" + w.definitions[i] + "</dd>\n";
  }
  out += "</dl>\n</section>\n";
}

void Summary(std::string& out, const ReportData& d, const Words& w) {
  out += "<section class=\"summary\">\n<h2>" + std::string(w.summary) +
         "</h2>\n<table class=\"summary\">\n<thead><tr><th>" + w.group + "</th><th>" + w.name +
         "</th><th>" + w.slots + "</th><th>" + w.short_now + "</th><th>" + w.short_after +
         "</th><th>" + w.surplus_now + "</th><th>" + w.surplus_after + "</th><th>" +
         w.objection_gaps + "</th><th>" + w.open_proposals + "</th><th>" + w.error_rows +
         "</th></tr></thead>\n<tbody>\n";
  for (const auto& g : d.groups) {
    out += "<tr><td>" + Escape(g.plg) + "</td><td>" + Escape(g.text) + "</td><td>" + Num(g.slots) +
           "</td><td>" + Num(g.short_slots) + "</td><td>" + Num(g.short_after) + "</td><td>" +
           Num(g.surplus_slots) + "</td><td>" + Num(g.surplus_after) + "</td><td>" +
           Num(g.closed_by_objections) + "</td><td class=\"list\">" + Num(g.proposals) + " (" +
           Counts(g.by_verdict) + ")</td><td class=\"list\">" + Num(g.errors) + " (" +
           Counts(g.errors_by_number) + ")</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</section>\n";
}

// The error list with a filter that needs no script: each choice of a
// select hides the rows of the other values through a :has() rule.
void Errors(std::string& out, std::string& rules, const ReportData& d, const Words& w,
            Language language) {
  out += "<section class=\"errors\">\n<h2>" + std::string(w.errors) + "</h2>\n";
  if (d.errors.empty()) {
    out += "<p>" + std::string(w.none) + "</p>\n</section>\n";
    return;
  }
  std::map<std::string, int> groups, days;
  std::map<long, int> numbers;
  for (const auto& e : d.errors) {
    groups.emplace(e.plg, 0);
    days.emplace(e.day, 0);
    numbers.emplace(e.fnr, 0);
  }
  auto Select = [&](const char* id, const char* label, auto& values, auto text) {
    std::string s = "<label>" + std::string(label) + " <select id=\"f-" + id +
                    "\"><option value=\"\">" + w.all + "</option>";
    int i = 0;
    for (auto& [value, index] : values) {
      index = i++;
      const std::string v = std::string(id) + std::to_string(index);
      s += "<option value=\"" + v + "\">" + Escape(text(value)) + "</option>";
      rules += "body:has(#f-" + std::string(id) + " option[value=\"" + v +
               "\"]:checked) table.errors tbody tr:not([data-" + id + "=\"" + v +
               "\"]) { display: none; }\n";
    }
    return s + "</select></label>";
  };
  out += "<form class=\"filter\">" + std::string(w.filter) + ": ";
  out += Select("g", w.group, groups, [](const std::string& v) { return v; });
  out += Select("d", w.day, days, [](const std::string& v) { return DayText(v); });
  out += Select("n", w.error, numbers,
                [&](long v) { return Num(v) + " " + VerdictReading(v, language); });
  out += "</form>\n";
  out += "<table class=\"errors\">\n<thead><tr><th>" + std::string(w.group) + "</th><th>" + w.day +
         "</th><th>" + w.slot + "</th><th>" + w.error + "</th><th>" + w.user + "</th><th>" +
         w.job_text_1 + "</th><th>" + w.job_text_2 + "</th></tr></thead>\n<tbody>\n";
  for (const auto& e : d.errors) {
    out += "<tr data-g=\"g" + Num(groups[e.plg]) + "\" data-d=\"d" + Num(days[e.day]) +
           "\" data-n=\"n" + Num(numbers[e.fnr]) + "\"><td>" + Escape(e.plg) + "</td><td>" +
           Escape(DayText(e.day)) + "</td><td>" + Escape(html::SlotText(e.slot)) + "</td><td>" +
           Num(e.fnr) + " " + Escape(VerdictReading(e.fnr, language)) + "</td><td>" +
           Escape(e.user) + "</td><td>" + Escape(e.job_text_1) + "</td><td>" +
           Escape(e.job_text_2) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</section>\n";
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
  const Words& w = html::WordsFor(language);
  std::string out = "<!DOCTYPE html>\n<html lang=\"";
  out += language == Language::kGerman ? "de" : "en";
  out +=
      "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" "
      "content=\"width=device-width\">\n<title>Plexor - ";
  out += w.title;
  out += "</title>\n<style>";
  out += kStyle;
  std::string body, filter_rules;
  Header(body, d, w);
  Summary(body, d, w);
  Legend(body, w, language);
  for (const auto& g : d.groups) html::GroupBlock(body, d, g, language);
  Errors(body, filter_rules, d, w, language);
  out += filter_rules;
  out += "</style>\n</head>\n<body>\n";
  out += body;
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace ctl
