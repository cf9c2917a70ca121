// The in-memory picture of the card: per kind its folders and items, with every staged edit.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_layout.h"
#include "core/disk_gauge.h"

namespace sdmate {

struct ItemRow {
  std::int32_t order = 0;  // position in the folder's list, from 1
  bool deleted = false;    // staged for deletion (beside order, so a full card stays small)
  // Staged from a file the user chose or dropped: that file is only ever read and copied, never
  // moved or deleted, whether it lies on the computer or on the card itself.
  bool added = false;
  std::string sourceDir;   // where the file is now, with trailing separator
  std::string targetDir;   // card directory after the next update, with trailing backslash
  std::string sourceName;  // the file's name now
  std::string targetName;  // the name on the card after the next update
  std::string stamp;       // "YYYY:MM:DD hh:mm:ss"
  std::string title;       // Shift-JIS bytes
  std::int64_t size = 0;   // bytes

  // The file is on the card when both directories begin with the same drive letter.
  bool OnCard() const {
    return !sourceDir.empty() && !targetDir.empty() && sourceDir[0] == targetDir[0];
  }
  std::string SourcePath() const { return sourceDir + sourceName; }
  std::string TargetPath() const { return targetDir + targetName; }
};

struct FolderSlot {
  std::string folderTitle;
  std::int32_t deletedCount = 0;
  std::vector<ItemRow> items;  // slots 0 .. itemCount - 1, at most kMaxItems

  std::int32_t itemCount() const { return static_cast<std::int32_t>(items.size()); }
  std::int32_t visibleCount() const { return itemCount() - deletedCount; }
};

// A deleted folder's card directory without trailing backslash, or empty when the folder held
// no item read from the card.
using RemovedFolder = std::string;

struct KindState {
  std::vector<FolderSlot> folders;  // folders[0] is folder 1
  std::vector<RemovedFolder> removedFolders;

  int folderCount() const { return static_cast<int>(folders.size()); }
  // The number the next added folder gets: always the number of folders plus one.
  int nextFolderNumber() const { return folderCount() + 1; }
  // Folder n, counted from 1.
  FolderSlot& folder(int n) { return folders.at(static_cast<std::size_t>(n - 1)); }
  const FolderSlot& folder(int n) const { return folders.at(static_cast<std::size_t>(n - 1)); }
  bool hasFolder(int n) const { return n >= 1 && n <= folderCount(); }
};

struct CardModel {
  std::array<KindState, 3> kinds;
  DiskGauge gauge;
  char drive = 0;        // the drive letter that was loaded; 0 before the first load
  bool loaded = false;   // a load has completed
  bool complete = true;  // every table of the last load could be read

  KindState& of(MediaKind kind) { return kinds[IndexOf(kind)]; }
  const KindState& of(MediaKind kind) const { return kinds[IndexOf(kind)]; }
};

// The first slot of the folder whose order equals row, or -1.
int ItemAtRow(const FolderSlot& folder, int row);
// The item shown on a list row: a visible item, or nullptr for a blank row or a deleted item.
ItemRow* VisibleItemAtRow(FolderSlot& folder, int row);
const ItemRow* VisibleItemAtRow(const FolderSlot& folder, int row);

// The visible items of a folder in list order: row r shows the visible item whose order is r.
std::vector<const ItemRow*> VisibleItems(const FolderSlot& folder);
std::vector<ItemRow*> VisibleItems(FolderSlot& folder);

// The title as the list shows it, at most limit bytes, ending in the ellipsis when cut.
std::string ShortTitle(int limit, std::string_view title);

// Empty when the folder keeps the order invariants; otherwise what is wrong.
std::string CheckOrderInvariants(const FolderSlot& folder);
std::string CheckModelInvariants(const CardModel& model);

}  // namespace sdmate
