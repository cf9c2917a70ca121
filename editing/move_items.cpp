// Moving items between folders. The items keep the file they read, so a move costs the card
// nothing until the commit, which moves the files as it moves any renamed one.
#include "editing/move_items.h"

#include <algorithm>
#include <string>

#include "editing/free_numbers.h"

namespace sdmate {

EditResult MoveItems(CardModel& model, MediaKind kind, int folder, const std::vector<int>& rows,
                     int toFolder, Files& files, Feedback& feedback) {
  KindState& state = model.of(kind);
  if (!model.loaded || folder == toFolder || !state.hasFolder(folder) ||
      !state.hasFolder(toFolder)) {
    return {};
  }
  FolderSlot& from = state.folder(folder);
  std::vector<int> moving;
  for (int row : rows) {
    if (VisibleItemAtRow(from, row) != nullptr) moving.push_back(row);
  }
  std::sort(moving.begin(), moving.end());
  moving.erase(std::unique(moving.begin(), moving.end()), moving.end());
  if (moving.empty()) return {};

  FolderSlot& to = state.folder(toFolder);
  if (to.itemCount() + static_cast<int>(moving.size()) > kMaxItems) {
    feedback.Tell(MessageKind::Warning, kMoveFolderFull + std::to_string(toFolder));
    return {};
  }

  // Taken out in list order; each one leaves its place and the items behind it (the deleted
  // ones too) close up, so the order invariant holds after every step.
  std::vector<ItemRow> leaving;
  leaving.reserve(moving.size());
  for (auto row = moving.rbegin(); row != moving.rend(); ++row) {
    const int slot = ItemAtRow(from, *row);
    leaving.push_back(std::move(from.items[static_cast<std::size_t>(slot)]));
    from.items.erase(from.items.begin() + slot);
    for (ItemRow& other : from.items) {
      if (other.order > *row) --other.order;
    }
  }
  std::reverse(leaving.begin(), leaving.end());

  const std::string directory = CardFolderDirectory(model.drive, kind, toFolder);
  for (ItemRow& item : leaving) {
    // Room behind the visible items: the deleted ones move one place further down.
    const int visible = to.visibleCount();
    for (ItemRow& other : to.items) {
      if (other.order > visible) ++other.order;
    }
    const int number = LowestFreeNumber(state, to, kind, directory, files);
    item.targetName = DataFileName(kind, number, ExtensionOf(item.targetName));
    item.targetDir = directory;
    item.order = visible + 1;
    to.items.push_back(std::move(item));
  }
  return {.changed = true};
}

EditResult MoveRows(CardModel& model, MediaKind kind, int folder, int first, int last, int steps) {
  KindState& state = model.of(kind);
  if (!state.hasFolder(folder)) return {};
  const int visible = state.folder(folder).visibleCount();
  if (first < 1 || last < first || last > visible) return {};
  steps = std::clamp(steps, 1 - first, visible - last);
  EditResult result;
  for (; steps < 0; ++steps, --first, --last) {
    for (int row = first; row <= last; ++row) {
      result.changed = MoveItemUp(model, kind, folder, row).changed || result.changed;
    }
  }
  for (; steps > 0; --steps, ++first, ++last) {
    for (int row = last; row >= first; --row) {
      result.changed = MoveItemDown(model, kind, folder, row).changed || result.changed;
    }
  }
  return result;
}

}  // namespace sdmate
