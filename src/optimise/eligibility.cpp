#include "optimise/eligibility.h"

#include "db/plan_group_table.h"
#include "optimise/eligibility_checks.h"
#include "optimise/eligibility_tables.h"
#include "optimise/neighbour_check.h"
#include "optimise/person_day.h"
#include "optimise/time_window.h"

namespace {

// Compares the target with the person's current working window; on a match
// sets the error number for a target reaching beyond the window.
bool MatchesWindow(PnrSatz& person, int32_t target_begin, int32_t target_end) {
  int32_t window_class = 0;
  if (!Zeitfenster_Vergleich(target_begin, target_end, person.window_begin, person.window_end,
                             window_class)) {
    return false;
  }
  if (ReachesBeyondWindow(window_class)) person.error_number = fnr::kBeyondWindow;
  return true;
}

// Tries the substitute models of the person's day in turn; the first one
// whose window matches stays in the record.
bool MatchesSubstituteWindow(PnrSatz& person, int32_t target_begin, int32_t target_end) {
  bool matched = false;
  Ers_AzvZtg_Open(person);
  while (!matched && Ers_AzvZtg_Read(person) == 0) {
    SelectWorkingWindow(person, person.PbvZrm);
    person.error_number = fnr::kNone;
    matched = MatchesWindow(person, target_begin, target_end);
  }
  Ers_AzvZtg_Close();
  return matched;
}

}  // namespace

int32_t Zeitfenster_OK(PnrSatz& person, int32_t target_begin, int32_t target_end) {
  person.error_number = fnr::kNone;
  bool matched = MatchesWindow(person, target_begin, target_end);
  if (!matched && person.PbvAwp == 1) {
    matched = MatchesSubstituteWindow(person, target_begin, target_end);
  }
  if (!matched) person.error_number = fnr::kNoWindow;
  return person.error_number == fnr::kNone ? 1 : 0;
}

int32_t IndikatorPrf(PnrSatz& person, const BssSatz& target, int32_t switch_set) {
  Prefix_IndikatorPrf(person, target);

  PlgRow switches;
  switches.PlgPlg = target.BssPlg;
  if (Plg_PKey_Read(switches, switch_set) != 0) return 1;

  bool passed = true;
  if (switches.PlgQu == 1 && !Qualifikationen_OK(person, target)) passed = false;
  if (switches.PlgAr == 1 && !Arbeitszeit_OK(person)) passed = false;
  if (switches.PlgRu == 1 && !Ruhezeit_OK(person, target)) passed = false;
  if (switches.PlgMe == 1 && !Ueberschneidung_OK(person)) passed = false;
  return passed ? 1 : 0;
}
