#include "app/run_seed.h"

#include <unistd.h>

#include <ctime>

namespace {

constexpr unsigned kPidBits = 22;

// A 64-bit mixing step (the finaliser of splitmix64): nearby clock values
// give unrelated results.
uint64_t Mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

}  // namespace

unsigned RunSeed(int64_t seconds, int64_t nanoseconds, int64_t pid) {
  const uint64_t clock =
      Mix(static_cast<uint64_t>(seconds) * 1000000000ULL + static_cast<uint64_t>(nanoseconds));
  const uint64_t pid_part = static_cast<uint64_t>(pid) & ((1ULL << kPidBits) - 1);
  return static_cast<unsigned>(((clock << kPidBits) | pid_part) & 0xFFFFFFFFULL);
}

unsigned CurrentRunSeed() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return RunSeed(now.tv_sec, now.tv_nsec, getpid());
}
