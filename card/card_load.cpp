// Card load: the handset's tables of the three kinds read into a fresh model.
#include "card/card_load.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "card/card_messages.h"
#include "card/drive_check.h"
#include "card/table_probe.h"
#include "core/card_guard.h"
#include "editing/folder_operations.h"

namespace sdmate {
namespace {

// What a kind's tables gave the user to know, each told once per kind after the kind is read.
struct KindNotes {
  std::vector<std::string> unreadable;
  std::vector<std::string> untrustedHeaders;
  std::vector<std::string> badNames;
  std::vector<std::string> cutOff;
};

void TellList(Feedback& feedback, const char* text, const std::vector<std::string>& names) {
  if (names.empty()) return;
  std::string message = text;
  for (const std::string& name : names) message += "\n" + name;
  feedback.Tell(MessageKind::Warning, message);
}

// Folder n's items from its table's bytes. Entries whose name is not a plain name or whose file
// is missing are dropped.
FolderSlot ReadFolder(MediaKind kind, char drive, const FoundTable& found, Files& files,
                      KindNotes& notes) {
  const ContentTable table = DecodeTable(kind, *found.bytes);
  FolderSlot folder;
  folder.folderTitle = table.folderTitle;
  const FilesDirectory place = FilesDirectoryOf(drive, kind, found.number, table);
  if (!place.trusted) notes.untrustedHeaders.push_back(found.path);
  bool badName = false;
  bool cutOff = false;
  folder.items.reserve(std::min<std::size_t>(table.entries.size(), kMaxItems));
  for (const TableEntry& entry : table.entries) {
    if (!IsPlainEntryName(entry.stem, entry.extension)) {
      badName = true;
      continue;
    }
    const std::string name = entry.FileName();
    const std::int64_t size = files.FileSizeOf(place.directory + name);
    if (size < 0) continue;  // the file is not on the card
    if (folder.itemCount() >= kMaxItems) {
      cutOff = true;
      break;
    }
    folder.items.push_back({.order = folder.itemCount() + 1,
                            .deleted = false,
                            .sourceDir = place.directory,
                            .targetDir = place.directory,
                            .sourceName = name,
                            .targetName = name,
                            .stamp = entry.stamp,
                            .title = entry.title,
                            .size = size});
  }
  if (badName) notes.badNames.push_back(found.path);
  if (cutOff) notes.cutOff.push_back(found.path);
  return folder;
}

void ReadKind(KindState& state, MediaKind kind, char drive, Files& files, KindNotes& notes) {
  ProbeTables(drive, kind, files, [&](const FoundTable& found) {
    if (found.number > kMaxFolders) {
      notes.cutOff.push_back(found.path);
      return false;
    }
    if (!found.bytes) {
      // The folder keeps its number, so that the folders after it keep theirs.
      notes.unreadable.push_back(found.path);
      state.folders.emplace_back();
    } else {
      state.folders.push_back(ReadFolder(kind, drive, found, files, notes));
    }
    return true;
  });
}

}  // namespace

LoadResult LoadCard(CardModel& model, char drive, bool& backupAdvice, Files& files, Drives& drives,
                    Feedback& feedback, LoadOptions options) {
  if (UpperLetter(drive) != 0) drive = UpperLetter(drive);
  LoadResult result;
  if (!CheckDrive(drive, drives, feedback, options.askRemovable)) return result;
  if (backupAdvice) feedback.Tell(MessageKind::Information, text::kBackupAdvice);

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
    TellList(feedback, text::kUnreadableTables, notes.unreadable);
    TellList(feedback, text::kUntrustedHeaders, notes.untrustedHeaders);
    TellList(feedback, text::kBadNames, notes.badNames);
    TellList(feedback, text::kCapacity, notes.cutOff);
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
