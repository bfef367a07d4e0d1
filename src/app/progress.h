// Progress of a run for a person watching at a terminal: one line on
// standard error, rewritten in place, with the plan group and the day being
// worked on and the number of proposals recorded so far. When standard error
// is not a terminal (the job started by another program) nothing at all is
// written. The run log is not touched.
#pragma once

#include <cstddef>
#include <string>

// A new plan group begins.
void Progress_PlanGroup(const char* plg);
// The sweep moves on to a day (yyyymmdd).
void Progress_Day(const char* date);
// A proposal was recorded.
void Progress_Proposal();
// The run is over: ends the progress line if one was shown.
void Progress_End();

// The text of the progress line for the given state (without line control).
std::string Progress_Text(const char* plg, const char* date, long proposals);
