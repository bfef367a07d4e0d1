#include "verdicts.h"

namespace ctl {
namespace {

struct Reading {
  long number;
  const char* german;
  const char* english;
};

constexpr Reading kReadings[] = {
    {0, "keine Einwände", "no objection"},
    {1412, "kein passendes Arbeitszeitfenster", "no matching working window"},
    {1501, "Dienst ragt über das Arbeitszeitfenster", "slot reaches beyond the working window"},
    {1511, "Qualifikation fehlt", "qualification missing"},
    {1521, "Tageshöchstarbeitszeit überschritten", "daily maximum working time exceeded"},
    {1531, "Ruhezeit unterschritten", "rest time too short"},
    {1541, "Überschneidung mit anderem Einsatz", "overlaps another assignment"},
    {1601, "unbesetzt", "nobody on duty"},
    {1602, "unterbesetzt, unter Mindestbesetzung", "short of staff, below the minimum"},
    {1603, "unterbesetzt", "short of staff, at or above the minimum"},
    {1604, "überbesetzt", "surplus staff, within the maximum"},
    {1605, "überbesetzt, über Höchstbesetzung", "surplus staff, above the maximum"},
};

}  // namespace

std::string VerdictReading(long number, Language language) {
  for (const Reading& r : kReadings) {
    if (r.number == number) return language == Language::kGerman ? r.german : r.english;
  }
  return language == Language::kGerman ? "unbekannte Fehlernummer" : "unknown error number";
}

std::string AsciiFold(const std::string& utf8) {
  static const struct {
    const char* from;
    const char* to;
  } kFolds[] = {{"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"}, {"Ä", "Ae"},
                {"Ö", "Oe"}, {"Ü", "Ue"}, {"ß", "ss"}};
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    bool folded = false;
    for (const auto& f : kFolds) {
      if (utf8.compare(i, 2, f.from) == 0) {
        out += f.to;
        i += 2;
        folded = true;
        break;
      }
    }
    if (!folded) out += utf8[i++];
  }
  return out;
}

}  // namespace ctl
