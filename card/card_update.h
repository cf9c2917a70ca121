// The commit: every table rewritten, the data files deleted, renamed, copied and moved to
// match, and the card read back.
#pragma once

#include <string>
#include <vector>

#include "card/card_load.h"

namespace sdmate {

struct UpdateResult {
  bool ran = false;                   // false: refused (nothing loaded, or a table unreadable)
  std::vector<std::string> failures;  // operations that failed, for the final warning
  LoadResult reload;
};

// Writes to the drive that was loaded (model.drive), whatever is chosen since, and reloads it.
// Ends with the completion message, or with a warning listing what failed.
UpdateResult UpdateCard(CardModel& model, bool& backupAdvice, Files& files, Drives& drives,
                        Feedback& feedback);

}  // namespace sdmate
