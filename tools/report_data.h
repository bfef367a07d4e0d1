// What a run left behind for a planner, read from the database for one plan
// group or all of them and a period: the move proposals, the staffing errors
// that remain, the staffing matrix with two states per slot (now, and if the
// open proposals are accepted) and a summary per plan group. Only SELECT
// statements are issued. Plain data; the report owns all of it by value.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "odbc_session.h"
#include "proposal_status.h"

namespace ctl {

struct SlotRef {
  std::string eso, esa, bsz;
  long von = 0, bis = 0;  // minutes since midnight
  long asw = 0;           // assignment type of the slot
};

struct ProposalLine {
  std::string key, plg, pnr, day;  // day yyyymmdd
  SlotRef from, to;                // the slot the person leaves, the one joined
  long fnr = 0;                    // verdict
  long status = kProposalOpen;
  std::string created;  // BdkDat as yyyy-mm-dd hh:mm:ss, empty when NULL
};

struct ErrorLine {
  std::string plg, day;
  SlotRef slot;
  long fnr = 0;
  std::string user, job_text_1, job_text_2;  // ErrErf, ErrJbd, ErrJbk
};

struct SlotCell {
  std::string plg, day;
  SlotRef slot;
  long sol = 0, min = 0, max = 0, ist = 0, fkt = 0;
  long htg = 0, htv = 0, htn = 0;
  long effective = 0;             // BsmIst - BsmHtg - min(BsmHtv, BsmHtn)
  long leaving = 0, joining = 0;  // BsmOva, BsmOve (0 without the columns)
  long objections_in = 0;         // open proposals joining with a verdict other than 0
};

// The figures of one plan group; README and legend define each once.
struct GroupSummary {
  std::string plg, text;
  std::string run_begin;  // PlgBeg as yyyy-mm-dd hh:mm:ss, empty when NULL
  long proposals = 0;     // open proposals
  long errors = 0;        // error rows
  long slots = 0, short_slots = 0, surplus_slots = 0;  // the latter two: now
  long short_after = 0, surplus_after = 0;             // if the proposals are accepted
  long closed_by_objections = 0;          // gaps that only proposals with objections close
  std::map<long, long> by_verdict;        // verdict -> open proposals
  std::map<long, long> errors_by_number;  // error number -> error rows
  // The distinct user / job text 1 / job text 2 of the group's error rows.
  std::set<std::vector<std::string>> runs;
};

struct ReportData {
  std::string schema, plan_group, from, to;  // plan_group empty: all
  std::string generated;                     // yyyy-mm-ddThh:mm:ss+hh:mm, local
  long status = kProposalOpen;               // which proposals are listed
  std::vector<GroupSummary> groups;
  std::vector<ProposalLine> proposals;  // those of the status asked for
  std::vector<ErrorLine> errors;
  std::vector<SlotCell> slots;
};

// Reads everything; false with `error` when a statement fails. `plan_group`
// empty reads all plan groups; from/to are yyyymmdd; `status` chooses the
// listed proposals (the figures always count the open ones).
bool ReadReport(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                const std::string& from, const std::string& to, ReportData& out, std::string& error,
                long status = kProposalOpen);

// The last day (yyyymmdd) in [from, to] that has staffing rows, or `to` when
// none has; false with `error` when the statement fails.
bool LastStaffedDay(OdbcSession& session, const std::string& schema, const std::string& plan_group,
                    const std::string& from, const std::string& to, std::string& last,
                    std::string& error);

// "hh:mm" of a minute of the day.
std::string ClockText(long minute);
// "dd.mm.yyyy" of yyyymmdd (the text itself when it is not 8 characters).
std::string DayText(const std::string& yyyymmdd);
// "yyyy-mm-dd" of yyyymmdd (the text itself when it is not 8 characters).
std::string IsoDay(const std::string& yyyymmdd);

}  // namespace ctl
