// libFuzzer's bytes as a card: tables whole or built from fuzzed header directories, stems,
// extensions and titles, then edits, a commit on the in-memory card, and the checks that nothing
// outside the card's handset folders changed and that no file an item kept was lost.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/card_scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const sdmate::test::ScenarioResult result = sdmate::test::RunCardScenario(data, size);
  if (!result.ok) {
    std::ostringstream trace;
    sdmate::test::RunCardScenario(data, size, &trace);
    std::fprintf(stderr, "%s\n%s\n", result.problem.c_str(), trace.str().c_str());
    std::abort();
  }
  return 0;
}
