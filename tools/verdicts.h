// Short readings of the job's error numbers: the verdicts of a person against
// a target slot (0, 1412 .. 1541) and the staffing errors of a slot
// (1601 .. 1605), in German or English.
#pragma once

#include <string>

namespace ctl {

enum class Language { kGerman, kEnglish };

std::string VerdictReading(long number, Language language);

}  // namespace ctl
