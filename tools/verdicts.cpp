#include "verdicts.h"

namespace ctl {
namespace {

struct Reading {
  long number;
  const char* german;
  const char* english;
};

constexpr Reading kReadings[] = {
    {0, "keine Einwaende", "no objection"},
    {1412, "kein passendes Arbeitszeitfenster", "no matching working window"},
    {1501, "Dienst ragt ueber das Arbeitszeitfenster", "slot reaches beyond the working window"},
    {1511, "Qualifikation fehlt", "qualification missing"},
    {1521, "Tageshoechstarbeitszeit ueberschritten", "daily maximum working time exceeded"},
    {1531, "Ruhezeit unterschritten", "rest time too short"},
    {1541, "Ueberschneidung mit anderem Einsatz", "overlaps another assignment"},
    {1601, "unbesetzt", "nobody on duty"},
    {1602, "unterbesetzt, unter Mindestbesetzung", "short of staff, below the minimum"},
    {1603, "unterbesetzt", "short of staff, at or above the minimum"},
    {1604, "ueberbesetzt", "surplus staff, within the maximum"},
    {1605, "ueberbesetzt, ueber Hoechstbesetzung", "surplus staff, above the maximum"},
};

}  // namespace

std::string VerdictReading(long number, Language language) {
  for (const Reading& r : kReadings) {
    if (r.number == number) return language == Language::kGerman ? r.german : r.english;
  }
  return language == Language::kGerman ? "unbekannte Fehlernummer" : "unknown error number";
}

}  // namespace ctl
