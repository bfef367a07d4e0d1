#include "proposal_list.h"

#include <cstdio>

#include "db/sql_text.h"
#include "proposal_status.h"
#include "report_machine.h"

namespace ctl {
namespace {

std::string SlotText(const SlotRef& s) {
  return s.eso + "/" + s.esa + " " + s.bsz + " " + ClockText(s.von) + "-" + ClockText(s.bis);
}

}  // namespace

bool ReadProposals(OdbcSession& session, const std::string& schema, const ProposalFilter& filter,
                   std::vector<ProposalEntry>& out, std::string& error) {
  std::string sql = db::SqlText(
      "SELECT BdkKey, convert(char(8), BdkBdt, 112), BdkPnr, BdkPlg, BdkEso, BdkEsa, BdkBsz, "
      "BdkSzv, BdkSzb, BdkOso, BdkOsa, BdkOsz, BdkOsv, BdkOsb, BdkFnr, BdkSta, "
      "convert(char(19), BdkDat, 120) FROM %s.Kvt735Bdk WHERE 1 = 1",
      {schema});
  if (!filter.plan_group.empty()) sql += db::SqlText(" AND BdkPlg = '%s'", {filter.plan_group});
  if (!filter.from.empty()) {
    sql += db::SqlText(" AND BdkBdt >= convert(datetime, '%s', 112)", {filter.from});
  }
  if (!filter.to.empty()) {
    sql += db::SqlText(" AND BdkBdt <= convert(datetime, '%s', 112)", {filter.to});
  }
  if (filter.verdict)
    sql += db::SqlText(" AND BdkFnr = %ld", {static_cast<int32_t>(*filter.verdict)});
  if (filter.status)
    sql += db::SqlText(" AND BdkSta = %ld", {static_cast<int32_t>(*filter.status)});
  sql += " ORDER BY BdkPlg, BdkBdt, BdkKey";
  std::vector<Row> rows;
  if (!session.Query(sql, rows)) {
    error = "cannot read the proposals: " + session.error().Text();
    return false;
  }
  out.clear();
  for (const Row& r : rows) {
    ProposalEntry p;
    p.key = CellText(r, 0);
    p.day = CellText(r, 1);
    p.person = CellText(r, 2);
    p.plan_group = CellText(r, 3);
    p.from =
        SlotRef{CellText(r, 4), CellText(r, 5), CellText(r, 6), CellNumber(r, 7), CellNumber(r, 8)};
    p.to = SlotRef{CellText(r, 9), CellText(r, 10), CellText(r, 11), CellNumber(r, 12),
                   CellNumber(r, 13)};
    p.verdict = CellNumber(r, 14);
    p.status = CellNumber(r, 15);
    p.created = CellText(r, 16);
    out.push_back(std::move(p));
  }
  return true;
}

std::string ProposalsText(const std::vector<ProposalEntry>& lines, Language language) {
  std::string out;
  char buf[512];
  std::snprintf(buf, sizeof buf, "%-25s %-10s %-8s %-5s %-27s %-27s %-8s %-19s %s\n", "KEY", "DAY",
                "PERSON", "GROUP", "FROM", "TO", "STATUS", "CREATED", "VERDICT");
  out += buf;
  for (const ProposalEntry& p : lines) {
    std::snprintf(buf, sizeof buf, "%-25s %-10s %-8s %-5s %-27s %-27s %-8s %-19s %ld %s\n",
                  p.key.c_str(), DayText(p.day).c_str(), p.person.c_str(), p.plan_group.c_str(),
                  SlotText(p.from).c_str(), SlotText(p.to).c_str(),
                  ProposalStatusName(p.status).c_str(), p.created.c_str(), p.verdict,
                  VerdictReading(p.verdict, language).c_str());
    out += buf;
  }
  out += std::to_string(lines.size()) + " proposal(s)\n";
  return out;
}

std::string ProposalsJson(const std::vector<ProposalEntry>& lines, Language language) {
  auto slot = [](const SlotRef& s) {
    return "{\"location\": " + JsonString(s.eso) + ", \"type\": " + JsonString(s.esa) +
           ", \"slot\": " + JsonString(s.bsz) + ", \"start\": " + std::to_string(s.von) +
           ", \"end\": " + std::to_string(s.bis) + "}";
  };
  std::string out = "[";
  for (size_t i = 0; i < lines.size(); ++i) {
    const ProposalEntry& p = lines[i];
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"key\": " + JsonString(p.key) + ", \"day\": " + JsonString(p.day) +
           ", \"person\": " + JsonString(p.person) +
           ", \"plan_group\": " + JsonString(p.plan_group) + ", \"from\": " + slot(p.from) +
           ", \"to\": " + slot(p.to) + ", \"verdict\": " + std::to_string(p.verdict) +
           ", \"verdict_text\": " + JsonString(VerdictReading(p.verdict, language)) +
           ", \"status\": " + JsonString(ProposalStatusName(p.status)) +
           ", \"created\": " + JsonString(p.created) + "}";
  }
  out += lines.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace ctl
