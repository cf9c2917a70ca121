// Snapshots and their manifests.
#include "card/history.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "card/card_messages.h"
#include "core/card_guard.h"
#include "core/card_layout.h"
#include "platform/hash.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

using Json = nlohmann::ordered_json;
constexpr int kManifestVersion = 2;
constexpr char kManifest[] = "manifest.json";
constexpr char kCardFile[] = "card.json";
constexpr char kLockFile[] = "lock";

std::string TimeText(const LocalTime& time) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year % 10000,
                time.month % 100, time.day % 100, time.hour % 100, time.minute % 100,
                time.second % 100);
  return text;
}

// The native path of a card path's copy inside a snapshot: files/PRIVATE/DOCOMO/...
std::string SavedPathOf(const std::string& folder, const std::string& belowRoot) {
  std::string path = JoinNativePath(folder, "files");
  std::size_t at = 0;
  while (at < belowRoot.size()) {
    std::size_t end = belowRoot.find('\\', at);
    if (end == std::string::npos) end = belowRoot.size();
    if (end > at) path = JoinNativePath(path, belowRoot.substr(at, end - at));
    at = end + 1;
  }
  return path;
}

}  // namespace

std::string BelowRoot(const std::string& cardPath) {
  const std::string resolved = ResolvedCardPath(cardPath);
  return resolved.size() <= 3 ? std::string("\\") : resolved.substr(3);
}

std::string OnDrive(char drive, const std::string& belowRoot) {
  return CardRoot(drive) + belowRoot;
}

std::string History::CardFolder(const std::string& cardKey) const {
  return JoinNativePath(root_, Sha256Hex(cardKey).substr(0, 16));
}

std::string PathKey(const std::string& cardPath) { return AsciiUpper(BelowRoot(cardPath)); }

std::string ContentHash(Files& files, const std::string& cardPath) {
  if (!files.Exists(cardPath)) return kAbsent;
  if (files.IsDirectory(cardPath)) return {};
  const auto bytes = files.ReadFile(cardPath);
  return bytes ? Sha256Hex(*bytes) : std::string();
}

std::string History::NewId(const std::string& cardFolder) {
  const std::string stamp = FolderStamp(clock_.Now());
  std::string id = stamp;
  for (int n = 2; files_.Exists(JoinNativePath(cardFolder, id)); ++n) {
    id = stamp + "-" + std::to_string(n);
  }
  return id;
}

// One more than any the card's folder knows: its counter, or a manifest (a counter lost or set
// back never gives a number twice).
std::int64_t History::NextSequence(const std::string& cardKey, const std::string& cardFolder) {
  std::int64_t sequence = 0;
  if (const auto bytes = files_.ReadFile(JoinNativePath(cardFolder, kCardFile))) {
    const Json about = Json::parse(*bytes, nullptr, false);
    if (about.is_object()) sequence = about.value("sequence", std::int64_t{0});
  }
  for (const Snapshot& snapshot : List(cardKey)) sequence = std::max(sequence, snapshot.sequence);
  return sequence + 1;
}

std::optional<Snapshot> History::Save(char drive, const std::string& cardKey, Snapshot header,
                                      const std::vector<std::string>& filePaths,
                                      const std::vector<std::string>& directoryPaths,
                                      const PlannedAfter& after, std::string& error) {
  const std::string cardFolder = CardFolder(cardKey);
  Snapshot snapshot = std::move(header);
  error = cardFolder;
  if (!files_.MakeDirectories(cardFolder)) return std::nullopt;
  snapshot.sequence = NextSequence(cardKey, cardFolder);
  char tag[8];
  std::snprintf(tag, sizeof tag, "%04X", static_cast<unsigned>(snapshot.sequence & 0xFFFF));
  snapshot.temporaryTag = tag;
  // The counter first: a snapshot that fails later never gives its number to another.
  const std::string about = JoinNativePath(cardFolder, kCardFile);
  if (!files_.WriteFileReplacing(
          about, Json{{"card", cardKey}, {"sequence", snapshot.sequence}}.dump(2) + "\n")) {
    error = about;
    return std::nullopt;
  }
  snapshot.id = NewId(cardFolder);
  snapshot.folder = JoinNativePath(JoinNativePath(cardFolder, snapshot.id), "");
  snapshot.time = TimeText(clock_.Now());
  error = snapshot.folder;
  // What was made of a snapshot that fails goes again.
  auto failed = [&](const std::string& where) {
    error = where;
    files_.ShellDelete(snapshot.folder);
    return std::nullopt;
  };
  if (!files_.MakeDirectories(snapshot.folder)) return failed(snapshot.folder);
  std::map<std::string, bool> seen;  // one entry per path, files before directories
  HashMap before;
  for (const std::string& cardPath : filePaths) {
    const std::string below = BelowRoot(cardPath);
    const std::string key = AsciiUpper(below);
    if (seen.contains(key)) continue;
    seen[key] = true;
    SavedPath saved{.path = below, .before = kAbsent};
    const std::string path = OnDrive(drive, below);
    if (files_.Exists(path) && !files_.IsDirectory(path)) {
      saved.existed = true;
      saved.size = files_.FileSizeOf(path);
      saved.modified = files_.ModifiedTime(path).value_or(0);
      saved.saved = SavedPathOf(snapshot.folder, below);
      if (saved.size < 0 || !files_.ShellCopy(path, saved.saved)) return failed(saved.saved);
      const std::optional<std::string> bytes = files_.ReadFile(saved.saved);
      if (!bytes) return failed(saved.saved);
      saved.before = Sha256Hex(*bytes);
      snapshot.bytes += saved.size;
      ++snapshot.savedFiles;
    }
    before[key] = saved.before;
    snapshot.paths.push_back(std::move(saved));
  }
  const HashMap planned = after ? after(before) : HashMap{};
  for (SavedPath& saved : snapshot.paths) {
    auto found = planned.find(AsciiUpper(saved.path));
    if (found != planned.end()) saved.after = found->second;
  }
  for (const std::string& cardPath : directoryPaths) {
    const std::string below = BelowRoot(cardPath);
    if (seen.contains(AsciiUpper(below))) continue;
    seen[AsciiUpper(below)] = true;
    snapshot.paths.push_back(
        {.path = below, .directory = true, .existed = files_.IsDirectory(OnDrive(drive, below))});
  }
  if (!WriteManifest(snapshot) || !files_.FlushVolume(snapshot.folder)) {
    return failed(snapshot.folder);
  }
  error.clear();
  return snapshot;
}

// Through a temporary name, flushed and renamed: a manifest is always one version or the other,
// so a finished commit never reads as one that did not end.
bool History::WriteManifest(const Snapshot& snapshot) {
  Json paths = Json::array();
  for (const SavedPath& path : snapshot.paths) {
    Json entry = {{"path", path.path}, {"directory", path.directory}, {"existed", path.existed}};
    if (path.existed && !path.directory) {
      entry["size"] = path.size;
      entry["modified"] = path.modified;
    }
    if (!path.before.empty()) entry["before"] = path.before;
    if (!path.after.empty()) entry["after"] = path.after;
    paths.push_back(std::move(entry));
  }
  Json manifest = {{"version", kManifestVersion},
                   {"sequence", snapshot.sequence},
                   {"type", snapshot.type},
                   {"time", snapshot.time},
                   {"summary", snapshot.summary},
                   {"undoOf", snapshot.undoOf},
                   {"temporaryTag", snapshot.temporaryTag},
                   {"bytes", snapshot.bytes},
                   {"savedFiles", snapshot.savedFiles},
                   {"paths", std::move(paths)}};
  if (!snapshot.fingerprint.empty()) manifest["fingerprint"] = snapshot.fingerprint;
  return files_.WriteFileReplacing(
      JoinNativePath(snapshot.folder, kManifest),
      manifest.dump(2, ' ', false, Json::error_handler_t::replace) + "\n");
}

std::optional<Snapshot> History::ReadManifest(const std::string& folder) {
  const auto bytes = files_.ReadFile(JoinNativePath(folder, kManifest));
  if (!bytes) return std::nullopt;
  const Json manifest = Json::parse(*bytes, nullptr, false);
  const int version = manifest.is_object() ? manifest.value("version", 0) : 0;
  if (version < 1 || version > kManifestVersion) return std::nullopt;
  Snapshot snapshot;
  snapshot.folder = JoinNativePath(folder, "");
  snapshot.sequence = manifest.value("sequence", std::int64_t{0});
  snapshot.type = manifest.value("type", "");
  snapshot.time = manifest.value("time", "");
  snapshot.summary = manifest.value("summary", "");
  snapshot.undoOf = manifest.value("undoOf", "");
  snapshot.fingerprint = manifest.value("fingerprint", "");
  snapshot.temporaryTag = manifest.value("temporaryTag", "");
  snapshot.bytes = manifest.value("bytes", std::int64_t{0});
  snapshot.savedFiles = manifest.value("savedFiles", 0);
  if (const auto paths = manifest.find("paths"); paths != manifest.end() && paths->is_array()) {
    for (const Json& entry : *paths) {
      if (!entry.is_object()) continue;
      SavedPath path{.path = entry.value("path", ""),
                     .directory = entry.value("directory", false),
                     .existed = entry.value("existed", false),
                     .size = entry.value("size", std::int64_t{0}),
                     .modified = entry.value("modified", std::int64_t{0}),
                     .before = entry.value("before", ""),
                     .after = entry.value("after", "")};
      // A manifest names only places below the card's root.
      if (!path.path.starts_with("\\") || ResolvedCardPath("X:\\" + path.path).empty()) continue;
      if (path.existed && !path.directory) path.saved = SavedPathOf(snapshot.folder, path.path);
      snapshot.paths.push_back(std::move(path));
    }
  }
  return snapshot;
}

std::optional<Snapshot> History::Newest(const std::string& cardKey) {
  std::vector<Snapshot> snapshots = List(cardKey);
  if (snapshots.empty()) return std::nullopt;
  return std::move(snapshots.front());
}

std::vector<Snapshot> History::List(const std::string& cardKey) {
  std::vector<Snapshot> snapshots;
  if (!enabled()) return snapshots;
  const std::string cardFolder = CardFolder(cardKey);
  for (const std::string& id :
       files_.ListDirectory(cardFolder).value_or(std::vector<std::string>{})) {
    const std::string folder = JoinNativePath(cardFolder, id);
    if (!files_.IsDirectory(folder)) continue;
    if (auto snapshot = ReadManifest(folder)) {
      snapshot->id = id;
      snapshots.push_back(std::move(*snapshot));
    }
  }
  // Newest first: by the sequence; snapshots of an older kind, which have none, by their ids
  // (times, "-2" after its second) below all others.
  auto number = [](const std::string& id) {
    return id.size() > 16 ? std::atoi(id.c_str() + 16) : 1;
  };
  std::sort(snapshots.begin(), snapshots.end(), [&](const Snapshot& a, const Snapshot& b) {
    if (a.sequence != b.sequence) return a.sequence > b.sequence;
    const std::string aa = a.id.substr(0, 15), bb = b.id.substr(0, 15);
    if (aa != bb) return aa > bb;
    return number(a.id) > number(b.id);
  });
  // Whether a commit is taken back is what the finished undos say, oldest first: an undo takes
  // back its commit, and an undo of an undo gives that commit back.
  std::map<std::string, Snapshot*> byId;
  for (Snapshot& snapshot : snapshots) byId[snapshot.id] = &snapshot;
  for (auto it = snapshots.rbegin(); it != snapshots.rend(); ++it) {
    if (it->type != "undo" || !it->finished()) continue;
    auto target = byId.find(it->undoOf);
    if (target == byId.end()) continue;
    target->second->undone = true;
    if (target->second->type == "undo") {
      if (auto earlier = byId.find(target->second->undoOf); earlier != byId.end()) {
        earlier->second->undone = false;
      }
    }
  }
  return snapshots;
}

bool History::Finish(Snapshot& snapshot, const std::string& fingerprint) {
  snapshot.fingerprint = fingerprint;
  return WriteManifest(snapshot) && files_.FlushVolume(snapshot.folder);
}

History::Hold& History::Hold::operator=(Hold&& other) noexcept {
  if (this != &other) {
    if (history_ != nullptr) history_->Release();
    history_ = std::exchange(other.history_, nullptr);
  }
  return *this;
}

History::Hold::~Hold() {
  if (history_ != nullptr) history_->Release();
}

History::Hold History::Lock(char drive, const std::string& cardKey, std::string& error) {
  if (!enabled()) {
    ++holds_;
    return Hold(this);
  }
  if (holds_ > 0) {
    if (lockedKey_ != cardKey) {  // one card at a time
      error = text::kCardBusy;
      return {};
    }
    ++holds_;
    return Hold(this);
  }
  // A history on the card would be changed by the very operations it records.
  const std::optional<std::string> place = files_.ResolveOnDrive(root_);
  if (place && CardDriveOf(*place) == drive) {
    error = text::kHistoryOnCard + root_;
    return {};
  }
  const std::string path = JoinNativePath(CardFolder(cardKey), kLockFile);
  LockAttempt attempt = LockFileExclusive(path, kLockWaitMilliseconds);
  if (!attempt.lock) {
    error = attempt.busy ? std::string(text::kCardBusy) : text::kLockNotMade + path;
    if (attempt.busy && !attempt.holder.empty()) {
      error += std::string("\n") + text::kCardBusyProcess + attempt.holder;
    }
    return {};
  }
  lock_ = std::move(attempt.lock);
  lockedKey_ = cardKey;
  holds_ = 1;
  return Hold(this);
}

void History::Release() {
  if (--holds_ > 0) return;
  const std::string key = std::exchange(lockedKey_, std::string());
  const bool locked = lock_ != nullptr;
  lock_.reset();
  if (locked) Prune(key);
}

void History::Discard(const Snapshot& snapshot) {
  if (!snapshot.folder.empty()) files_.ShellDelete(snapshot.folder);
}

void History::Prune(const std::string& cardKey) {
  if (!enabled()) return;
  const std::string cardFolder = CardFolder(cardKey);
  // Only while no run holds the card: none is saving, and none is walking back.
  const LockAttempt attempt = LockFileExclusive(JoinNativePath(cardFolder, kLockFile), 0);
  if (!attempt.lock) return;
  const std::vector<Snapshot> snapshots = List(cardKey);
  std::int64_t bytes = 0;
  for (std::size_t i = 0; i < snapshots.size(); ++i) {
    bytes += snapshots[i].bytes;
    // The newest is always kept, whatever its size, and so is a commit still to be taken back.
    const bool pending = !snapshots[i].finished() && !snapshots[i].undone;
    if (i > 0 && !pending && (static_cast<int>(i) >= kKeptSnapshots || bytes > kKeptBytes)) {
      files_.ShellDelete(snapshots[i].folder);
    }
  }
  // Folders a run left without its manifest (it died while saving).
  const std::int64_t now = clock_.UnixNow();
  for (const std::string& name :
       files_.ListDirectory(cardFolder).value_or(std::vector<std::string>{})) {
    const std::string folder = JoinNativePath(cardFolder, name);
    if (!files_.IsDirectory(folder) || ReadManifest(folder)) continue;
    const std::optional<std::int64_t> modified = files_.ModifiedTime(folder);
    if (modified && now - *modified / 1000000000 > 60) files_.ShellDelete(folder);
  }
}

std::string TableFingerprint(char drive, Files& files) {
  return TableFingerprint(drive, files, {});
}

std::string TableFingerprint(char drive, Files& files, const KnownTableHashes& known) {
  Sha256 fingerprint;
  for (MediaKind kind : kAllKinds) {
    const std::string directory = TableDirectory(drive, kind);
    // One listing tells the names and which are folders.
    std::vector<DirectoryEntry> entries =
        files.ListFiles(directory).value_or(std::vector<DirectoryEntry>{});
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return AsciiUpper(a.name) < AsciiUpper(b.name);
    });
    fingerprint.Add(BelowRoot(directory));
    fingerprint.Add(std::string_view("\n", 1));
    for (const DirectoryEntry& entry : entries) {
      if (entry.type == DirectoryEntry::Type::Directory) continue;
      const std::string& name = entry.name;
      const std::string path = directory + "\\" + name;
      fingerprint.Add(AsciiUpper(name));
      fingerprint.Add(std::string_view("\0", 1));
      const auto hash = known.empty() ? known.end() : known.find(PathKey(path));
      fingerprint.Add(hash != known.end()
                          ? hash->second
                          : Sha256Hex(files.ReadFile(path).value_or(std::string())));
      fingerprint.Add(std::string_view("\n", 1));
    }
  }
  return fingerprint.Finish();
}

}  // namespace sdmate
