// One card made from a stream of bytes, loaded, edited and committed in memory, and what must
// hold afterwards: nothing outside the card's handset folders changed, no file that an item kept
// was lost, and when the commit reported no failure, the card lists exactly the kept files. The
// fuzzer feeds it libFuzzer's bytes; the randomized tests feed it a seeded generator's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace sdmate::test {

struct ScenarioResult {
  bool ok = true;
  std::string problem;  // what did not hold, for the report
  bool committed = false;
  std::size_t failures = 0;
};

// trace, when given, receives the card before and after, the edits and the commit's failures.
ScenarioResult RunCardScenario(const std::uint8_t* data, std::size_t size,
                               std::ostream* trace = nullptr);

}  // namespace sdmate::test
