// What a run left behind for a planner, read from the database for one plan
// group or all of them and a period: the open move proposals, the staffing
// errors that remain, the staffing matrix and a count per plan group. Only
// SELECT statements are issued.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "odbc_session.h"

namespace ctl {

struct SlotRef {
  std::string eso, esa, bsz;
  long von = 0, bis = 0;  // minutes since midnight
};

struct ProposalLine {
  std::string plg, pnr, day;  // day yyyymmdd
  SlotRef from, to;
  long fnr = 0;
};

struct ErrorLine {
  std::string plg, day;
  SlotRef slot;
  long fnr = 0;
};

struct SlotCell {
  std::string plg, day;
  SlotRef slot;
  long sol = 0, min = 0, max = 0, ist = 0, fkt = 0;
  long effective = 0;             // BsmIst - BsmHtg - min(BsmHtv, BsmHtn)
  long leaving = 0, joining = 0;  // open proposals (0 without the columns)
};

struct GroupSummary {
  std::string plg, text;
  long proposals = 0, errors = 0, short_slots = 0, surplus_slots = 0;
  std::map<long, long> by_verdict;  // error number -> proposals
};

struct ReportData {
  std::string schema, plan_group, from, to;  // plan_group empty: all
  std::vector<GroupSummary> groups;
  std::vector<ProposalLine> proposals;
  std::vector<ErrorLine> errors;
  std::vector<SlotCell> slots;
};

// Reads everything; false with `error` when a statement fails. `plan_group`
// empty reads all plan groups; from/to are yyyymmdd.
bool ReadReport(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                const std::string& from, const std::string& to, ReportData& out,
                std::string& error);

// "hh:mm" of a minute of the day.
std::string ClockText(long minute);
// "dd.mm.yyyy" of yyyymmdd (the text itself when it is not 8 characters).
std::string DayText(const std::string& yyyymmdd);

}  // namespace ctl
