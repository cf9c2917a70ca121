// Planning an undo and a restore.
#include "card/restore_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "card/card_messages.h"
#include "card/commit_runner.h"
#include "core/card_guard.h"
#include "core/card_layout.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

constexpr const char* kTrees[] = {"PRIVATE", "SD_VIDEO", "DCIM"};

std::vector<std::string> TreeAreas(char drive) {
  std::vector<std::string> areas;
  for (const char* tree : kTrees) areas.push_back(CardRoot(drive) + "\\" + tree);
  return areas;
}

// The same bytes (and time) as the saved copy: nothing to write.
bool SameFile(Files& files, const std::string& cardPath, const std::string& other,
              std::int64_t size, std::optional<std::int64_t> modified) {
  if (files.FileSizeOf(cardPath) != size) return false;
  if (modified && files.ModifiedTime(cardPath) != modified) return false;
  return files.ReadFile(cardPath) == files.ReadFile(other);
}

class Builder {
 public:
  Builder(char drive, RestoreSummary& summary) : drive_(drive), summary_(summary) {
    plan_.areas = TreeAreas(drive);
    plan_.temporaryDirectory = RestoreTemporaryDirectory(drive);
  }

  void Status(const char* text) {
    plan_.operations.push_back({.step = Step::Status, .text = text});
  }

  // A file of the computer put onto the card; the runner copies it whole to a temporary and
  // renames it over what is there (the snapshot or the backup owns the path).
  void Write(const std::string& source, const std::string& belowRoot, std::int64_t size) {
    plan_.operations.push_back({.step = Step::Copy,
                                .path = OnDrive(drive_, belowRoot),
                                .from = source,
                                .text = text::kFileNotCopied,
                                .replaces = true});
    ++summary_.written;
    summary_.bytes += std::max<std::int64_t>(size, 0);
    Step();
  }

  void Remove(const std::string& path, bool directory) {
    plan_.operations.push_back(
        {.step = directory ? Step::DeleteTree : Step::DeleteFile,
         .path = path,
         .text = directory ? text::kFolderNotDeleted : text::kFileNotDeleted});
    ++summary_.removed;
    Step();
  }

  void MakeDirectory(const std::string& path) {
    plan_.operations.push_back(
        {.step = Step::MakeDirectory, .path = path, .text = text::kFolderNotMade});
  }

  void RemoveIfEmpty(const std::string& path) {
    plan_.operations.push_back(
        {.step = Step::RemoveEmptyDirectory, .path = path, .text = text::kFolderNotDeleted});
  }

  KindPlan Finish() { return std::move(plan_); }

 private:
  void Step() {
    plan_.operations.push_back({.step = Step::FolderDone});
    ++summary_.steps;
  }

  char drive_;
  RestoreSummary& summary_;
  KindPlan plan_;
};

struct TreeEntry {
  std::string path;  // native (backup) or card path
  bool directory = false;
};

// Every entry below a folder, by its upper-cased path below the card's root ("\PRIVATE\...").
void Walk(Files& files, const std::string& folder, const std::string& below, bool native,
          std::map<std::string, TreeEntry>& entries) {
  for (const std::string& name : files.ListDirectory(folder).value_or(std::vector<std::string>{})) {
    const std::string path = native ? JoinNativePath(folder, name) : folder + "\\" + name;
    const std::string key = AsciiUpper(below + "\\" + name);
    const bool directory = files.IsDirectory(path);
    entries[key] = {path, directory};
    if (directory) Walk(files, path, below + "\\" + name, native, entries);
  }
}

}  // namespace

KindPlan PlanUndo(const Snapshot& snapshot, char drive, Files& files, RestoreSummary& summary) {
  Builder plan(drive, summary);
  plan.Status(text::kUndoStatus);
  std::vector<const SavedPath*> directories;
  for (const SavedPath& saved : snapshot.paths) {
    if (saved.directory) directories.push_back(&saved);
  }
  // Folders that were there come back first, parents before children.
  std::sort(directories.begin(), directories.end(),
            [](const SavedPath* a, const SavedPath* b) { return a->path < b->path; });
  for (const SavedPath* saved : directories) {
    const std::string path = OnDrive(drive, saved->path);
    if (saved->existed && !files.IsDirectory(path)) plan.MakeDirectory(path);
  }
  for (const SavedPath& saved : snapshot.paths) {
    if (saved.directory) continue;
    const std::string path = OnDrive(drive, saved.path);
    const bool present = files.Exists(path);
    if (saved.existed) {
      if (!present || !SameFile(files, path, saved.saved, saved.size, saved.modified)) {
        plan.Write(saved.saved, saved.path, saved.size);
      }
    } else if (present) {
      plan.Remove(path, files.IsDirectory(path));
    }
  }
  // What a commit that did not end left under its own temporary names (the snapshot holds the
  // bytes they carry): looked for in every folder it touched and in the kinds' data folders.
  // Another commit's temporaries, or any other file, stay.
  if (snapshot.temporaryTag.size() == 4) {
    std::set<std::string> folders;
    for (MediaKind kind : kAllKinds) folders.insert(CardDataDirectory(drive, kind));
    folders.insert(CardRoot(drive) + "\\PRIVATE\\");
    for (const SavedPath& saved : snapshot.paths) {
      const std::string path = OnDrive(drive, saved.path);
      if (saved.directory) {
        folders.insert(path + "\\");
      } else if (const std::size_t slash = path.rfind('\\'); slash != std::string::npos) {
        folders.insert(path.substr(0, slash + 1));
      }
    }
    for (const std::string& folder : folders) {
      for (const std::string& name :
           files.ListDirectory(folder).value_or(std::vector<std::string>{})) {
        if (IsTemporaryOf(name, snapshot.temporaryTag) && !files.IsDirectory(folder + name)) {
          plan.Remove(folder + name, false);
        }
      }
    }
  }
  // Folders the commit made go last, children before parents, when nothing is left in them.
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
    const std::string path = OnDrive(drive, (*it)->path);
    if (!(*it)->existed && files.IsDirectory(path)) plan.RemoveIfEmpty(path);
  }
  return plan.Finish();
}

KindPlan PlanRestore(const std::string& backupFolder, char drive, Files& files,
                     RestoreSummary& summary, bool& valid) {
  Builder plan(drive, summary);
  plan.Status(text::kRestoreStatus);
  std::map<std::string, TreeEntry> wanted;
  std::map<std::string, TreeEntry> present;
  valid = false;
  for (const char* tree : kTrees) {
    const std::string backup = JoinNativePath(backupFolder, tree);
    if (files.IsDirectory(backup)) {
      valid = true;
      wanted[AsciiUpper(std::string("\\") + tree)] = {backup, true};
      Walk(files, backup, std::string("\\") + tree, true, wanted);
    }
    const std::string card = CardRoot(drive) + "\\" + tree;
    if (files.IsDirectory(card)) {
      present[AsciiUpper(std::string("\\") + tree)] = {card, true};
      Walk(files, card, std::string("\\") + tree, false, present);
    }
  }
  if (!valid) return plan.Finish();
  // The card's own spelling of a name it shares with the backup is kept.
  auto belowRoot = [&](const std::string& key, const TreeEntry& entry) {
    auto onCard = present.find(key);
    if (onCard != present.end()) return BelowRoot(onCard->second.path);
    const std::string relative = entry.path.substr(backupFolder.size());
    std::string below;
    for (char c : relative) below += (c == '/' || c == '\\') ? '\\' : c;
    if (!below.starts_with("\\")) below = "\\" + below;
    return below;
  };
  // What the backup does not hold goes first (a whole folder at once), so that nothing
  // written is removed again.
  std::string removedFolder;
  for (const auto& [key, entry] : present) {
    if (!removedFolder.empty() && key.starts_with(removedFolder)) continue;
    auto found = wanted.find(key);
    if (found != wanted.end() && found->second.directory == entry.directory) continue;
    plan.Remove(entry.path, entry.directory);
    if (entry.directory) removedFolder = key + "\\";
  }
  for (const auto& [key, entry] : wanted) {
    const std::string below = belowRoot(key, entry);
    const std::string path = OnDrive(drive, below);
    auto onCard = present.find(key);
    const bool there = onCard != present.end() && onCard->second.directory == entry.directory;
    if (entry.directory) {
      if (!there) plan.MakeDirectory(path);
    } else if (!there ||
               !SameFile(files, path, entry.path, files.FileSizeOf(entry.path), std::nullopt)) {
      plan.Write(entry.path, below, files.FileSizeOf(entry.path));
    }
  }
  return plan.Finish();
}

std::string ChangedSinceCommit(const Snapshot& snapshot, const KindPlan& undo, Files& files) {
  std::set<std::string> known = {kAbsent};
  bool hashed = false;
  for (const SavedPath& saved : snapshot.paths) {
    if (saved.before.empty() || saved.after.empty()) continue;
    hashed = true;
    known.insert(saved.before);
    known.insert(saved.after);
  }
  if (!hashed) return {};  // a snapshot of an older kind: its fingerprint alone is checked
  auto own = [&](const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return IsTemporaryOf(slash == std::string::npos ? path : path.substr(slash + 1),
                         snapshot.temporaryTag);
  };
  std::string changed;
  auto check = [&](auto& self, const std::string& path) -> void {
    if (!changed.empty() || own(path)) return;
    if (files.IsDirectory(path)) {
      for (const std::string& name :
           files.ListDirectory(path).value_or(std::vector<std::string>{"?"})) {
        self(self, path + "\\" + name);
      }
      return;
    }
    const std::string hash = ContentHash(files, path);
    if (hash.empty() || !known.contains(hash)) changed = path;
  };
  for (const Operation& operation : undo.operations) {
    switch (operation.step) {
      case Step::Copy:
      case Step::DeleteFile:
      case Step::DeleteTree:
        check(check, operation.path);
        break;
      case Step::Move:
        check(check, operation.path);
        check(check, operation.from);
        break;
      default:
        break;
    }
  }
  return changed;
}

}  // namespace sdmate
