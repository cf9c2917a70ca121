// Staged operations on the items of one folder: delete, renumber, up, down and the title.
// They change the model only; the card changes at the next update.
#pragma once

#include <string_view>

#include "core/card_model.h"

namespace sdmate {

// changed: the model changed, so the list must be redrawn and the update is due.
struct EditResult {
  bool changed = false;
};

// Marks the visible item on `row` deleted: it moves behind the visible items (earlier deleted
// ones move down one place), deletedCount + 1, the gauge is lowered by its size. The blank row
// or a row without a visible item changes nothing.
EditResult DeleteItem(CardModel& model, MediaKind kind, int folder, int row);
// Gives every visible item the prefix and number of its list position, keeping the extension
// of its targetName as it is. A change only when a name changed (not in an empty folder).
EditResult RenumberItems(CardModel& model, MediaKind kind, int folder);
// Swaps the item on `row` with the one above (below). Row 1 up, or the last row down, does
// nothing. The moved item is then on row - 1 (row + 1).
EditResult MoveItemUp(CardModel& model, MediaKind kind, int folder, int row);
EditResult MoveItemDown(CardModel& model, MediaKind kind, int folder, int row);
// Stores the first 64 bytes of title (cut at a whole character) on the visible item of `row`;
// the blank row stores nothing.
EditResult StoreItemTitle(CardModel& model, MediaKind kind, int folder, int row,
                          std::string_view sjisTitle);

}  // namespace sdmate
