// Short readings of the job's error numbers: the verdicts of a person against
// a target slot (0, 1412 .. 1541) and the staffing errors of a slot
// (1601 .. 1605), in German (UTF-8, with umlauts) or English; and the plain
// ASCII spelling of a German text for outputs that cannot show umlauts.
#pragma once

#include <string>

namespace ctl {

enum class Language { kGerman, kEnglish };

std::string VerdictReading(long number, Language language);

// "ä" -> "ae", "Ü" -> "Ue", "ß" -> "ss" and so on; other bytes unchanged.
std::string AsciiFold(const std::string& utf8);

}  // namespace ctl
