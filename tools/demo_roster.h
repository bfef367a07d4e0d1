// The demo roster: a complete database for the job that starts on a given
// day, generated from a seed (same seed and start day, same content).
//
// It holds a base calendar from a year before the start to two years after
// it (weekday numbers 1 Monday .. 7 Sunday); three plan groups with the
// optimisation levels 2 ("00001"), 1 ("00002") and 3 ("00003") and their
// check switches on; their locations and deployment types with early
// (06:00-14:00), late (14:00-22:00) and night (22:00-06:00) slots, slot
// definitions and staffing targets; a few hundred persons with assignment
// rules, group settings, day plans, working-time models, substitute models
// and qualifications; and assignments from the day before the start over
// `days` days, which leave some slots short and others in surplus. The
// staffing matrix is counted from those assignments. On the start day plan
// group 00001 has one short late slot whose only surplus slot of the same
// location is an early slot of another deployment type with three movable
// persons, the first of them bound by the strict rest rule.
#pragma once

#include <cstdint>

#include "demo_data.h"

namespace ctl {

struct DemoOptions {
  uint64_t seed = 1;
  int days = 21;   // days of the staffing matrix, from the start day on (1 .. 366)
  long start = 0;  // day number of the start day (see civil_date.h)
};

DemoDatabase BuildDemoDatabase(const DemoOptions& options);

}  // namespace ctl
