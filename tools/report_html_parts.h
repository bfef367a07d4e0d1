// Pieces of the report page shared by its parts: escaping, the words of the
// page in both languages, and the per-plan-group block (grid and proposals).
#pragma once

#include <string>

#include "report_data.h"
#include "verdicts.h"

namespace ctl::html {

std::string Escape(const std::string& s);
std::string SlotText(const SlotRef& s);

struct Words {
  const char *title, *group, *all, *period, *generated, *listed, *day, *proposals_open,
      *proposals_accepted, *proposals_rejected, *proposals_all, *errors, *none, *person, *from, *to,
      *verdict, *status, *command, *slot, *error, *summary, *name, *legend, *run, *run_begin, *user,
      *job_text_1, *job_text_2, *filter;
  const char *slots, *short_now, *short_after, *surplus_now, *surplus_after, *objection_gaps,
      *open_proposals, *error_rows;
  // Definitions of the figures above, in the same order.
  const char* definitions[8];
  const char *cell_counts, *cell_after, *cell_moves, *marker_short, *marker_target, *marker_surplus,
      *marker_objection, *cell_title;
  const char *state_open, *state_accepted, *state_rejected, *state_other;
  const char *on_target, *tooltip;
};

const Words& WordsFor(Language language);

// The CSS class of a slot class number: "c0", "c1601" .. "c1605".
std::string ClassName(int number);
// The marker of a state after acceptance: short, on target or surplus.
const char* Marker(int number);

// The grid of one plan group and its proposal list.
void GroupBlock(std::string& out, const ReportData& d, const GroupSummary& g, Language language);

}  // namespace ctl::html
