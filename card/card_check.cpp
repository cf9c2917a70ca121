// The card check and the gauge's set-up.
#include "card/card_check.h"

namespace sdmate {

int DriveNumberOf(std::string_view path) {
  if (path.empty()) return 0;
  char c = path[0];
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  return 0;
}

bool CheckCard(char, Drives&, Feedback&, bool) { return false; }
void SetUpGauge(DiskGauge&, char, Drives&) {}

}  // namespace sdmate
