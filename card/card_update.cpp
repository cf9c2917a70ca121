// Card update: every table of the three kinds rewritten, the data files deleted, renamed,
// copied and moved to match, and the card read back.
#include "card/card_update.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/card_guard.h"
#include "core/content_table.h"

namespace sdmate {
namespace {

constexpr const char* kCompleted = "メモリーカードの更新が完了しました";
constexpr const char* kFailedHeading =
    "メモリーカードの更新中に、次の処理ができませんでした．\n"
    "ほかの処理は行われています．";
constexpr const char* kNotLoaded = "メモリカードを読み込んでから更新してください．";
constexpr const char* kIncomplete =
    "読み込めなかったテーブルがあるため、メモリカードを更新できません．\n"
    "すべてのテーブルを読み込めるようにして、メモリカードを読み込み直してください．";
constexpr const char* kReloadFailed = "更新後のメモリカードを読み込み直せませんでした．";
constexpr const char* kRemovedFoldersStatus = "削除対象フォルダの削除中...";
constexpr const char* kMoveStatus = "サブディレクトリの整合性調整中...";
constexpr const char* kReloadStatus = "メモリーカード再読込中...";
constexpr const char* kKeptDirectory = "残すデータがあるため、フォルダを削除しませんでした：";
// The final warning lists this many failures; the result keeps them all.
constexpr std::size_t kFailuresShown = 30;

std::uint32_t Size32(std::int64_t size) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(size, 0, 0xFFFFFFFF));
}

std::string WithoutTrailingBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// The file operations of one commit on the loaded drive. Every card path is checked just
// before its operation to lie inside the card's root; every failure is recorded.
class Commit {
 public:
  Commit(char drive, Files& files, Feedback& feedback, std::vector<std::string>& failures,
         int folderTotal)
      : drive_(drive),
        files_(files),
        feedback_(feedback),
        failures_(failures),
        folderTotal_(folderTotal) {}

  void KindPass(KindState& state, MediaKind kind) {
    const KindTraits& traits = TraitsOf(kind);
    handsetDirectory_ = CardDataDirectory(drive_, kind);
    kept_.clear();
    for (const FolderSlot& folder : state.folders) {
      for (const ItemRow& item : folder.items) {
        if (!item.deleted && HandsetFile(item)) Keep(item.sourceDir + item.sourceName);
      }
    }
    feedback_.Status(kRemovedFoldersStatus);
    const std::string dataDirectory = CardDataDirectory(drive_, kind);
    for (const RemovedFolder& removed : state.removedFolders) {
      if (removed.empty()) continue;
      // Only a folder directory of the kind is ever removed: never the card root, a data
      // directory itself or anything beside them.
      if (!IsStrictlyBelow(removed, dataDirectory)) {
        Fail("処理してよい場所の外を指しているため、削除しませんでした：", removed);
        continue;
      }
      if (!files_.Exists(removed)) continue;
      // Another folder's table may name the same directory: its files stay.
      if (HoldsKeptFile(removed)) {
        Fail(kKeptDirectory, removed);
        continue;
      }
      Delete(removed, "フォルダを削除できませんでした：");
    }

    feedback_.Status(traits.tableStatus);
    const std::string tableDirectory = TableDirectory(drive_, kind);
    if (Guard(tableDirectory) && !files_.MakeDirectories(tableDirectory)) {
      Fail("フォルダを作成できませんでした：", tableDirectory);
    }
    const int count = state.folderCount();
    for (int n = 1; n <= count; ++n) {
      FolderSteps(state.folder(n), kind, n);
      feedback_.Progress(++foldersDone_, folderTotal_);
    }
    RemoveOtherTables(kind, count);

    // Directories of folders that no longer exist, after their files have moved down.
    for (int n = count + 1; n <= kMaxFolders; ++n) {
      const std::string directory = WithoutTrailingBackslash(CardFolderDirectory(drive_, kind, n));
      if (!files_.Exists(directory) || !Guard(directory)) continue;
      // A file whose move failed is still there, and nothing else holds its data.
      if (HoldsKeptFile(directory)) {
        Fail(kKeptDirectory, directory);
        continue;
      }
      Delete(directory, "フォルダを削除できませんでした：");
    }
  }

  // A file the handset keeps: on the card and inside the kind's data directory. Only such a
  // file is ever renamed, moved or deleted; any other file (of the computer, or elsewhere on
  // the card's own drive) is only read and copied.
  bool HandsetFile(const ItemRow& item) const {
    return item.OnCard() && IsStrictlyBelow(item.sourceDir, handsetDirectory_);
  }

 private:
  void FolderSteps(FolderSlot& folder, MediaKind kind, int n) {
    const KindTraits& traits = TraitsOf(kind);
    const std::string directory = CardFolderDirectory(drive_, kind, n);

    // The table, complete before any of the folder's files is touched: it names the final
    // names, in list order.
    std::string entries;
    int written = 0;
    bool directoryReady = false;
    for (int row = 1; row <= folder.itemCount(); ++row) {
      const int slot = ItemAtRow(folder, row);
      if (slot < 0) continue;
      ItemRow& item = folder.items[static_cast<std::size_t>(slot)];
      if (item.deleted) continue;
      item.targetDir = directory;
      if (!directoryReady) {
        directoryReady = true;
        if (!files_.Exists(directory) && Guard(directory) && !files_.MakeDirectories(directory)) {
          Fail("フォルダを作成できませんでした：", directory);
        }
      }
      entries += BuildTableEntry(kind, item.targetName, item.title, item.stamp, Size32(item.size));
      ++written;
    }
    const std::string tablePath = TablePath(drive_, kind, n);
    const std::string table =
        BuildTableHeader(FolderDirectoryText(kind, n), folder.folderTitle, written) + entries;
    if (Guard(tablePath) && !files_.WriteFileReplacing(tablePath, table)) {
      Fail("テーブルを書き込めませんでした：", tablePath);
    }

    // Files of deleted items go first, so that a file taking a deleted item's name is not
    // deleted afterwards. A file of the computer is never deleted, nor one that an item that
    // stays still reads (a table that lists one file twice).
    feedback_.Status(traits.deleteStatus);
    for (const ItemRow& item : folder.items) {
      if (!item.deleted || !HandsetFile(item)) continue;
      const std::string path = item.sourceDir + item.sourceName;
      if (kept_.contains(AsciiUpper(path))) continue;
      if (files_.Exists(path) && Guard(path)) Delete(path, "ファイルを削除できませんでした：");
    }
    // Items whose file did not reach its new place: the old one still holds the data.
    std::set<const ItemRow*> stranded;

    // Renames in two passes through a temporary name, so that a permutation of names never
    // overwrites a file that still has to be read.
    feedback_.Status(traits.renameStatus);
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
        Fail("ファイルをコピーできませんでした：", from + " → " + to);
      }
      stranded.insert(&item);
    }
    for (const ItemRow* item : copied) {
      const std::string from = item->targetDir + item->targetName + "_";
      const std::string to = item->targetDir + item->targetName;
      if (!files_.ShellMove(from, to)) {
        Fail("ファイルの名前を変更できませんでした：", from);
        stranded.insert(item);
      }
    }

    // New files from the computer (or from outside the handset's folders): only read there,
    // copied onto the card.
    feedback_.Status(traits.copyStatus);
    for (const ItemRow& item : folder.items) {
      if (item.deleted || HandsetFile(item)) continue;
      const std::string from = item.sourceDir + item.sourceName;
      const std::string to = item.targetDir + item.targetName;
      // A source on the card's own drive is read only from inside the card.
      if (item.OnCard() && !Guard(from)) continue;
      if (Guard(to) && !files_.ShellCopy(from, to)) {
        Fail("ファイルをコピーできませんでした：", from + " → " + to);
      }
    }

    // Files that keep their name but change folder (a lower folder number after a folder
    // delete, or a header that named another directory).
    feedback_.Status(kMoveStatus);
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
        Fail("ファイルを移動できませんでした：", from + " → " + to);
        stranded.insert(&item);
      }
    }

    feedback_.Status(traits.modelStatus);
    for (ItemRow& item : folder.items) {
      if (item.deleted) continue;
      // An item that stays where it was keeps its entry among the needed files as it is.
      if (item.sourceDir == item.targetDir && item.sourceName == item.targetName) continue;
      if (HandsetFile(item) && !stranded.contains(&item)) Forget(item.sourceDir + item.sourceName);
      item.sourceDir = item.targetDir;
      item.sourceName = item.targetName;
      Keep(item.sourceDir + item.sourceName);
    }
  }

  // Everything in the kind's table directory but the tables of folders 1 .. count. A table
  // whose write failed keeps its old version, which stays.
  void RemoveOtherTables(MediaKind kind, int count) {
    std::set<std::string> keep;
    for (int n = 1; n <= count; ++n) {
      const std::string path = TablePath(drive_, kind, n);
      keep.insert(AsciiUpper(path.substr(path.rfind('\\') + 1)));
    }
    const std::string tableDirectory = TableDirectory(drive_, kind);
    for (const std::string& name : files_.ListDirectory(tableDirectory)) {
      if (keep.count(AsciiUpper(name)) != 0) continue;
      const std::string path = tableDirectory + "\\" + name;
      if (Guard(path)) Delete(path, "不要なテーブルを削除できませんでした：");
    }
  }

  // The card's file system does not tell upper and lower case apart.
  void Keep(const std::string& path) { kept_.insert(AsciiUpper(path)); }
  void Forget(const std::string& path) {
    auto at = kept_.find(AsciiUpper(path));
    if (at != kept_.end()) kept_.erase(at);
  }
  // True when a file that an item still needs lies inside the directory.
  bool HoldsKeptFile(const std::string& directory) const {
    const std::string prefix = AsciiUpper(directory) + "\\";
    auto at = kept_.lower_bound(prefix);
    return at != kept_.end() && at->starts_with(prefix);
  }

  bool Guard(const std::string& path) {
    if (IsInsideCardRoot(path, drive_)) return true;
    Fail("メモリカードの外を指しているため、処理しませんでした：", path);
    return false;
  }

  void Delete(const std::string& path, const char* failure) {
    if (!files_.ShellDelete(path)) Fail(failure, path);
  }

  void Fail(const char* what, const std::string& path) { failures_.push_back(what + path); }

  char drive_;
  Files& files_;
  Feedback& feedback_;
  std::vector<std::string>& failures_;
  int folderTotal_;
  int foldersDone_ = 0;
  // Where the files of the kind's items that stay are now: sources before their folder's
  // steps, final places after, and the old place of a file whose copy or move failed.
  std::multiset<std::string> kept_;
  std::string handsetDirectory_;
};

std::string FailureMessage(const std::vector<std::string>& failures) {
  std::string message = kFailedHeading;
  for (std::size_t i = 0; i < failures.size() && i < kFailuresShown; ++i) {
    message += "\n" + failures[i];
  }
  if (failures.size() > kFailuresShown) {
    message += "\nほか " + std::to_string(failures.size() - kFailuresShown) + " 件";
  }
  return message;
}

}  // namespace

UpdateResult UpdateCard(CardModel& model, bool& backupAdvice, Files& files, Drives& drives,
                        Feedback& feedback) {
  UpdateResult result;
  if (!model.loaded || model.drive == 0) {
    feedback.Tell(MessageKind::Warning, kNotLoaded);
    return result;
  }
  if (!model.complete) {
    // Rewriting now would empty the folders whose tables could not be read.
    feedback.Tell(MessageKind::Warning, kIncomplete);
    return result;
  }
  {
    Feedback::BusyGuard busy = feedback.Busy();
    // Always the drive that was loaded, whatever the chooser shows by now.
    const char drive = model.drive;
    int folderTotal = 0;
    for (MediaKind kind : kAllKinds) folderTotal += model.of(kind).folderCount();
    Commit commit(drive, files, feedback, result.failures, folderTotal);
    for (MediaKind kind : kAllKinds) commit.KindPass(model.of(kind), kind);

    feedback.Status(kReloadStatus);
    // The user agreed to use this drive when it was loaded, and it has just been written:
    // the reload does not ask the removable-drive question again.
    result.reload =
        LoadCard(model, drive, backupAdvice, files, drives, feedback, {.askRemovable = false});
    if (!result.reload.loaded) {
      // The model still holds the edits just written; a second update from it would delete
      // folders that now hold other folders' files. Only a fresh load may update again.
      model.loaded = false;
      result.failures.push_back(kReloadFailed);
    }
    feedback.Status("");
  }
  result.ran = true;
  if (result.failures.empty()) {
    feedback.Tell(MessageKind::Information, kCompleted);
  } else {
    feedback.Tell(MessageKind::Warning, FailureMessage(result.failures));
  }
  return result;
}

}  // namespace sdmate
