// Card models made in memory for the tests of the editing and import operations.
#include "tests/support/model_builder.h"

namespace sdmate::test {

ItemRow CardItem(char drive, MediaKind kind, int folder, int p, std::int64_t size,
                 const std::string& extension) {
  ItemRow item;
  item.order = p;
  item.sourceDir = CardFolderDirectory(drive, kind, folder);
  item.targetDir = item.sourceDir;
  item.sourceName = DataFileName(kind, p, extension);
  item.targetName = item.sourceName;
  item.stamp = "2005:03:03 14:07:00";
  item.title = "title " + std::to_string(p);
  item.size = size;
  return item;
}

CardModel LoadedModel(MediaKind kind, const std::vector<int>& itemCounts, std::int64_t maximum,
                      std::int64_t used) {
  CardModel model;
  model.loaded = true;
  model.drive = 'E';
  model.gauge.SetMaximum(maximum);
  model.gauge.SetPosition(used);
  KindState& state = model.of(kind);
  for (std::size_t f = 0; f < itemCounts.size(); ++f) {
    const int n = static_cast<int>(f) + 1;
    FolderSlot folder;
    folder.folderTitle = DefaultFolderTitle(kind, n);
    const std::string extension = kind == MediaKind::Movie      ? ".3GP"
                                  : kind == MediaKind::Document ? ".PDF"
                                                                : ".JPG";
    for (int p = 1; p <= itemCounts[f]; ++p) {
      folder.items.push_back(CardItem('E', kind, n, p, 1000, extension));
    }
    state.folders.push_back(std::move(folder));
  }
  return model;
}

std::vector<std::string> ListedNames(const FolderSlot& folder) {
  std::vector<std::string> names;
  for (int row = 1; row <= folder.visibleCount(); ++row) {
    int slot = ItemAtRow(folder, row);
    names.push_back(slot < 0 ? "?" : folder.items[static_cast<std::size_t>(slot)].targetName);
  }
  return names;
}

std::vector<int> Orders(const FolderSlot& folder) {
  std::vector<int> orders;
  for (const ItemRow& item : folder.items) orders.push_back(item.order);
  return orders;
}

}  // namespace sdmate::test
