// The seed of the process-wide pseudo-random generator that proposal keys are
// drawn from (std::rand). Runs started in the same second must not draw the
// same keys, so the seed is more than the time in seconds: the process id
// fills its low 22 bits (Linux never hands out larger ids), so two processes
// alive at the same time always get different seeds, and the seconds and the
// sub-second clock fill the rest, so that a run restarted under a recycled id
// still starts elsewhere.
#pragma once

#include <cstdint>

// The seed for a process `pid` started at `seconds` and `nanoseconds`.
unsigned RunSeed(int64_t seconds, int64_t nanoseconds, int64_t pid);

// RunSeed of this process now.
unsigned CurrentRunSeed();
