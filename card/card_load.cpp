// Card load: the handset's tables of the three kinds read into a fresh model.
#include "card/card_load.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "card/card_messages.h"
#include "card/drive_check.h"
#include "card/table_probe.h"
#include "card/work_queue.h"
#include "core/ascii.h"
#include "core/card_guard.h"
#include "editing/folder_operations.h"
#include "platform/hash.h"

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

void Note(KindNotes& notes, const std::string& path, const TableNotes& table) {
  if (table.untrustedHeader) notes.untrustedHeaders.push_back(path);
  if (table.badName) notes.badNames.push_back(path);
  if (table.cutOff) notes.cutOff.push_back(path);
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

// A table's header read into the folder (its title); the directory its files are in.
FilesDirectory ReadHeader(MediaKind kind, char drive, int number, std::string_view bytes,
                          FolderSlot& folder, TableNotes& notes) {
  const ContentTable header = DecodeTableHeader(bytes);
  folder.folderTitle = header.folderTitle;
  FilesDirectory place = FilesDirectoryOf(drive, kind, number, header);
  notes.untrustedHeader = !place.trusted;
  return place;
}

// A name of a table that the folder holds: the entry's place in the table and its file's size.
struct NamedFile {
  std::size_t entry = 0;
  std::int64_t size = 0;
};

// What a look-up gives for a name the listing holds only under another spelling: only the file
// system can tell whether it is the same file.
constexpr std::int64_t kAskTheSystem = -2;

// The entries of a table whose files sizeOf finds, in table order (sizeOf gives a name's file's
// size, -1 when it is missing or no regular file, or kAskTheSystem): entries whose name is not a
// plain name or whose file is missing are left out, at most 128 are kept. False when a look-up
// gave kAskTheSystem.
template <class SizeOf>
bool NamedFilesOf(MediaKind kind, std::string_view bytes, TableNotes& notes,
                  std::vector<NamedFile>& found, SizeOf sizeOf) {
  const auto count =
      static_cast<std::size_t>(EntryCountOf(static_cast<std::int64_t>(bytes.size())));
  found.reserve(std::min<std::size_t>(count, kMaxItems));
  std::string name;
  for (std::size_t i = 0; i < count; ++i) {
    const EntryView entry = EntryNameAt(kind, bytes, i);
    if (!IsPlainEntryName(entry.stem, entry.extension)) {
      notes.badName = true;
      continue;
    }
    name.assign(entry.stem).append(1, '.').append(entry.extension);
    const std::int64_t size = sizeOf(name);
    if (size == kAskTheSystem) return false;
    if (size < 0) continue;  // the file is not on the card
    if (found.size() >= kMaxItems) {
      notes.cutOff = true;
      break;
    }
    found.push_back({.entry = i, .size = size});
  }
  return true;
}

// The named files of a table whose files the directory holds, looked up in the listings.
std::vector<NamedFile> FilesOfTable(MediaKind kind, const std::string& bytes,
                                    const std::string& directory, CardListings& listings,
                                    TableNotes& notes) {
  std::vector<NamedFile> found;
  NamedFilesOf(kind, bytes, notes, found,
               [&](const std::string& name) { return listings.SizeOf(directory, name); });
  return found;
}

// The same against a directory's listing alone, for the worker: false when a name is in the
// listing only under another spelling (the folder is then looked up on the main thread).
bool FilesOfListing(MediaKind kind, std::string_view bytes,
                    const std::vector<DirectoryEntry>& entries, TableNotes& notes,
                    std::vector<NamedFile>& found) {
  std::unordered_map<std::string, std::size_t> byUpper;  // made at the first name not found
  std::size_t next = 0;  // a table names its files mostly in the listing's order
  return NamedFilesOf(kind, bytes, notes, found, [&](const std::string& name) -> std::int64_t {
    auto at = entries.end();
    if (next < entries.size() && entries[next].name == name) {
      at = entries.begin() + static_cast<std::ptrdiff_t>(next);
    } else {
      at = std::lower_bound(
          entries.begin(), entries.end(), name,
          [](const DirectoryEntry& listed, const std::string& n) { return listed.name < n; });
      if (at != entries.end() && at->name != name) at = entries.end();
    }
    if (at == entries.end()) {
      if (byUpper.empty()) {
        for (std::size_t e = 0; e < entries.size(); ++e) {
          byUpper.try_emplace(AsciiUpper(entries[e].name), e);
        }
      }
      return byUpper.contains(AsciiUpper(name)) ? kAskTheSystem : -1;
    }
    next = static_cast<std::size_t>(at - entries.begin()) + 1;
    return at->type == DirectoryEntry::Type::File ? at->size : -1;
  });
}

// The folder's items for those entries, added to items. It needs only the table's bytes: the
// load builds them beside the look-ups of the next folder.
void AddItems(MediaKind kind, const std::string& bytes, const std::string& directory,
              const std::vector<NamedFile>& files, std::vector<ItemRow>& items) {
  items.reserve(items.size() + files.size());
  std::string name;
  for (const NamedFile& file : files) {
    const EntryView entry = EntryAt(kind, bytes, file.entry);
    name.assign(entry.stem).append(1, '.').append(entry.extension);
    items.push_back({.order = static_cast<std::int32_t>(items.size()) + 1,
                     .deleted = false,
                     .sourceDir = directory,
                     .targetDir = directory,
                     .sourceName = name,
                     .targetName = name,
                     .stamp = std::string(entry.stamp),
                     .title = std::string(entry.title),
                     .size = file.size});
  }
}

std::uint32_t Size32(std::int64_t size) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(size, 0, 0xFFFFFFFF));
}

// A text that its field holds whole and that reads back as it is (no zero byte ends it early).
bool FitsWhole(std::string_view text, std::size_t width) {
  return text.size() <= width && text.find('\0') == std::string_view::npos;
}

// A file name the entry's stem and extension hold whole, so that the entry names it again.
bool NameFitsWhole(std::string_view name, MediaKind kind) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos &&
         FitsWhole(name.substr(0, dot), TraitsOf(kind).stemWidth) &&
         FitsWhole(name.substr(dot + 1), 3);
}

// The load's folders' items, made beside the main thread while it reads the next tables: the
// main thread reads each table; a job lists its directory (where the files allow it elsewhere),
// looks the table's names up in the listing, builds the items and tells whether the folder is
// what its table says. Once the tables are read, the main thread runs the jobs left with the
// worker.
class ItemBuilder {
 public:
  explicit ItemBuilder(Files& files) : files_(files) {}
  struct Table {
    MediaKind kind = MediaKind::Image;
    char drive = 0;
    std::shared_ptr<const std::string> bytes;
    std::string directory;  // where its files are
    // Their listing, never changed after; none: the job lists the directory (claimed in the
    // listings, handed in at Finish).
    const std::vector<DirectoryEntry>* entries = nullptr;
  };
  // The folder the kind's state ends with now (its title read, `read` the load's record of it,
  // whose notes tell what the header told). Not now: it is looked up at Finish.
  void Build(KindState& state, std::vector<LoadedFolder>& read, Table table, TableNotes notes,
             bool now = true) {
    const std::size_t slot = state.folders.size() - 1;
    auto& building = building_.emplace_back(std::make_unique<Building>(
        Building{.state = &state, .read = &read, .slot = slot, .table = std::move(table)}));
    building->notes = notes;
    building->folder.folderTitle = state.folders.back().folderTitle;
    // Made here: the worker's own memory grows page by page.
    building->folder.items.reserve(kMaxItems);
    if (!now) {
      building->again = true;
      return;
    }
    worker_.Post([building = building.get(), &files = files_] {
      const Table& looked = building->table;
      const std::vector<DirectoryEntry>* entries = looked.entries;
      if (entries == nullptr) {
        building->listing = files.ListFiles(looked.directory);
        building->listed = true;
        if (!building->listing) {
          building->again = true;  // asked name by name, as a directory that cannot be listed
          return;
        }
        entries = &*building->listing;
      }
      std::vector<NamedFile> named;
      if (!FilesOfListing(looked.kind, *looked.bytes, *entries, building->notes, named)) {
        building->again = true;
        return;
      }
      Complete(*building, named);
    });
  }
  // Runs the jobs left, waits for the worker and gives each folder its items and notes; the
  // listings made take their places in the listings, and the folders the jobs left are looked
  // up there.
  void Finish(CardListings& listings) {
    worker_.Finish();
    for (const std::unique_ptr<Building>& building : building_) {
      if (building->listed) listings.Add(building->table.directory, std::move(building->listing));
      if (building->again) {
        const Table& table = building->table;
        building->notes.badName = false;
        building->notes.cutOff = false;
        Complete(*building, FilesOfTable(table.kind, *table.bytes, table.directory, listings,
                                         building->notes));
      }
      building->state->folders[building->slot] = std::move(building->folder);
      LoadedFolder& read = (*building->read)[building->slot];
      read.builtAsRead = building->asRead;
      read.notes = building->notes;
    }
    building_.clear();
  }

 private:
  struct Building {
    KindState* state = nullptr;
    std::vector<LoadedFolder>* read = nullptr;
    std::size_t slot = 0;  // in state->folders and read
    Table table;
    TableNotes notes;
    bool again = false;   // the names are to be looked up on the main thread
    bool listed = false;  // the job listed the directory
    std::optional<std::vector<DirectoryEntry>> listing;
    FolderSlot folder;
    bool asRead = false;
  };
  static void Complete(Building& building, const std::vector<NamedFile>& named) {
    const Table& table = building.table;
    AddItems(table.kind, *table.bytes, table.directory, named, building.folder.items);
    building.asRead = FolderIsItsTable(building.folder, *table.bytes, table.kind, table.drive,
                                       static_cast<int>(building.slot) + 1);
  }
  Files& files_;
  std::vector<std::unique_ptr<Building>> building_;
  WorkQueue worker_{8};  // stops before the items it builds go
};

void ReadKind(KindState& state, MediaKind kind, char drive, CardListings& listings,
              std::vector<LoadedFolder>& read, std::vector<LoadedFolder>* before, KindState* model,
              const std::vector<char>* asRead, const std::vector<std::string>& changed,
              ItemBuilder& builder, KindNotes& notes) {
  Files& files = listings.files();
  // A folder that still is what the card held, and that the commit left alone, is taken over
  // from the model with what the load before read of it.
  const auto keep = [&](int n) {
    const auto index = static_cast<std::size_t>(n - 1);
    if (before == nullptr || model == nullptr || asRead == nullptr || n > kMaxFolders ||
        index >= before->size() || index >= asRead->size() || !(*asRead)[index] ||
        n > model->folderCount()) {
      return false;
    }
    const LoadedFolder& folder = (*before)[index];
    return folder.readable && !Touched(changed, TablePath(drive, kind, n), folder.directory,
                                       CardFolderDirectory(drive, kind, n));
  };
  std::vector<std::string> paths;   // of the tables read, in folder order
  std::vector<std::string> beyond;  // tables after the last folder the handset keeps
  const int gap = ProbeTables(
      drive, kind, files,
      [&](FoundTable& found) {
        if (found.number > kMaxFolders) {
          beyond.push_back(found.path);
          return false;
        }
        LoadedFolder folder;
        const auto index = static_cast<std::size_t>(found.number - 1);
        if (found.kept) {
          // The folder is what its table says: the commit before found it so.
          folder = std::move((*before)[index]);
          folder.builtAsRead = true;
          state.folders.push_back(model->folders.handle(index));
        } else if (found.bytes) {
          folder.readable = true;
          // Kept to tell at the next commit which folders still are what the card holds, and
          // for the fingerprint of the tables: an untouched table is not read again.
          folder.table = std::make_shared<const std::string>(std::move(*found.bytes));
          FolderSlot& slot = state.folders.emplace_back();
          const FilesDirectory place =
              ReadHeader(kind, drive, found.number, *folder.table, slot, folder.notes);
          folder.directory = place.directory;
          ItemBuilder::Table table{
              .kind = kind, .drive = drive, .bytes = folder.table, .directory = place.directory};
          // The directory is listed beside the next tables where the files allow it, or here;
          // a directory an earlier table of the kind named is looked at once its listing is in.
          const CardListings::Claim claim = files.ListsBeside()
                                                ? listings.ClaimListing(place.directory)
                                                : CardListings::Claim::Listed;
          if (claim == CardListings::Claim::Listed) {
            table.entries = listings.EntriesOf(place.directory);
          }
          if (claim != CardListings::Claim::Listed || table.entries != nullptr) {
            builder.Build(state, read, std::move(table), folder.notes,
                          claim != CardListings::Claim::Claimed);
          } else {
            // A directory that cannot be listed is asked name by name, here.
            AddItems(kind, *folder.table, place.directory,
                     FilesOfTable(kind, *folder.table, place.directory, listings, folder.notes),
                     slot.items);
            folder.builtAsRead = FolderIsItsTable(slot, *folder.table, kind, drive, found.number);
          }
        }
        if (!folder.readable) {
          // The folder keeps its number, so that the folders after it keep theirs.
          notes.unreadable.push_back(found.path);
          state.folders.emplace_back();
        }
        paths.push_back(found.path);
        read.push_back(std::move(folder));
        return true;
      },
      keep);
  builder.Finish(listings);
  for (std::size_t i = 0; i < read.size() && i < paths.size(); ++i) {
    if (read[i].readable) Note(notes, paths[i], read[i].notes);
  }
  notes.cutOff.insert(notes.cutOff.end(), beyond.begin(), beyond.end());
  for (int number : TablesAfterGap(drive, kind, files, gap)) {
    notes.afterGap.push_back(TablePath(drive, kind, number));
  }
}

}  // namespace

void LoadedCard::StartHashing() {
  std::vector<std::shared_ptr<const std::string>> tables;
  for (const std::vector<LoadedFolder>& folders : kinds) {
    for (const LoadedFolder& folder : folders) {
      if (folder.table && folder.tableHash.empty()) tables.push_back(folder.table);
    }
  }
  if (tables.empty()) return;
  try {
    hashing = std::async(std::launch::async, [tables = std::move(tables)] {
      TableHashes hashes;
      hashes.reserve(tables.size());
      for (const auto& table : tables) hashes.emplace_back(table, Sha256Hex(*table));
      return hashes;
    });
  } catch (const std::system_error&) {
    // No thread to be had: the commit takes them itself.
  }
}

void LoadedCard::CollectHashes() {
  if (!hashing.valid()) return;
  TableHashes hashes = hashing.get();
  std::unordered_map<const std::string*, std::string*> byTable;
  for (auto& [table, hash] : hashes) byTable.emplace(table.get(), &hash);
  for (std::vector<LoadedFolder>& folders : kinds) {
    for (LoadedFolder& folder : folders) {
      const auto found = byTable.find(folder.table.get());
      if (found != byTable.end() && folder.tableHash.empty()) {
        folder.tableHash = std::move(*found->second);
      }
    }
  }
}

FolderSlot FolderFromTable(MediaKind kind, char drive, int number, const std::string& bytes,
                           CardListings& listings, TableNotes& notes, std::string* directory) {
  FolderSlot folder;
  const FilesDirectory place = ReadHeader(kind, drive, number, bytes, folder, notes);
  if (directory != nullptr) *directory = place.directory;
  AddItems(kind, bytes, place.directory,
           FilesOfTable(kind, bytes, place.directory, listings, notes), folder.items);
  return folder;
}

bool FolderIsItsTable(const FolderSlot& folder, std::string_view table, MediaKind kind, char drive,
                      int n) {
  if (folder.deletedCount != 0 || table.size() != kHeaderSize + kEntrySize * folder.items.size() ||
      HeaderTitleAt(table) != folder.folderTitle ||
      table.substr(0, kHeaderSize) !=
          BuildTableHeader(FolderDirectoryText(kind, n), folder.folderTitle, folder.itemCount())) {
    return false;
  }
  const std::string directory = CardFolderDirectory(drive, kind, n);
  for (std::size_t p = 0; p < folder.items.size(); ++p) {
    const ItemRow& item = folder.items[p];
    // The entry's bytes are the item's, and its texts fit their fields whole: they read back as
    // they are.
    const bool same = item.order == static_cast<std::int32_t>(p) + 1 && !item.deleted &&
                      !item.added && item.sourceName == item.targetName &&
                      item.sourceDir == directory && item.targetDir == directory &&
                      FitsWhole(item.title, kEntryTitleField) &&
                      FitsWhole(item.stamp, kStampLength) && NameFitsWhole(item.targetName, kind) &&
                      TableEntryIs(table.substr(kHeaderSize + kEntrySize * p, kEntrySize), kind,
                                   item.targetName, item.title, item.stamp, Size32(item.size));
    if (!same) return false;
  }
  return true;
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
    before->CollectHashes();  // the folders kept keep their hashes
    for (const std::string& path : *options.changed) changed.push_back(AsciiUpper(path));
  }
  LoadedCard read{.drive = drive};
  CardListings listings(files);
  ItemBuilder builder(files);
  int done = 0;
  for (MediaKind kind : kAllKinds) {
    feedback.Status(TraitsOf(kind).loadStatus);
    KindState& state = fresh.of(kind);
    KindNotes notes;
    const bool takeOver = before != nullptr && options.asRead != nullptr;
    ReadKind(state, kind, drive, listings, read.kinds[IndexOf(kind)],
             before != nullptr ? &before->kinds[IndexOf(kind)] : nullptr,
             takeOver ? &model.of(kind) : nullptr,
             takeOver ? &(*options.asRead)[IndexOf(kind)] : nullptr, changed, builder, notes);
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
  for (MediaKind kind : kAllKinds) {
    std::vector<LoadedFolder>& folders = read.kinds[IndexOf(kind)];
    const FolderList& built = fresh.of(kind).folders;
    for (std::size_t i = 0; i < folders.size() && i < built.size(); ++i) {
      folders[i].built = built.handle(i);
    }
  }

  if (options.read != nullptr) {
    if (options.read->hashing.valid()) options.read->hashing.wait();
    read.StartHashing();
    *options.read = std::move(read);
  }
  fresh.drive = drive;
  fresh.loaded = true;
  fresh.complete = result.complete;
  if (options.replaced != nullptr) *options.replaced = std::move(model);
  model = std::move(fresh);
  result.loaded = true;
  feedback.Status("");
  backupAdvice = false;
  return result;
}

}  // namespace sdmate
