// The tests that a plan group's switch set turns on, run by IndikatorPrf on
// the figures that Prefix_IndikatorPrf prepared. Each returns true on pass;
// on fail it writes its error number into the person record.
#pragma once

#include <cstdint>

#include "optimise/person_record.h"

// Error numbers of a person against a target slot.
namespace fnr {
constexpr int32_t kNone = 0;
constexpr int32_t kNoWindow = 1412;       // no working window matches the target
constexpr int32_t kBeyondWindow = 1501;   // a window matches, the target reaches beyond it
constexpr int32_t kQualification = 1511;  // none of the listed qualifications held
constexpr int32_t kWorkingTime = 1521;    // day working minutes above the daily maximum
constexpr int32_t kRestTime = 1531;       // rest before or after the target too short
constexpr int32_t kOverlap = 1541;        // another assignment overlaps the target
}  // namespace fnr

// The person holds at least one of the qualifications that the target's
// deployment type lists (a type listing none needs none).
bool Qualifikationen_OK(PnrSatz& person, const BssSatz& target);

// The day working minutes stay within PgzAzk hours; the quick figure decides
// unless it is above the limit, then the full computation over the day does.
bool Arbeitszeit_OK(PnrSatz& person);

// The gaps from the previous end to the target's start and from the target's
// end to the next start respect the rest time PgzRzk hours.
bool Ruhezeit_OK(PnrSatz& person, const BssSatz& target);

// No other assignment overlaps the target.
bool Ueberschneidung_OK(PnrSatz& person);
