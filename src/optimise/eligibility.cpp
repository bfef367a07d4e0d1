#include "optimise/eligibility.h"

#include "db/plan_group_table.h"
#include "log/run_log.h"
#include "optimise/day_working_time.h"
#include "optimise/eligibility_checks.h"
#include "optimise/eligibility_tables.h"
#include "optimise/neighbour_check.h"
#include "optimise/person_day.h"
#include "optimise/rest_time.h"
#include "optimise/slot_time.h"
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

bool Qualifikationen_OK(PnrSatz& person, const BssSatz& target) {
  Qea_Qlf2Esa_Open(target.BssEsa.c_str());
  FixedText<6> qualification;
  int32_t rc = Qea_Qlf2Esa_Read(qualification);
  bool passed = true;
  if (rc == 0) {
    passed = false;
    while (rc == 0) {
      if (Qzp_PnrQfk_Read(person.pnr.c_str(), qualification.c_str(), person.date.c_str()) == 0) {
        passed = true;
        break;
      }
      rc = Qea_Qlf2Esa_Read(qualification);
    }
  }
  Qea_Qlf2Esa_Close();
  if (rc != 0 && rc != 100) {
    runlog::Log_Printf("-Fehler: Qualifikationen_OK->Qea_Qlf2Esa_Read() RC: %ld! ESA %s",
                       static_cast<long>(rc), target.BssEsa.c_str());
  }
  if (!passed) person.error_number = fnr::kQualification;
  return passed;
}

bool Arbeitszeit_OK(PnrSatz& person) {
  const int64_t limit = static_cast<int64_t>(person.PgzAzk) * 60;
  if (person.day_minutes <= limit) return true;
  TagArbZt_Ermitteln(person);
  if (person.day_minutes <= limit) return true;
  person.error_number = fnr::kWorkingTime;
  return false;
}

bool Ruhezeit_OK(PnrSatz& person, const BssSatz& target) {
  const int64_t rest = static_cast<int64_t>(person.PgzRzk) * 60;
  bool too_short = false;
  if (!person.previous_end.empty()) {
    FixedText<15> target_start;
    DateAndMinute(person.date.c_str(), target.BssVon, target_start);
    const int64_t gap = RestGapMinutes(target_start.c_str(), person.previous_end.c_str());
    if (RestGapTooShort(gap, rest, person.PbvAwp)) too_short = true;
  }
  if (!person.next_start.empty()) {
    FixedText<15> target_start;
    FixedText<15> target_end;
    WindowDateTimesOnDay(person.date.c_str(), target.BssVon, target.BssBis, target_start,
                         target_end);
    const int64_t gap = RestGapMinutes(person.next_start.c_str(), target_end.c_str());
    if (RestGapTooShort(gap, rest, person.PbvAwp)) too_short = true;
  }
  if (too_short) person.error_number = fnr::kRestTime;
  return !too_short;
}

bool Ueberschneidung_OK(PnrSatz& person) {
  if (person.overlap != 1) return true;
  person.error_number = fnr::kOverlap;
  return false;
}
