#include "report_data.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "db/sql_text.h"
#include "report_slots.h"

namespace ctl {
namespace {

std::string Str(const Row& row, size_t i) {
  if (i >= row.size() || !row[i]) return "";
  std::string s = *row[i];
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

long Num(const Row& row, size_t i) {
  std::string s = Str(row, i);
  if (s.empty()) return 0;
  return std::strtol(s.c_str(), nullptr, 10);
}

// The statement for all plan groups or, with the extra condition, for one.
std::string Statement(const char* head, const char* plg_condition, const char* tail,
                      const std::string& schema, const std::string& plg, const std::string& from,
                      const std::string& to) {
  std::string format = std::string(head) + (plg.empty() ? "" : plg_condition) + tail;
  if (plg.empty()) return db::SqlText(format.c_str(), {schema, from, to});
  return db::SqlText(format.c_str(), {schema, from, to, plg});
}

bool Run(OdbcSession& session, const std::string& sql, std::vector<Row>& rows, std::string& error) {
  if (session.Query(sql, rows)) return true;
  error = session.error().Text() + "\n  in: " + sql;
  return false;
}

GroupSummary& GroupOf(ReportData& d, const std::string& plg) {
  for (auto& g : d.groups) {
    if (g.plg == plg) return g;
  }
  GroupSummary g;
  g.plg = plg;
  d.groups.push_back(g);
  return d.groups.back();
}

}  // namespace

std::string ClockText(long minute) {
  if (minute < 0 || minute >= 1440) minute = ((minute % 1440) + 1440) % 1440;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld", minute / 60, minute % 60);
  return buf;
}

std::string DayText(const std::string& d) {
  if (d.size() != 8) return d;
  return d.substr(6, 2) + "." + d.substr(4, 2) + "." + d.substr(0, 4);
}

std::string IsoDay(const std::string& d) {
  if (d.size() != 8) return d;
  return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

bool LastStaffedDay(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                    const std::string& from, const std::string& to, std::string& last,
                    std::string& error) {
  std::vector<Row> rows;
  const std::string sql = Statement(
      "SELECT convert(char(8), max(BsmBdt), 112) FROM %s.Kvt725Bsm WHERE BsmBdt >= "
      "convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)",
      " AND BsmPlg = '%s'", "", schema, plan_group, from, to);
  if (!Run(session, sql, rows, error)) return false;
  last = rows.empty() ? "" : Str(rows[0], 0);
  if (last.size() != 8 || last < from || last > to) last = to;
  return true;
}

namespace {

// The open proposals joining each slot with an objection, keyed as the
// job's joining count matches them: day, location, type, begin, assignment type.
using SlotKey = std::tuple<std::string, std::string, std::string, long, long>;

void CountObjections(const std::vector<ProposalLine>& open, std::vector<SlotCell>& slots) {
  std::map<SlotKey, long> objections;
  for (const ProposalLine& p : open) {
    if (p.fnr != 0) ++objections[{p.day, p.to.eso, p.to.esa, p.to.von, p.to.asw}];
  }
  for (SlotCell& c : slots) {
    auto it = objections.find({c.day, c.slot.eso, c.slot.esa, c.slot.von, c.slot.asw});
    if (it != objections.end()) c.objections_in = it->second;
  }
}

}  // namespace

bool ReadReport(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                const std::string& from, const std::string& to, ReportData& out, std::string& error,
                long status) {
  out = ReportData{};
  out.schema = schema;
  out.plan_group = plan_group;
  out.from = from;
  out.to = to;
  out.status = status;
  std::vector<Row> rows;

  const std::string groups_sql =
      plan_group.empty() ? db::SqlText(
                               "SELECT PlgPlg, PlgTxt, convert(char(19), PlgBeg, 120) FROM "
                               "%s.Kvt701Plg ORDER BY PlgPlg",
                               {schema})
                         : db::SqlText(
                               "SELECT PlgPlg, PlgTxt, convert(char(19), PlgBeg, 120) FROM "
                               "%s.Kvt701Plg WHERE PlgPlg = '%s'",
                               {schema, plan_group});
  if (!Run(session, groups_sql, rows, error)) return false;
  for (const Row& r : rows) {
    GroupSummary& g = GroupOf(out, Str(r, 0));
    g.text = Str(r, 1);
    g.run_begin = Str(r, 2);
  }
  if (!plan_group.empty()) GroupOf(out, plan_group);

  // Every proposal of the period: the open ones enter the figures, those of
  // the status asked for are listed.
  const std::string proposals_sql = Statement(
      "SELECT BdkPlg, BdkPnr, convert(char(8), BdkBdt, 112), BdkEso, BdkEsa, BdkBsz, BdkSzv, "
      "BdkSzb, BdkOso, BdkOsa, BdkOsz, BdkOsv, BdkOsb, BdkFnr, BdkKey, BdkAsw, BdkOsw, BdkSta, "
      "convert(char(19), BdkDat, 120) FROM %s.Kvt735Bdk WHERE BdkBdt >= convert(datetime, '%s', "
      "112) AND BdkBdt <= convert(datetime, '%s', 112)",
      " AND BdkPlg = '%s'", " ORDER BY BdkPlg, BdkBdt, BdkOso, BdkOsa, BdkOsv, BdkPnr", schema,
      plan_group, from, to);
  if (!Run(session, proposals_sql, rows, error)) return false;
  std::vector<ProposalLine> open;
  for (const Row& r : rows) {
    ProposalLine p;
    p.plg = Str(r, 0);
    p.pnr = Str(r, 1);
    p.day = Str(r, 2);
    p.from = SlotRef{Str(r, 3), Str(r, 4), Str(r, 5), Num(r, 6), Num(r, 7), Num(r, 15)};
    p.to = SlotRef{Str(r, 8), Str(r, 9), Str(r, 10), Num(r, 11), Num(r, 12), Num(r, 16)};
    p.fnr = Num(r, 13);
    p.key = Str(r, 14);
    p.status = Num(r, 17);
    p.created = Str(r, 18);
    GroupOf(out, p.plg);
    if (p.status == kProposalOpen) open.push_back(p);
    if (status == kAnyStatus || p.status == status) out.proposals.push_back(p);
  }

  const std::string errors_sql = Statement(
      "SELECT ErrPlg, convert(char(8), ErrBdt, 112), ErrEso, ErrEsa, ErrKnz, ErrZtv, ErrZtb, "
      "ErrFnr, ErrErf, ErrJbd, ErrJbk FROM %s.Kvt746Err WHERE ErrKng = 'PLANO' AND ErrBdt >= "
      "convert(datetime, '%s', 112) AND ErrBdt <= convert(datetime, '%s', 112)",
      " AND ErrPlg = '%s'", " ORDER BY ErrPlg, ErrBdt, ErrEso, ErrEsa, ErrZtv", schema, plan_group,
      from, to);
  if (!Run(session, errors_sql, rows, error)) return false;
  for (const Row& r : rows) {
    ErrorLine e;
    e.plg = Str(r, 0);
    e.day = Str(r, 1);
    e.slot = SlotRef{Str(r, 2), Str(r, 3), Str(r, 4), Num(r, 5), Num(r, 6)};
    e.fnr = Num(r, 7);
    e.user = Str(r, 8);
    e.job_text_1 = Str(r, 9);
    e.job_text_2 = Str(r, 10);
    GroupOf(out, e.plg);
    out.errors.push_back(e);
  }

  // The proposal counts are optional columns; older tables lack them.
  const char* slot_head =
      "SELECT BsmPlg, convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, "
      "BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, BsmFkt, BsmAsw, BsmOva, BsmOve "
      "FROM %s.Kvt725Bsm WHERE BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= "
      "convert(datetime, '%s', 112)";
  const char* short_head =
      "SELECT BsmPlg, convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, "
      "BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, BsmFkt, BsmAsw FROM "
      "%s.Kvt725Bsm WHERE BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, "
      "'%s', 112)";
  const char* slot_plg = " AND BsmPlg = '%s'";
  const char* slot_tail = " ORDER BY BsmPlg, BsmBdt, BsmEso, BsmEsa, BsmSzv, BsmSzb";
  std::string slots_sql = Statement(slot_head, slot_plg, slot_tail, schema, plan_group, from, to);
  if (!session.Query(slots_sql, rows)) {
    if (session.error().native != 207) {
      error = session.error().Text() + "\n  in: " + slots_sql;
      return false;
    }
    slots_sql = Statement(short_head, slot_plg, slot_tail, schema, plan_group, from, to);
    if (!Run(session, slots_sql, rows, error)) return false;
  }
  for (const Row& r : rows) {
    SlotCell c;
    c.plg = Str(r, 0);
    c.day = Str(r, 1);
    c.slot = SlotRef{Str(r, 2), Str(r, 3), Str(r, 4), Num(r, 5), Num(r, 6), Num(r, 15)};
    c.sol = Num(r, 7);
    c.min = Num(r, 8);
    c.max = Num(r, 9);
    c.ist = Num(r, 10);
    c.htg = Num(r, 11);
    c.htv = Num(r, 12);
    c.htn = Num(r, 13);
    c.effective = c.ist - c.htg - std::min(c.htv, c.htn);
    c.fkt = Num(r, 14);
    c.leaving = Num(r, 16);
    c.joining = Num(r, 17);
    GroupOf(out, c.plg);
    out.slots.push_back(c);
  }
  CountObjections(open, out.slots);
  std::sort(out.groups.begin(), out.groups.end(),
            [](const GroupSummary& a, const GroupSummary& b) { return a.plg < b.plg; });
  Summarise(open, out);
  return true;
}

}  // namespace ctl
