// The card as list prints it.
#include "cli/card_listing.h"

#include <iomanip>
#include <nlohmann/json.hpp>

namespace sdmate::cli {
namespace {

// The items of a folder in list order: row r shows the visible item whose order is r.
std::vector<const ItemRow*> VisibleItems(const FolderSlot& folder) {
  std::vector<const ItemRow*> items;
  for (int row = 1; row <= folder.visibleCount(); ++row) {
    int slot = ItemAtRow(folder, row);
    if (slot < 0) continue;
    const ItemRow& item = folder.items[static_cast<std::size_t>(slot)];
    if (!item.deleted) items.push_back(&item);
  }
  return items;
}

}  // namespace

void PrintCardText(const CardModel& model, TextCodec& codec, std::ostream& out) {
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      out << TraitsOf(kind).key << " " << n << " " << codec.ToUtf8(folder.folderTitle) << '\n';
      int row = 0;
      for (const ItemRow* item : VisibleItems(folder)) {
        out << std::setw(5) << ++row << "  " << codec.ToUtf8(item->targetName) << "  "
            << codec.ToUtf8(item->stamp) << "  " << std::setw(7) << item->size << "  "
            << codec.ToUtf8(item->title) << '\n';
      }
    }
  }
}

void PrintCardJson(const CardModel& model, TextCodec& codec, std::ostream& out) {
  nlohmann::ordered_json card = nlohmann::ordered_json::object();
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    nlohmann::ordered_json folders = nlohmann::ordered_json::array();
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      nlohmann::ordered_json items = nlohmann::ordered_json::array();
      for (const ItemRow* item : VisibleItems(folder)) {
        items.push_back({{"name", codec.ToUtf8(item->targetName)},
                         {"stamp", codec.ToUtf8(item->stamp)},
                         {"size", item->size},
                         {"title", codec.ToUtf8(item->title)}});
      }
      folders.push_back(
          {{"folder", n}, {"title", codec.ToUtf8(folder.folderTitle)}, {"items", items}});
    }
    card[TraitsOf(kind).key] = std::move(folders);
  }
  out << card.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace sdmate::cli
