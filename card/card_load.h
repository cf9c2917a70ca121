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

// A folder's items from the bytes of its table (folder `number`), as the load reads them:
// entries whose name is not a plain name or whose file is missing are dropped, at most 128 are
// kept. The notes say what the user is to be told.
struct TableNotes {
  bool untrustedHeader = false;
  bool badName = false;
  bool cutOff = false;
};
FolderSlot FolderFromTable(MediaKind kind, char drive, int number, const std::string& bytes,
                           Files& files, TableNotes& notes);

// The whole load: drive check, backup advice (shown when backupAdvice is set; cleared at the
// end), gauge, the three kinds in sequence, folder 1 added for a kind without tables. The
// model is replaced as a whole; model.drive is the loaded drive.
LoadResult LoadCard(CardModel& model, char drive, bool& backupAdvice, Files& files, Drives& drives,
                    Feedback& feedback, LoadOptions options = {});

}  // namespace sdmate
