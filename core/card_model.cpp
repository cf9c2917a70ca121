// Row lookup, list titles and the order invariants of the card model.
#include "core/card_model.h"

#include <utility>

#include "core/sjis.h"

namespace sdmate {

int ItemAtRow(const FolderSlot& folder, int row) {
  for (int s = 0; s < folder.itemCount(); ++s) {
    if (folder.items[static_cast<std::size_t>(s)].order == row) return s;
  }
  return -1;
}

const ItemRow* VisibleItemAtRow(const FolderSlot& folder, int row) {
  if (row < 1 || row > folder.visibleCount()) return nullptr;
  int s = ItemAtRow(folder, row);
  if (s < 0) return nullptr;
  const ItemRow& item = folder.items[static_cast<std::size_t>(s)];
  return item.deleted ? nullptr : &item;
}

ItemRow* VisibleItemAtRow(FolderSlot& folder, int row) {
  return const_cast<ItemRow*>(VisibleItemAtRow(std::as_const(folder), row));
}

namespace {

template <typename Folder, typename Item>
std::vector<Item*> VisibleItemsOf(Folder& folder) {
  std::vector<Item*> items;
  items.reserve(static_cast<std::size_t>(folder.visibleCount()));
  for (int row = 1; row <= folder.visibleCount(); ++row) {
    const int slot = ItemAtRow(folder, row);
    if (slot < 0) continue;
    Item& item = folder.items[static_cast<std::size_t>(slot)];
    if (!item.deleted) items.push_back(&item);
  }
  return items;
}

}  // namespace

std::vector<const ItemRow*> VisibleItems(const FolderSlot& folder) {
  return VisibleItemsOf<const FolderSlot, const ItemRow>(folder);
}

std::vector<ItemRow*> VisibleItems(FolderSlot& folder) {
  return VisibleItemsOf<FolderSlot, ItemRow>(folder);
}

std::string ShortTitle(int limit, std::string_view title) {
  if (limit < 4 || title.size() <= static_cast<std::size_t>(limit)) return std::string(title);
  std::size_t keep = static_cast<std::size_t>(limit) - 2;
  switch (ClassifyByte(title, static_cast<std::size_t>(limit) - 4)) {
    case ByteClass::Lead:
      break;
    case ByteClass::Trail:
      keep = static_cast<std::size_t>(limit) - 3;
      break;
    case ByteClass::Single:
      if (ClassifyByte(title, static_cast<std::size_t>(limit) - 3) == ByteClass::Lead) {
        keep = static_cast<std::size_t>(limit) - 3;
      }
      break;
  }
  return std::string(title.substr(0, keep)) + "\x81\x63";
}

std::string CheckOrderInvariants(const FolderSlot& folder) {
  const int count = folder.itemCount();
  if (count > kMaxItems) return "more than 128 items";
  if (folder.deletedCount < 0 || folder.deletedCount > count) return "deletedCount out of range";
  const int visible = count - folder.deletedCount;
  std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
  int deleted = 0;
  for (const ItemRow& item : folder.items) {
    if (item.order < 1 || item.order > count) return "order out of range";
    if (seen[static_cast<std::size_t>(item.order)]) return "order used twice";
    seen[static_cast<std::size_t>(item.order)] = true;
    if (item.deleted) {
      ++deleted;
      if (item.order <= visible) return "deleted item among the visible orders";
    } else if (item.order > visible) {
      return "visible item behind the deleted ones";
    }
  }
  if (deleted != folder.deletedCount) return "deletedCount does not match the marks";
  return {};
}

std::string CheckModelInvariants(const CardModel& model) {
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    if (state.folderCount() > kMaxFolders) return "more than 127 folders";
    if (state.removedFolders.size() > kMaxRemovedFolders) return "too many removed folders";
    for (int n = 1; n <= state.folderCount(); ++n) {
      std::string problem = CheckOrderInvariants(state.folder(n));
      if (!problem.empty()) {
        return std::string(TraitsOf(kind).key) + " folder " + std::to_string(n) + ": " + problem;
      }
    }
  }
  return {};
}

}  // namespace sdmate
