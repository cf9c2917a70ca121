// Staged operations on the folders of a kind: add, delete and retitle.
#pragma once

#include <string_view>

#include "core/card_model.h"
#include "core/feedback.h"
#include "editing/item_operations.h"

namespace sdmate {

// Adds folder nextFolderNumber, empty, with the kind's default title (SUD004, PRL010). Returns
// its number, or 0 when the kind already has 127 folders (the user is told so).
int AddFolder(CardModel& model, MediaKind kind, Feedback& feedback);

struct FolderDeleteResult {
  bool deleted = false;
  int folderToShow = 0;  // the folder the chooser shows afterwards
};

// Asks the kind's question, then records the folder's card directory (only one strictly below
// the kind's data directory on the loaded card), lowers the gauge by its visible items and
// moves the later folders down. The last folder of a kind is never deleted; 128 removed
// folders are the limit (the user is told so).
FolderDeleteResult DeleteFolder(CardModel& model, MediaKind kind, int folder, Feedback& feedback);

// Stores the folder's title, cut at a whole character to 48 bytes. Always a change.
EditResult StoreFolderTitle(CardModel& model, MediaKind kind, int folder,
                            std::string_view sjisTitle);

}  // namespace sdmate
