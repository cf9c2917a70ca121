// Planning a kind's part of the commit.
#include "card/commit_plan.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

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

class Planner {
 public:
  Planner(MediaKind kind, char drive, Files& files) : kind_(kind), drive_(drive), files_(files) {
    plan_.kind = kind;
  }

  KindPlan Plan(KindState& state, const std::vector<char>* asRead) {
    const KindTraits& traits = TraitsOf(kind_);
    Status(text::kRemovedFoldersStatus);
    RemovedFolders(state);
    Status(traits.tableStatus);
    const std::string tableDirectory = TableDirectory(drive_, kind_);
    if (!files_.IsDirectory(tableDirectory)) {
      Add({.step = Step::MakeDirectory, .path = tableDirectory, .text = text::kFolderNotMade});
    }
    const int count = state.folderCount();
    state_ = &state;
    for (int n = 1; n <= count; ++n) {
      const auto index = static_cast<std::size_t>(n - 1);
      if (asRead != nullptr && index < asRead->size() && (*asRead)[index]) {
        FolderSteps(n);  // nothing to write: the folder's steps are only told
      } else {
        Folder(state.folder(n), n);
      }
    }
    OtherTables(count);
    // Directories of folders that no longer exist, after their files have moved down: those of
    // the numbers after the last folder up to 127 that the data directory holds.
    std::set<std::string> present;
    for (const std::string& name : files_.ListDirectory(CardDataDirectory(drive_, kind_))
                                       .value_or(std::vector<std::string>{})) {
      present.insert(AsciiUpper(name));
    }
    for (int n = count + 1; n <= kMaxFolders && !present.empty(); ++n) {
      const std::string name = TraitsOf(kind_).directoryPrefix + FolderNumberText(kind_, n);
      if (!present.contains(AsciiUpper(name))) continue;
      Add({.step = Step::DeleteTree,
           .path = WithoutTrailingBackslash(CardFolderDirectory(drive_, kind_, n)),
           .text = text::kFolderNotDeleted});
    }
    plan_.areas = {CardDataDirectory(drive_, kind_), TableDirectory(drive_, kind_)};
    plan_.temporaryDirectory = CardDataDirectory(drive_, kind_);
    return std::move(plan_);
  }

 private:
  void Add(Operation operation) { plan_.operations.push_back(std::move(operation)); }

  // IsHandsetFile, with the directory test made once per source directory.
  bool Handset(const ItemRow& item) {
    if (item.added || !item.OnCard()) return false;
    // The items of a folder mostly share their directory.
    if (item.sourceDir != lastDirectory_) {
      lastDirectory_ = item.sourceDir;
      lastIsHandset_ = IsStrictlyBelow(item.sourceDir, CardDataDirectory(drive_, kind_));
    }
    return lastIsHandset_;
  }

  // Everything in the kind's table directory but the tables of folders 1 .. count, as the
  // directory holds it before the commit. A table whose write fails keeps its old version.
  void OtherTables(int count) {
    const std::string tableDirectory = TableDirectory(drive_, kind_);
    if (!files_.Exists(tableDirectory)) return;
    const auto names = files_.ListDirectory(tableDirectory);
    if (!names) {
      Add({.step = Step::Refuse, .path = tableDirectory, .text = text::kTableDirectoryUnlisted});
      return;
    }
    std::set<std::string> keep;
    for (int n = 1; n <= count; ++n) keep.insert(AsciiUpper(TableFileName(kind_, n)));
    for (const std::string& name : *names) {
      if (keep.contains(AsciiUpper(name))) continue;
      const std::string path = tableDirectory + "\\" + name;
      Add({.step = files_.IsDirectory(path) ? Step::DeleteTree : Step::DeleteFile,
           .path = path,
           .text = text::kTableNotRemoved});
    }
  }

  // How many items of the kind read the card file an item reads, counted over all folders the
  // first time a rename asks (the sources do not change while the kind is planned).
  int Readers(const ItemRow& item) {
    if (!readersCounted_) {
      readersCounted_ = true;
      for (const FolderSlot& folder : state_->folders) {
        for (const ItemRow& other : folder.items) {
          if (Handset(other)) ++readers_[AsciiUpper(other.SourcePath())];
        }
      }
    }
    return readers_[AsciiUpper(item.SourcePath())];
  }

  // The table's bytes on the card are these already.
  bool Unchanged(const std::string& path, const std::string& bytes) {
    const auto now = files_.ReadFile(path, bytes.size() + 1);
    return now && *now == bytes;
  }
  void Status(const char* status) { Add({.step = Step::Status, .text = status}); }

  void RemovedFolders(const KindState& state) {
    const std::string dataDirectory = CardDataDirectory(drive_, kind_);
    for (const RemovedFolder& removed : state.removedFolders) {
      if (removed.empty()) continue;
      // Only a folder directory of the kind is ever removed: never the card root, a data
      // directory itself or anything beside them.
      if (!IsStrictlyBelow(removed, dataDirectory)) {
        Add({.step = Step::Refuse, .path = removed, .text = text::kOutsideItsPlace});
      } else if (files_.Exists(removed)) {
        Add({.step = Step::DeleteTree, .path = removed, .text = text::kFolderNotDeleted});
      }
    }
  }

  void Folder(FolderSlot& folder, int n) {
    const KindTraits& traits = TraitsOf(kind_);
    const std::string directory = CardFolderDirectory(drive_, kind_, n);

    // The table, complete before any of the folder's files is touched: it names the final
    // names, in list order.
    const std::vector<ItemRow*> visible = VisibleItems(folder);
    std::string table = BuildTableHeader(FolderDirectoryText(kind_, n), folder.folderTitle,
                                         static_cast<int>(visible.size()));
    table.reserve(table.size() + visible.size() * kEntrySize);
    for (ItemRow* item : visible) {
      item->targetDir = directory;
      table +=
          BuildTableEntry(kind_, item->targetName, item->title, item->stamp, Size32(item->size));
      plan_.needs.push_back({.path = item->TargetPath(),
                             .source = item->SourcePath(),
                             .added = !Handset(*item),
                             .folder = n,
                             .item = item});
    }
    if (!visible.empty() && !files_.Exists(directory)) {
      Add({.step = Step::MakeDirectory, .path = directory, .text = text::kFolderNotMade});
    }
    const std::string tablePath = TablePath(drive_, kind_, n);
    if (!Unchanged(tablePath, table)) {
      Add({.step = Step::WriteTable,
           .path = tablePath,
           .bytes = std::move(table),
           .text = text::kTableNotWritten,
           .folder = n});
    }

    // Files of deleted items go first, so that a file taking a deleted item's name is not
    // deleted afterwards. A file of the computer, or one the user added, is never deleted.
    Status(traits.deleteStatus);
    for (ItemRow& item : folder.items) {
      if (!item.deleted || !Handset(item)) continue;
      Add({.step = Step::DeleteFile,
           .path = item.SourcePath(),
           .text = text::kFileNotDeleted,
           .folder = n});
    }

    // Renames in two passes through a temporary name, so that a permutation of names never
    // overwrites a file that still has to be read. The file under its old name stays, unless
    // the item left its folder for this one (a move between folders): then the file goes with
    // it, where no other item reads it.
    Status(traits.renameStatus);
    std::vector<std::size_t> copies;
    for (ItemRow& item : folder.items) {
      if (item.deleted || !Handset(item) || item.sourceName == item.targetName) {
        continue;
      }
      const bool leaving = item.sourceDir != directory && Readers(item) == 1;
      copies.push_back(plan_.operations.size());
      Add({.step = leaving ? Step::Move : Step::Copy,
           .path = item.TargetPath() + "_",
           .from = item.SourcePath(),
           .text = text::kFileNotCopied,
           .folder = n,
           .item = &item});
    }
    for (std::size_t copy : copies) {
      ItemRow* item = plan_.operations[copy].item;
      Add({.step = Step::Move,
           .path = item->TargetPath(),
           .from = item->TargetPath() + "_",
           .text = text::kFileNotRenamed,
           .folder = n,
           .after = static_cast<int>(copy),
           .item = item});
    }

    // New files: only read where they are, copied onto the card.
    Status(traits.copyStatus);
    for (ItemRow& item : folder.items) {
      if (item.deleted || Handset(item)) continue;
      Add({.step = Step::Copy,
           .path = item.TargetPath(),
           .from = item.SourcePath(),
           .text = text::kFileNotCopied,
           .folder = n,
           .item = &item});
    }

    // Files that keep their name but change folder (a lower folder number after a folder
    // delete, or a header that named another directory).
    Status(text::kMoveStatus);
    for (ItemRow& item : folder.items) {
      if (item.deleted || !Handset(item) || item.sourceName != item.targetName ||
          item.sourceDir == item.targetDir) {
        continue;
      }
      Add({.step = Step::Move,
           .path = item.TargetPath(),
           .from = item.SourcePath(),
           .text = text::kFileNotMoved,
           .folder = n,
           .item = &item});
    }
    Status(traits.modelStatus);
    Add({.step = Step::FolderDone, .folder = n});
  }

  // The steps of a folder that has nothing to write, as the user sees them pass.
  void FolderSteps(int n) {
    const KindTraits& traits = TraitsOf(kind_);
    for (const char* status : {traits.deleteStatus, traits.renameStatus, traits.copyStatus,
                               text::kMoveStatus, traits.modelStatus}) {
      Status(status);
    }
    Add({.step = Step::FolderDone, .folder = n});
  }

  MediaKind kind_;
  char drive_;
  Files& files_;
  KindPlan plan_;
  std::string lastDirectory_;
  bool lastIsHandset_ = false;
  const KindState* state_ = nullptr;
  bool readersCounted_ = false;
  std::map<std::string, int> readers_;  // how many items read each card file (upper-cased)
};

}  // namespace

bool KindPlan::ChangesTheCard() const {
  for (const Operation& operation : operations) {
    switch (operation.step) {
      case Step::Status:
      case Step::Refuse:
      case Step::FolderDone:
        break;
      default:
        return true;
    }
  }
  return false;
}

std::string RestoreTemporaryDirectory(char drive) { return CardRoot(drive) + "\\PRIVATE\\"; }

bool IsHandsetFile(const ItemRow& item, char drive, MediaKind kind) {
  return !item.added && item.OnCard() &&
         IsStrictlyBelow(item.sourceDir, CardDataDirectory(drive, kind));
}

namespace {

// The card directories a plan's steps reach into (upper-cased, with a trailing backslash): those
// holding a path a step writes, reads or removes, and the trees a step makes or removes.
class Reach {
 public:
  explicit Reach(const KindPlan& plan) {
    for (const Operation& operation : plan.operations) {
      for (const std::string* path : {&operation.path, &operation.from}) {
        if (path->empty()) continue;
        const std::string key = AsciiUpper(*path);
        const bool tree = operation.step == Step::DeleteTree ||
                          operation.step == Step::MakeDirectory ||
                          operation.step == Step::RemoveEmptyDirectory;
        if (tree && path == &operation.path) {
          trees_.push_back(key.ends_with('\\') ? key : key + "\\");
        } else if (const std::size_t slash = key.rfind('\\'); slash != std::string::npos) {
          parents_.insert(key.substr(0, slash + 1));
        }
      }
    }
  }
  bool Into(const std::string& directory) const {
    const std::string key = AsciiUpper(directory);
    if (parents_.contains(key)) return true;
    return std::any_of(trees_.begin(), trees_.end(), [&key](const std::string& tree) {
      return key.starts_with(tree) || tree.starts_with(key);
    });
  }

 private:
  std::set<std::string> parents_;
  std::vector<std::string> trees_;
};

}  // namespace

KindPlan PlanKind(KindState& state, MediaKind kind, char drive, Files& files,
                  const std::vector<char>* asRead) {
  KindPlan plan = Planner(kind, drive, files).Plan(state, asRead);
  if (asRead == nullptr) return plan;
  // A folder left out shares nothing with the steps: where a step reaches into its directory
  // (another folder's header named it, say), it is planned with the rest, so that the steps
  // know its files are needed where they are.
  const Reach reach(plan);
  std::vector<char> still = *asRead;
  bool again = false;
  for (std::size_t i = 0; i < still.size() && i < state.folders.size(); ++i) {
    if (still[i] && reach.Into(CardFolderDirectory(drive, kind, static_cast<int>(i) + 1))) {
      still[i] = 0;
      again = true;
    }
  }
  return again ? Planner(kind, drive, files).Plan(state, &still) : plan;
}

FoldersAsRead FoldersStillAsRead(const CardModel& model, const LoadedCard& read) {
  FoldersAsRead asRead;
  if (!model.loaded || read.drive != model.drive) return asRead;
  for (MediaKind kind : kAllKinds) {
    const FolderList& folders = model.of(kind).folders;
    const std::vector<LoadedFolder>& loaded = read.kinds[IndexOf(kind)];
    std::vector<char>& marks = asRead[IndexOf(kind)];
    marks.assign(folders.size(), 0);
    for (std::size_t i = 0; i < marks.size() && i < loaded.size(); ++i) {
      const LoadedFolder& card = loaded[i];
      if (!card.readable || !card.table) continue;
      // A folder no edit touched since the load is the one the load built, and was looked at
      // then.
      const bool same = folders.Holds(i, card.built)
                            ? card.builtAsRead
                            : FolderIsItsTable(folders[i], *card.table, kind, model.drive,
                                               static_cast<int>(i) + 1);
      marks[i] = same ? 1 : 0;
    }
  }
  return asRead;
}

TouchedPaths TouchedCardPaths(char drive, const std::vector<KindPlan>& plans, Files& files) {
  TouchedPaths touched;
  auto tree = [&](auto& self, const std::string& directory) -> void {
    touched.directories.push_back(directory);
    for (const std::string& name :
         files.ListDirectory(directory).value_or(std::vector<std::string>{})) {
      const std::string path = directory + "\\" + name;
      if (files.IsDirectory(path)) {
        self(self, path);
      } else {
        touched.files.push_back(path);
      }
    }
  };
  // The table directories: a table no plan writes stays as it is, and an undo is only run on
  // the card the commit left (its fingerprint).
  for (MediaKind kind : kAllKinds) touched.directories.push_back(TableDirectory(drive, kind));
  for (const KindPlan& plan : plans) {
    for (const Operation& operation : plan.operations) {
      switch (operation.step) {
        case Step::WriteTable:
          touched.files.push_back(operation.path);
          touched.files.push_back(operation.path + ".new");
          break;
        case Step::DeleteFile:
        case Step::Copy:
          touched.files.push_back(operation.path);
          break;
        case Step::DeleteTree:
          tree(tree, operation.path);
          break;
        case Step::Move:
        case Step::SetAside:
          if (CardDriveOf(operation.from) == drive) touched.files.push_back(operation.from);
          touched.files.push_back(operation.path);
          break;
        case Step::MakeDirectory:
        case Step::RemoveEmptyDirectory:
          touched.directories.push_back(operation.path);
          break;
        default:
          break;
      }
    }
  }
  return touched;
}

}  // namespace sdmate
