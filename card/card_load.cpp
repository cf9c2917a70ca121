// Card load: the handset's tables of the three kinds read into a fresh model.
#include "card/card_load.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "card/card_messages.h"
#include "card/drive_check.h"
#include "card/table_probe.h"
#include "core/ascii.h"
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

// Whether a commit changed something a folder read: its table, or a file below its directory or
// its own folder directory (keys upper-cased).
bool Touched(const std::vector<std::string>& changed, const std::string& table,
             const std::string& directory, const std::string& own) {
  const std::string tableKey = AsciiUpper(table);
  std::string directoryKey = AsciiUpper(directory);
  std::string ownKey = AsciiUpper(own);
  if (!directoryKey.ends_with('\\')) directoryKey += '\\';
  if (!ownKey.ends_with('\\')) ownKey += '\\';
  return std::any_of(changed.begin(), changed.end(), [&](const std::string& key) {
    const std::string below = key + "\\";
    return key == tableKey || below.starts_with(directoryKey) || below.starts_with(ownKey);
  });
}

void ReadKind(KindState& state, MediaKind kind, char drive, CardListings& listings,
              std::vector<LoadedFolder>& read, std::vector<LoadedFolder>* before,
              const std::vector<std::string>& changed, KindNotes& notes) {
  Files& files = listings.files();
  // A folder the commit left alone is taken as the load before read it.
  const auto keep = [&](int n) {
    if (before == nullptr || n > static_cast<int>(before->size()) || n > kMaxFolders) return false;
    const LoadedFolder& folder = (*before)[static_cast<std::size_t>(n - 1)];
    return folder.slot && !Touched(changed, TablePath(drive, kind, n), folder.directory,
                                   CardFolderDirectory(drive, kind, n));
  };
  const int gap = ProbeTables(
      drive, kind, files,
      [&](FoundTable& found) {
        if (found.number > kMaxFolders) {
          notes.cutOff.push_back(found.path);
          return false;
        }
        LoadedFolder folder;
        if (found.kept) {
          folder = std::move((*before)[static_cast<std::size_t>(found.number - 1)]);
        } else if (found.bytes) {
          folder.slot = FolderFromTable(kind, drive, found.number, *found.bytes, listings,
                                        folder.notes, &folder.directory);
          // Kept for the fingerprint of the tables a commit takes: an untouched table is not
          // read again.
          folder.table = std::move(*found.bytes);
        }
        if (!folder.slot) {
          // The folder keeps its number, so that the folders after it keep theirs.
          notes.unreadable.push_back(found.path);
          state.folders.emplace_back();
        } else {
          state.folders.push_back(*folder.slot);
          Note(notes, found, folder.notes);
        }
        read.push_back(std::move(folder));
        return true;
      },
      keep);
  for (int number : TablesAfterGap(drive, kind, files, gap)) {
    notes.afterGap.push_back(TablePath(drive, kind, number));
  }
}

}  // namespace

FolderSlot FolderFromTable(MediaKind kind, char drive, int number, const std::string& bytes,
                           CardListings& listings, TableNotes& notes, std::string* directory) {
  const ContentTable table = DecodeTable(kind, bytes);
  FolderSlot folder;
  folder.folderTitle = table.folderTitle;
  const FilesDirectory place = FilesDirectoryOf(drive, kind, number, table);
  notes.untrustedHeader = !place.trusted;
  if (directory != nullptr) *directory = place.directory;
  folder.items.reserve(std::min<std::size_t>(table.entries.size(), kMaxItems));
  for (const TableEntry& entry : table.entries) {
    if (!IsPlainEntryName(entry.stem, entry.extension)) {
      notes.badName = true;
      continue;
    }
    const std::string name = entry.FileName();
    const std::int64_t size = listings.SizeOf(place.directory, name);
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

  // A read-back reads again only what the commit changed, when the load before is at hand.
  LoadedCard* before =
      options.read != nullptr && options.changed != nullptr && options.read->drive == drive
          ? options.read
          : nullptr;
  std::vector<std::string> changed;
  if (before != nullptr) {
    for (const std::string& path : *options.changed) changed.push_back(AsciiUpper(path));
  }
  LoadedCard read{.drive = drive};
  CardListings listings(files);
  int done = 0;
  for (MediaKind kind : kAllKinds) {
    feedback.Status(TraitsOf(kind).loadStatus);
    KindState& state = fresh.of(kind);
    KindNotes notes;
    ReadKind(state, kind, drive, listings, read.kinds[IndexOf(kind)],
             before != nullptr ? &before->kinds[IndexOf(kind)] : nullptr, changed, notes);
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

  if (options.read != nullptr) *options.read = std::move(read);
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
