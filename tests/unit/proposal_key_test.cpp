#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "optimise/proposal.h"

namespace {

TEST(ProposalKey, DrawsAreWrittenInReverseOrder) {
  EXPECT_EQ(ProposalKey(7, 21, 305, 12), "OPTVS12305217");
  EXPECT_EQ(ProposalKey(0, 0, 0, 0), "OPTVS0000");
  EXPECT_EQ(ProposalKey(32767, 32767, 32767, 32767), "OPTVS32767327673276732767");
}

TEST(ProposalKey, DrawnKeysFollowTheSeedAndStayInRange) {
  std::srand(4711);
  const std::string first = DrawProposalKey();
  const std::string second = DrawProposalKey();
  std::srand(4711);
  EXPECT_EQ(DrawProposalKey(), first);
  EXPECT_NE(first, second);
  for (int seed = 0; seed < 200; ++seed) {
    std::srand(static_cast<unsigned>(seed));
    const std::string key = DrawProposalKey();
    ASSERT_EQ(key.rfind("OPTVS", 0), 0u) << key;
    EXPECT_GE(key.size(), 9u) << key;
    EXPECT_LE(key.size(), 25u) << key;  // fits the 35-character key column
    EXPECT_EQ(key.find_first_not_of("0123456789", 5), std::string::npos) << key;
  }
}

}  // namespace
