// Comparison of a target slot's time window with a person's working window.
// Windows are begin and end minutes since midnight on the 1440-minute clock;
// an end below its begin means the window ends on the following day.
#pragma once

#include <cstdint>

// Classes of the relation between target window a-b and working window c-d:
//   1 identical                      6 same start, target ends earlier
//   2 target starts earlier, ends later   7 target starts later, same end
//   3 same start, target ends later  8 target overlaps the window's end
//   4 target starts earlier, same end     9 target overlaps the window's beginning
//   5 target lies inside the window
// Returns true when the windows match. `window_class` is 0 when the target
// ends before the window begins or begins after it ends (no match), else the
// class. Classes 8 and 9 match only when the shared part covers at least half
// of the target (the half truncated).
bool Zeitfenster_Vergleich(int32_t a, int32_t b, int32_t c, int32_t d, int32_t& window_class);

// True for the matching classes whose target reaches beyond the window.
bool ReachesBeyondWindow(int32_t window_class);
