// Thousands of cards made from seeded random bytes, each loaded, edited and committed in
// memory: permuted headers, short and hostile stems, headers naming other folders, edits of
// every kind. After each commit nothing outside the handset's folders changed and no file an
// item kept was lost.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "tests/support/card_scenario.h"

namespace sdmate::test {
namespace {

TEST(CommitScenarioTest, RandomCardsKeepEveryKeptFileAndTouchNothingElse) {
  std::mt19937 random(20261208);
  int committed = 0;
  int clean = 0;
  for (int card = 0; card < 4000; ++card) {
    std::vector<std::uint8_t> bytes(std::uniform_int_distribution<std::size_t>(16, 700)(random));
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    const ScenarioResult result = RunCardScenario(bytes.data(), bytes.size());
    if (!result.ok) {
      std::ostringstream trace;
      RunCardScenario(bytes.data(), bytes.size(), &trace);
      FAIL() << "card " << card << ": " << result.problem << '\n' << trace.str();
    }
    committed += result.committed ? 1 : 0;
    clean += result.committed && result.failures == 0 ? 1 : 0;
  }
  // The scenarios reach the commit, and most commits end without a failure.
  EXPECT_GT(committed, 3000);
  EXPECT_GT(clean, 2000);
}

}  // namespace
}  // namespace sdmate::test
