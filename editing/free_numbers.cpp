// The lowest free number of a folder, shared by files added from the computer and items moved in
// from another folder.
#include "editing/free_numbers.h"

#include <algorithm>
#include <unordered_set>

#include "core/ascii.h"

namespace sdmate {
namespace {

// A directory's card path compared as the card does: upper-cased, without a trailing backslash.
std::string DirectoryKey(std::string_view directory) {
  std::string key = AsciiUpper(directory);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

int LowestFreeNumber(const KindState& state, const FolderSlot& folder, MediaKind kind,
                     const std::string& directory, Files& files) {
  // The stems are gathered once, so a batch of many files stays linear per file.
  std::unordered_set<std::string> stems;
  stems.reserve(folder.items.size());
  for (const ItemRow& item : folder.items) stems.insert(AsciiUpper(StemOf(item.targetName)));
  const std::string key = DirectoryKey(directory);
  const bool removed =
      std::any_of(state.removedFolders.begin(), state.removedFolders.end(),
                  [&](const RemovedFolder& gone) { return DirectoryKey(gone) == key; });
  if (!removed) {
    std::unordered_set<std::string> read;
    for (const FolderSlot& slot : state.folders) {
      for (const ItemRow& item : slot.items) {
        if (DirectoryKey(item.sourceDir) == key) read.insert(AsciiUpper(item.sourceName));
      }
    }
    for (const std::string& name :
         files.ListDirectory(directory).value_or(std::vector<std::string>{})) {
      if (!read.contains(AsciiUpper(name))) stems.insert(AsciiUpper(StemOf(name)));
    }
  }
  for (int k = 1;; ++k) {
    if (!stems.contains(AsciiUpper(DataFileStem(kind, k)))) return k;
  }
}

}  // namespace sdmate
