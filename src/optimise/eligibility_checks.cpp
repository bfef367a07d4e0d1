#include "optimise/eligibility_checks.h"

#include "log/run_log.h"
#include "optimise/day_working_time.h"
#include "optimise/eligibility_tables.h"
#include "optimise/rest_time.h"
#include "optimise/slot_time.h"

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
