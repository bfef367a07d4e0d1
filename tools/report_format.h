// The run report as plain text for a terminal and as one self-contained
// HTML page (no scripts, no external resources): per plan group the staffing
// matrix as a day-by-slot grid (colour: the slot now; marker: the slot if
// the open proposals are accepted), the proposals under it with the commands
// that accept or reject them, a summary, a legend that defines every figure,
// and the remaining staffing errors with a filter by plan group, day and
// error number.
#pragma once

#include <string>

#include "report_data.h"
#include "verdicts.h"

namespace ctl {

// German text is UTF-8 with `umlauts` (the default), otherwise spelt in
// ASCII ("ae") for terminals that cannot show them.
std::string ReportText(const ReportData& data, Language language, bool umlauts = true);
std::string ReportHtml(const ReportData& data, Language language);

// The band of a stored deviation figure BsmFkt: "short-hard" (below the
// minimum), "short", "target", "surplus", "surplus-hard" (above the
// maximum). Grid cells carry it as a class beside their state classes.
const char* DeviationClass(long fkt);

// The command line, quoted for a POSIX shell, that accepts ("accept") or
// rejects ("reject") the proposal with `key`.
std::string ProposalCommand(const char* action, const std::string& key);

}  // namespace ctl
