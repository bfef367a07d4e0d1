#include "report_data.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "db/sql_text.h"

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

bool ReadReport(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                const std::string& from, const std::string& to, ReportData& out,
                std::string& error) {
  out = ReportData{};
  out.schema = schema;
  out.plan_group = plan_group;
  out.from = from;
  out.to = to;
  std::vector<Row> rows;

  const std::string groups_sql =
      plan_group.empty()
          ? db::SqlText("SELECT PlgPlg, PlgTxt FROM %s.Kvt701Plg ORDER BY PlgPlg", {schema})
          : db::SqlText("SELECT PlgPlg, PlgTxt FROM %s.Kvt701Plg WHERE PlgPlg = '%s'",
                        {schema, plan_group});
  if (!Run(session, groups_sql, rows, error)) return false;
  for (const Row& r : rows) GroupOf(out, Str(r, 0)).text = Str(r, 1);
  if (!plan_group.empty()) GroupOf(out, plan_group);

  const std::string proposals_sql = Statement(
      "SELECT BdkPlg, BdkPnr, convert(char(8), BdkBdt, 112), BdkEso, BdkEsa, BdkBsz, BdkSzv, "
      "BdkSzb, BdkOso, BdkOsa, BdkOsz, BdkOsv, BdkOsb, BdkFnr FROM %s.Kvt735Bdk WHERE BdkSta = 9 "
      "AND BdkBdt >= convert(datetime, '%s', 112) AND BdkBdt <= convert(datetime, '%s', 112)",
      " AND BdkPlg = '%s'", " ORDER BY BdkPlg, BdkBdt, BdkOso, BdkOsa, BdkOsv, BdkPnr", schema,
      plan_group, from, to);
  if (!Run(session, proposals_sql, rows, error)) return false;
  for (const Row& r : rows) {
    ProposalLine p;
    p.plg = Str(r, 0);
    p.pnr = Str(r, 1);
    p.day = Str(r, 2);
    p.from = SlotRef{Str(r, 3), Str(r, 4), Str(r, 5), Num(r, 6), Num(r, 7)};
    p.to = SlotRef{Str(r, 8), Str(r, 9), Str(r, 10), Num(r, 11), Num(r, 12)};
    p.fnr = Num(r, 13);
    GroupSummary& g = GroupOf(out, p.plg);
    ++g.proposals;
    ++g.by_verdict[p.fnr];
    out.proposals.push_back(p);
  }

  const std::string errors_sql = Statement(
      "SELECT ErrPlg, convert(char(8), ErrBdt, 112), ErrEso, ErrEsa, ErrKnz, ErrZtv, ErrZtb, "
      "ErrFnr FROM %s.Kvt746Err WHERE ErrKng = 'PLANO' AND ErrBdt >= convert(datetime, '%s', 112) "
      "AND ErrBdt <= convert(datetime, '%s', 112)",
      " AND ErrPlg = '%s'", " ORDER BY ErrPlg, ErrBdt, ErrEso, ErrEsa, ErrZtv", schema, plan_group,
      from, to);
  if (!Run(session, errors_sql, rows, error)) return false;
  for (const Row& r : rows) {
    ErrorLine e;
    e.plg = Str(r, 0);
    e.day = Str(r, 1);
    e.slot = SlotRef{Str(r, 2), Str(r, 3), Str(r, 4), Num(r, 5), Num(r, 6)};
    e.fnr = Num(r, 7);
    ++GroupOf(out, e.plg).errors;
    out.errors.push_back(e);
  }

  // The proposal counts are optional columns; older tables lack them.
  const char* slot_head =
      "SELECT BsmPlg, convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, "
      "BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, BsmFkt, BsmOva, BsmOve FROM "
      "%s.Kvt725Bsm WHERE BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, "
      "'%s', 112)";
  const char* short_head =
      "SELECT BsmPlg, convert(char(8), BsmBdt, 112), BsmEso, BsmEsa, BsmBsz, BsmSzv, BsmSzb, "
      "BsmSol, BsmMin, BsmMax, BsmIst, BsmHtg, BsmHtv, BsmHtn, BsmFkt FROM %s.Kvt725Bsm WHERE "
      "BsmBdt >= convert(datetime, '%s', 112) AND BsmBdt <= convert(datetime, '%s', 112)";
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
    c.slot = SlotRef{Str(r, 2), Str(r, 3), Str(r, 4), Num(r, 5), Num(r, 6)};
    c.sol = Num(r, 7);
    c.min = Num(r, 8);
    c.max = Num(r, 9);
    c.ist = Num(r, 10);
    c.effective = c.ist - Num(r, 11) - std::min(Num(r, 12), Num(r, 13));
    c.fkt = Num(r, 14);
    c.leaving = Num(r, 15);
    c.joining = Num(r, 16);
    GroupSummary& g = GroupOf(out, c.plg);
    if (c.fkt < 0) ++g.short_slots;
    if (c.fkt > 0) ++g.surplus_slots;
    out.slots.push_back(c);
  }
  std::sort(out.groups.begin(), out.groups.end(),
            [](const GroupSummary& a, const GroupSummary& b) { return a.plg < b.plg; });
  return true;
}

}  // namespace ctl
