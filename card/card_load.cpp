// Card load: the handset's tables of the three kinds read into a fresh model.
#include "card/card_load.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "card/card_check.h"
#include "core/card_guard.h"
#include "core/content_table.h"
#include "editing/folder_operations.h"

namespace sdmate {
namespace {

constexpr const char* kBackupAdvice =
    "SDメモリ内のデータを編集・更新する前に、バックアップを取ることを強くお勧めします．";
constexpr const char* kUnreadableMessage =
    "次のテーブルを読み込めませんでした．\n"
    "すべてのテーブルを読み込めるまで、メモリカードの更新はできません．";
constexpr const char* kUntrustedHeaderMessage =
    "次のテーブルが示すフォルダの場所が正しくないため、フォルダ本来の場所を使用します．\n"
    "次のメモリカード更新で、テーブルはフォルダ本来の場所で書き直されます．";
constexpr const char* kBadNameMessage =
    "次のテーブルには正しくないファイル名の項目があったため、その項目を読み込みませんでした．";
constexpr const char* kCapacityMessage =
    "フォルダは127個まで、1フォルダのデータは128個までしか読み込めないため、"
    "次のテーブルの一部を読み込みませんでした．\n"
    "メモリカードを更新すると、読み込まなかった分はテーブルから外れます．";

char UpperDrive(char drive) {
  return (drive >= 'a' && drive <= 'z') ? static_cast<char>(drive - 'a' + 'A') : drive;
}

// What a kind's tables gave the user to know, each told once per kind after the kind is read.
struct KindNotes {
  std::vector<std::string> unreadable;
  std::vector<std::string> untrustedHeaders;
  std::vector<std::string> badNames;
  std::vector<std::string> cutOff;
};

void TellList(Feedback& feedback, MessageKind kind, const char* text,
              const std::vector<std::string>& names) {
  if (names.empty()) return;
  std::string message = text;
  for (const std::string& name : names) message += "\n" + name;
  feedback.Tell(kind, message);
}

// Folder n's items from its table's bytes. The header's directory is used only when it is a
// plain path below the kind's data directory; entries whose name is not a plain name or whose
// file is missing are dropped.
FolderSlot ReadFolder(MediaKind kind, int n, char drive, const std::string& tablePath,
                      const std::string& bytes, Files& files, KindNotes& notes) {
  ContentTable table = DecodeTable(kind, bytes);
  FolderSlot folder;
  folder.folderTitle = table.folderTitle;
  std::string directory;
  if (IsTrustedDirectoryText(kind, table.directoryText)) {
    directory = CardRoot(drive) + table.directoryText + "\\";
  } else {
    directory = CardFolderDirectory(drive, kind, n);
    notes.untrustedHeaders.push_back(tablePath);
  }
  bool badName = false;
  bool cutOff = false;
  folder.items.reserve(std::min<std::size_t>(table.entries.size(), kMaxItems));
  for (const TableEntry& entry : table.entries) {
    if (!IsPlainEntryName(entry.stem, entry.extension)) {
      badName = true;
      continue;
    }
    const std::string name = entry.FileName();
    const std::int64_t size = files.FileSizeOf(directory + name);
    if (size < 0) continue;  // the file is not on the card
    if (folder.itemCount() >= kMaxItems) {
      cutOff = true;
      break;
    }
    folder.items.push_back({.order = folder.itemCount() + 1,
                            .deleted = false,
                            .sourceDir = directory,
                            .targetDir = directory,
                            .sourceName = name,
                            .targetName = name,
                            .stamp = entry.stamp,
                            .title = entry.title,
                            .size = size});
  }
  if (badName) notes.badNames.push_back(tablePath);
  if (cutOff) notes.cutOff.push_back(tablePath);
  return folder;
}

// Probes the kind's tables 1, 2, 3, ... and stops at the first one missing.
void ReadKind(KindState& state, MediaKind kind, char drive, Files& files, KindNotes& notes) {
  const int last = TraitsOf(kind).lastProbedFolder;
  for (int n = 1; n <= last; ++n) {
    const std::string tablePath = TablePath(drive, kind, n);
    if (!files.Exists(tablePath)) break;
    if (n > kMaxFolders) {
      notes.cutOff.push_back(tablePath);
      break;
    }
    std::optional<std::string> bytes;
    if (!files.IsDirectory(tablePath)) bytes = files.ReadFile(tablePath);
    if (!bytes) {
      // The folder keeps its number, so that the folders after it keep theirs.
      notes.unreadable.push_back(tablePath);
      state.folders.emplace_back();
      continue;
    }
    state.folders.push_back(ReadFolder(kind, n, drive, tablePath, *bytes, files, notes));
  }
}

}  // namespace

LoadResult LoadCard(CardModel& model, char drive, bool& backupAdvice, Files& files, Drives& drives,
                    Feedback& feedback, LoadOptions options) {
  drive = UpperDrive(drive);
  LoadResult result;
  if (!CheckCard(drive, drives, feedback, options.askRemovable)) return result;
  if (backupAdvice) feedback.Tell(MessageKind::Information, kBackupAdvice);

  CardModel fresh;
  SetUpGauge(fresh.gauge, drive, drives);
  Feedback::BusyGuard busy = feedback.Busy();

  int done = 0;
  for (MediaKind kind : kAllKinds) {
    feedback.Status(TraitsOf(kind).loadStatus);
    KindState& state = fresh.of(kind);
    KindNotes notes;
    ReadKind(state, kind, drive, files, notes);
    if (state.folderCount() == 0) {
      result.folderAdded[IndexOf(kind)] = AddFolder(fresh, kind, feedback) != 0;
    }
    if (!notes.unreadable.empty()) result.complete = false;
    result.cutOff[IndexOf(kind)] = !notes.cutOff.empty();
    TellList(feedback, MessageKind::Warning, kUnreadableMessage, notes.unreadable);
    TellList(feedback, MessageKind::Warning, kUntrustedHeaderMessage, notes.untrustedHeaders);
    TellList(feedback, MessageKind::Warning, kBadNameMessage, notes.badNames);
    TellList(feedback, MessageKind::Warning, kCapacityMessage, notes.cutOff);
    feedback.Progress(++done, static_cast<int>(kAllKinds.size()));
  }

  fresh.drive = drive;
  fresh.loaded = true;
  fresh.complete = result.complete;
  model = std::move(fresh);
  result.loaded = true;
  feedback.Status("");
  backupAdvice = false;
  return result;
}

}  // namespace sdmate
