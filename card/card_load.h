// Reading the handset's tables from the card into the model.
#pragma once

#include <array>

#include "core/card_model.h"
#include "core/feedback.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace sdmate {

struct LoadOptions {
  bool askRemovable = true;  // ask before using a drive that is not removable
};

struct LoadResult {
  bool loaded = false;                // false: the drive check stopped it; nothing changed
  std::array<bool, 3> folderAdded{};  // per kind: no table on the card, folder 1 was added
  // Every table that exists could be read; otherwise the update refuses to run (it would
  // rewrite the unread folder empty).
  bool complete = true;
  bool anyFolderAdded() const { return folderAdded[0] || folderAdded[1] || folderAdded[2]; }
};

// The whole load: drive check, backup advice (shown when backupAdvice is set; cleared at the
// end), gauge, the three kinds in sequence, folder 1 added for a kind without tables. The
// model is replaced as a whole; model.drive is the loaded drive.
LoadResult LoadCard(CardModel& model, char drive, bool& backupAdvice, Files& files, Drives& drives,
                    Feedback& feedback, LoadOptions options = {});

}  // namespace sdmate
