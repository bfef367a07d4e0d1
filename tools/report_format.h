// The run report as plain text for a terminal and as one self-contained
// HTML page (no scripts, no external resources): the staffing matrix of
// each plan group as a day-by-slot grid coloured by the deviation figure,
// the open proposals beside it and the remaining staffing errors below.
#pragma once

#include <string>

#include "report_data.h"
#include "verdicts.h"

namespace ctl {

std::string ReportText(const ReportData& data, Language language);
std::string ReportHtml(const ReportData& data, Language language);

// The CSS class of a grid cell for a deviation figure: "short-hard" (below
// the minimum), "short", "target", "surplus", "surplus-hard" (above the
// maximum).
const char* DeviationClass(long fkt);

}  // namespace ctl
