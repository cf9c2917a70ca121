// Delete, renumber, up, down and the item title. Every operation keeps the folder's order
// invariant: visible items carry orders 1..V, deleted ones V+1..itemCount, the most recently
// deleted last.
#include "editing/item_operations.h"

#include "core/content_table.h"
#include "core/sjis.h"

namespace sdmate {
namespace {

FolderSlot* FolderOf(CardModel& model, MediaKind kind, int folder) {
  KindState& state = model.of(kind);
  return state.hasFolder(folder) ? &state.folder(folder) : nullptr;
}

// The first slot whose order is `order`, for the steps that shift orders.
ItemRow* SlotWithOrder(FolderSlot& folder, int order) {
  int slot = ItemAtRow(folder, order);
  return slot < 0 ? nullptr : &folder.items[static_cast<std::size_t>(slot)];
}

}  // namespace

EditResult DeleteItem(CardModel& model, MediaKind kind, int folder, int row) {
  FolderSlot* slot = FolderOf(model, kind, folder);
  if (!slot) return {};
  // The blank row, or a row whose item is already marked: nothing to take off again.
  ItemRow* item = VisibleItemAtRow(*slot, row);
  if (!item) return {};

  const int count = slot->itemCount();
  item->order = count + 1;
  // The visible items below move up one place, earlier deleted ones too; the deleted item
  // lands on the last place. Ascending j never meets an item it has just moved.
  for (int j = row + 1; j <= count + 1; ++j) {
    for (ItemRow& other : slot->items) {
      if (other.order == j) --other.order;
    }
  }
  item->deleted = true;
  ++slot->deletedCount;
  model.gauge.Subtract(item->size);
  return {.changed = true};
}

EditResult RenumberItems(CardModel& model, MediaKind kind, int folder) {
  FolderSlot* slot = FolderOf(model, kind, folder);
  if (!slot) return {};
  EditResult result;
  for (int p = 1; p <= slot->visibleCount(); ++p) {
    ItemRow* item = SlotWithOrder(*slot, p);
    if (!item) continue;
    // The extension stays exactly as it is, in its own case.
    std::string extension(ExtensionOf(item->targetName));
    std::string name = DataFileName(kind, p, extension);
    if (name == item->targetName) continue;
    item->targetName = std::move(name);
    result.changed = true;
  }
  // Names already in order (an empty folder too) change nothing.
  return result;
}

EditResult MoveItemUp(CardModel& model, MediaKind kind, int folder, int row) {
  FolderSlot* slot = FolderOf(model, kind, folder);
  if (!slot || row < 2) return {};
  ItemRow* moved = VisibleItemAtRow(*slot, row);
  ItemRow* above = VisibleItemAtRow(*slot, row - 1);
  if (!moved || !above) return {};
  --moved->order;
  ++above->order;
  return {.changed = true};
}

EditResult MoveItemDown(CardModel& model, MediaKind kind, int folder, int row) {
  FolderSlot* slot = FolderOf(model, kind, folder);
  if (!slot || row < 1 || row >= slot->visibleCount()) return {};
  ItemRow* moved = VisibleItemAtRow(*slot, row);
  ItemRow* below = VisibleItemAtRow(*slot, row + 1);
  if (!moved || !below) return {};
  ++moved->order;
  --below->order;
  return {.changed = true};
}

EditResult StoreItemTitle(CardModel& model, MediaKind kind, int folder, int row,
                          std::string_view sjisTitle) {
  FolderSlot* slot = FolderOf(model, kind, folder);
  if (!slot) return {};
  ItemRow* item = VisibleItemAtRow(*slot, row);
  if (!item) return {};
  item->title = std::string(CutAtCharBoundary(sjisTitle, kEntryTitleField));
  return {.changed = true};
}

}  // namespace sdmate
