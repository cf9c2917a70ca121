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
  std::vector<std::string> afterGap;
};

void TellList(Feedback& feedback, const char* text, const std::vector<std::string>& names) {
  if (names.empty()) return;
  std::string message = text;
  for (const std::string& name : names) message += "\n" + name;
  feedback.Tell(MessageKind::Warning, message);
}

void Note(KindNotes& notes, const FoundTable& found, const TableNotes& table) {
  if (table.untrustedHeader) notes.untrustedHeaders.push_back(found.path);
  if (table.badName) notes.badNames.push_back(found.path);
  if (table.cutOff) notes.cutOff.push_back(found.path);
}

void ReadKind(KindState& state, MediaKind kind, char drive, Files& files, KindNotes& notes) {
  const int gap = ProbeTables(drive, kind, files, [&](const FoundTable& found) {
    if (found.number > kMaxFolders) {
      notes.cutOff.push_back(found.path);
      return false;
    }
    if (!found.bytes) {
      // The folder keeps its number, so that the folders after it keep theirs.
      notes.unreadable.push_back(found.path);
      state.folders.emplace_back();
    } else {
      TableNotes table;
      state.folders.push_back(
          FolderFromTable(kind, drive, found.number, *found.bytes, files, table));
      Note(notes, found, table);
    }
    return true;
  });
  for (int number : TablesAfterGap(drive, kind, files, gap)) {
    notes.afterGap.push_back(TablePath(drive, kind, number));
  }
}

}  // namespace

FolderSlot FolderFromTable(MediaKind kind, char drive, int number, const std::string& bytes,
                           Files& files, TableNotes& notes) {
  const ContentTable table = DecodeTable(kind, bytes);
  FolderSlot folder;
  folder.folderTitle = table.folderTitle;
  const FilesDirectory place = FilesDirectoryOf(drive, kind, number, table);
  notes.untrustedHeader = !place.trusted;
  folder.items.reserve(std::min<std::size_t>(table.entries.size(), kMaxItems));
  for (const TableEntry& entry : table.entries) {
    if (!IsPlainEntryName(entry.stem, entry.extension)) {
      notes.badName = true;
      continue;
    }
    const std::string name = entry.FileName();
    const std::int64_t size = files.FileSizeOf(place.directory + name);
    if (size < 0) continue;  // the file is not on the card
    if (folder.itemCount() >= kMaxItems) {
      notes.cutOff = true;
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
  return folder;
}

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
    TellList(feedback, text::kTablesAfterGap, notes.afterGap);
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
