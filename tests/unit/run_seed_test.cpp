// Proposal keys of runs started together: the generator's seed must differ
// between processes started in the same second, and so must the keys drawn.
#include "app/run_seed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "optimise/proposal.h"

namespace {

std::set<std::string> Keys(unsigned seed, int count) {
  std::srand(seed);
  std::set<std::string> keys;
  for (int i = 0; i < count; ++i) keys.insert(DrawProposalKey());
  return keys;
}

TEST(RunSeed, RunsStartedTogetherDrawDifferentKeys) {
  constexpr int64_t kSecond = 1796738400;
  // Every process id of a busy machine gets a seed of its own at one clock
  // reading.
  std::set<unsigned> seeds;
  for (int64_t pid = 1; pid <= 50000; ++pid) seeds.insert(RunSeed(kSecond, 123456789, pid));
  EXPECT_EQ(seeds.size(), 50000u);

  // Neighbouring processes in one second, and one process id reused a moment
  // later, share no key.
  const std::set<std::string> first = Keys(RunSeed(kSecond, 1000, 4711), 500);
  for (unsigned other : {RunSeed(kSecond, 1000, 4712), RunSeed(kSecond, 2000, 4711),
                         RunSeed(kSecond + 1, 1000, 4711)}) {
    for (const std::string& key : Keys(other, 500)) EXPECT_EQ(first.count(key), 0u) << key;
  }
}

}  // namespace
