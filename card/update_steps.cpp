// The steps of a commit: removed folders, tables, deletes, renames, copies, moves, the model,
// and the clean-up of what no longer belongs to a folder.
#include "card/update_steps.h"

#include <algorithm>
#include <cstdint>

#include "card/card_messages.h"
#include "core/card_guard.h"
#include "core/content_table.h"

namespace sdmate {
namespace {

std::uint32_t Size32(std::int64_t size) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(size, 0, 0xFFFFFFFF));
}

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

void KeptFiles::Keep(const std::string& path) { paths_.insert(AsciiUpper(path)); }

void KeptFiles::Forget(const std::string& path) {
  auto at = paths_.find(AsciiUpper(path));
  if (at != paths_.end()) paths_.erase(at);
}

bool KeptFiles::Contains(const std::string& path) const {
  return paths_.contains(AsciiUpper(path));
}

bool KeptFiles::AnyInside(const std::string& directory) const {
  const std::string prefix = AsciiUpper(directory) + "\\";
  auto at = paths_.lower_bound(prefix);
  return at != paths_.end() && at->starts_with(prefix);
}

void UpdateSteps::KindPass(KindState& state, MediaKind kind) {
  handsetDirectory_ = CardDataDirectory(drive_, kind);
  kept_.Clear();
  for (const FolderSlot& folder : state.folders) {
    for (const ItemRow& item : folder.items) {
      if (!item.deleted && HandsetFile(item)) kept_.Keep(item.sourceDir + item.sourceName);
    }
  }
  RemoveDeletedFolders(state, kind);
  PrepareTableDirectory(kind);
  const int count = state.folderCount();
  for (int n = 1; n <= count; ++n) {
    FolderSteps(state.folder(n), kind, n);
    feedback_.Progress(++foldersDone_, folderTotal_);
  }
  RemoveOtherTables(kind, count);
  RemoveSurplusDirectories(kind, count);
}

void UpdateSteps::RemoveDeletedFolders(const KindState& state, MediaKind kind) {
  feedback_.Status(text::kRemovedFoldersStatus);
  const std::string dataDirectory = CardDataDirectory(drive_, kind);
  for (const RemovedFolder& removed : state.removedFolders) {
    if (removed.empty()) continue;
    // Only a folder directory of the kind is ever removed: never the card root, a data
    // directory itself or anything beside them.
    if (!IsStrictlyBelow(removed, dataDirectory)) {
      Fail(text::kOutsideItsPlace, removed);
      continue;
    }
    if (!files_.Exists(removed)) continue;
    // Another folder's table may name the same directory: its files stay.
    DeleteUnlessKept(removed);
  }
}

void UpdateSteps::PrepareTableDirectory(MediaKind kind) {
  feedback_.Status(TraitsOf(kind).tableStatus);
  const std::string tableDirectory = TableDirectory(drive_, kind);
  if (Guard(tableDirectory) && !files_.MakeDirectories(tableDirectory)) {
    Fail(text::kFolderNotMade, tableDirectory);
  }
}

void UpdateSteps::FolderSteps(FolderSlot& folder, MediaKind kind, int n) {
  Stranded stranded;
  WriteTable(folder, kind, n);
  DeleteMarkedFiles(folder, kind);
  RenameFiles(folder, kind, stranded);
  CopyNewFiles(folder, kind);
  MoveFilesHome(folder, stranded);
  UpdateModel(folder, kind, stranded);
}

// The table, complete before any of the folder's files is touched: it names the final names,
// in list order.
void UpdateSteps::WriteTable(FolderSlot& folder, MediaKind kind, int n) {
  const std::string directory = CardFolderDirectory(drive_, kind, n);
  std::string entries;
  const std::vector<ItemRow*> visible = VisibleItems(folder);
  for (ItemRow* item : visible) {
    item->targetDir = directory;
    entries +=
        BuildTableEntry(kind, item->targetName, item->title, item->stamp, Size32(item->size));
  }
  if (!visible.empty() && !files_.Exists(directory) && Guard(directory) &&
      !files_.MakeDirectories(directory)) {
    Fail(text::kFolderNotMade, directory);
  }
  const std::string tablePath = TablePath(drive_, kind, n);
  const std::string table = BuildTableHeader(FolderDirectoryText(kind, n), folder.folderTitle,
                                             static_cast<int>(visible.size())) +
                            entries;
  if (Guard(tablePath) && !files_.WriteFileReplacing(tablePath, table)) {
    Fail(text::kTableNotWritten, tablePath);
  }
}

// Files of deleted items go first, so that a file taking a deleted item's name is not deleted
// afterwards. A file of the computer is never deleted, nor one that an item that stays still
// reads (a table that lists one file twice).
void UpdateSteps::DeleteMarkedFiles(const FolderSlot& folder, MediaKind kind) {
  feedback_.Status(TraitsOf(kind).deleteStatus);
  for (const ItemRow& item : folder.items) {
    if (!item.deleted || !HandsetFile(item)) continue;
    const std::string path = item.sourceDir + item.sourceName;
    if (kept_.Contains(path)) continue;
    if (files_.Exists(path) && Guard(path)) Delete(path, text::kFileNotDeleted);
  }
}

// Renames in two passes through a temporary name, so that a permutation of names never
// overwrites a file that still has to be read.
void UpdateSteps::RenameFiles(const FolderSlot& folder, MediaKind kind, Stranded& stranded) {
  feedback_.Status(TraitsOf(kind).renameStatus);
  std::vector<const ItemRow*> copied;
  for (const ItemRow& item : folder.items) {
    if (item.deleted || !HandsetFile(item) || item.sourceName == item.targetName) continue;
    const std::string from = item.sourceDir + item.sourceName;
    const std::string to = item.targetDir + item.targetName + "_";
    if (Guard(from) && Guard(to)) {
      if (files_.ShellCopy(from, to)) {
        copied.push_back(&item);
        continue;
      }
      Fail(text::kFileNotCopied, from + " → " + to);
    }
    stranded.insert(&item);
  }
  for (const ItemRow* item : copied) {
    const std::string from = item->targetDir + item->targetName + "_";
    const std::string to = item->targetDir + item->targetName;
    if (!files_.ShellMove(from, to)) {
      Fail(text::kFileNotRenamed, from);
      stranded.insert(item);
    }
  }
}

// New files from the computer (or from outside the handset's folders): only read there, copied
// onto the card.
void UpdateSteps::CopyNewFiles(const FolderSlot& folder, MediaKind kind) {
  feedback_.Status(TraitsOf(kind).copyStatus);
  for (const ItemRow& item : folder.items) {
    if (item.deleted || HandsetFile(item)) continue;
    const std::string from = item.sourceDir + item.sourceName;
    const std::string to = item.targetDir + item.targetName;
    // A source on the card's own drive is read only from inside the card.
    if (item.OnCard() && !Guard(from)) continue;
    if (Guard(to) && !files_.ShellCopy(from, to)) Fail(text::kFileNotCopied, from + " → " + to);
  }
}

// Files that keep their name but change folder (a lower folder number after a folder delete,
// or a header that named another directory).
void UpdateSteps::MoveFilesHome(const FolderSlot& folder, Stranded& stranded) {
  feedback_.Status(text::kMoveStatus);
  for (const ItemRow& item : folder.items) {
    if (item.deleted || !HandsetFile(item) || item.sourceName != item.targetName ||
        item.sourceDir == item.targetDir) {
      continue;
    }
    const std::string from = item.sourceDir + item.sourceName;
    const std::string to = item.targetDir + item.targetName;
    if (!Guard(from) || !Guard(to)) {
      stranded.insert(&item);
    } else if (!files_.ShellMove(from, to)) {
      Fail(text::kFileNotMoved, from + " → " + to);
      stranded.insert(&item);
    }
  }
}

void UpdateSteps::UpdateModel(FolderSlot& folder, MediaKind kind, const Stranded& stranded) {
  feedback_.Status(TraitsOf(kind).modelStatus);
  for (ItemRow& item : folder.items) {
    if (item.deleted) continue;
    // An item that stays where it was keeps its entry among the needed files as it is.
    if (item.sourceDir == item.targetDir && item.sourceName == item.targetName) continue;
    if (HandsetFile(item) && !stranded.contains(&item)) {
      kept_.Forget(item.sourceDir + item.sourceName);
    }
    item.sourceDir = item.targetDir;
    item.sourceName = item.targetName;
    kept_.Keep(item.sourceDir + item.sourceName);
  }
}

// Everything in the kind's table directory but the tables of folders 1 .. count. A table whose
// write failed keeps its old version, which stays.
void UpdateSteps::RemoveOtherTables(MediaKind kind, int count) {
  std::set<std::string> keep;
  for (int n = 1; n <= count; ++n) keep.insert(AsciiUpper(TableFileName(kind, n)));
  const std::string tableDirectory = TableDirectory(drive_, kind);
  const auto names = files_.ListDirectory(tableDirectory);
  if (!names) {
    Fail(text::kTableDirectoryUnlisted, tableDirectory);
    return;
  }
  for (const std::string& name : *names) {
    if (keep.count(AsciiUpper(name)) != 0) continue;
    const std::string path = tableDirectory + "\\" + name;
    if (Guard(path)) Delete(path, text::kTableNotRemoved);
  }
}

// Directories of folders that no longer exist, after their files have moved down.
void UpdateSteps::RemoveSurplusDirectories(MediaKind kind, int count) {
  for (int n = count + 1; n <= kMaxFolders; ++n) {
    const std::string directory = WithoutTrailingBackslash(CardFolderDirectory(drive_, kind, n));
    if (!files_.Exists(directory) || !Guard(directory)) continue;
    // A file whose move failed is still there, and nothing else holds its data.
    DeleteUnlessKept(directory);
  }
}

bool UpdateSteps::HandsetFile(const ItemRow& item) const {
  return item.OnCard() && IsStrictlyBelow(item.sourceDir, handsetDirectory_);
}

bool UpdateSteps::Guard(const std::string& path) {
  if (IsInsideCardRoot(path, drive_)) return true;
  Fail(text::kOutsideTheCard, path);
  return false;
}

void UpdateSteps::Delete(const std::string& path, const char* failure) {
  if (!files_.ShellDelete(path)) Fail(failure, path);
}

void UpdateSteps::DeleteUnlessKept(const std::string& directory) {
  if (kept_.AnyInside(directory)) {
    Fail(text::kKeptDirectory, directory);
  } else {
    Delete(directory, text::kFolderNotDeleted);
  }
}

void UpdateSteps::Fail(const char* what, const std::string& path) {
  failures_.push_back(what + path);
}

}  // namespace sdmate
