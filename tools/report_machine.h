// The run report for other programs: one JSON object (described by
// tools/report.schema.json) or CSV tables, one per array of that object
// (slots, proposals, errors, summary). Texts are UTF-8; a byte that is not
// valid UTF-8 becomes U+FFFD. Readings of numbers come in `language`.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report_data.h"
#include "verdicts.h"

namespace ctl {

std::string ReportJson(const ReportData& data, Language language);

// (table name, CSV text with a header line) for slots, proposals, errors and
// summary, in that order. Fields as in the JSON; the from/to slots of a
// proposal and the per-number counts of the summary are flattened.
std::vector<std::pair<std::string, std::string>> ReportCsv(const ReportData& data,
                                                           Language language);

// `text` with every invalid UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

// `text` as a quoted JSON string, invalid UTF-8 replaced by U+FFFD.
std::string JsonString(const std::string& text);

// The time of generation as yyyy-mm-ddThh:mm:ss+hh:mm, local time.
std::string GenerationTime();

}  // namespace ctl
