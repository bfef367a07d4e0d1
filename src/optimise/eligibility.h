// Eligibility of a person for a target slot. The checks never refuse a
// person: their verdict is the person record's error number, which the move
// proposal carries in BdkFnr. Zeitfenster_OK must run before IndikatorPrf.
#pragma once

#include <cstdint>

#include "optimise/person_record.h"

// Compares the target window with the person's working window of the day.
// Result 1 pass, 0 fail (the error number is then written).
int32_t Zeitfenster_OK(PnrSatz& person, int32_t target_begin, int32_t target_end);

// Runs the tests that the plan group's switch set turns on.
int32_t IndikatorPrf(PnrSatz& person, const BssSatz& target, int32_t switch_set);
