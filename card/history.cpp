// Snapshots and their manifests.
#include "card/history.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "core/card_guard.h"
#include "core/card_layout.h"
#include "platform/hash.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

using Json = nlohmann::ordered_json;
constexpr int kManifestVersion = 1;
constexpr char kManifest[] = "manifest.json";

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

std::string History::NewId(const std::string& cardFolder) {
  const std::string stamp = FolderStamp(clock_.Now());
  std::string id = stamp;
  for (int n = 2; files_.Exists(JoinNativePath(cardFolder, id)); ++n) {
    id = stamp + "-" + std::to_string(n);
  }
  return id;
}

std::optional<Snapshot> History::Save(char drive, const std::string& cardKey, Snapshot header,
                                      const std::vector<std::string>& filePaths,
                                      const std::vector<std::string>& directoryPaths,
                                      std::string& error) {
  const std::string cardFolder = CardFolder(cardKey);
  Snapshot snapshot = std::move(header);
  snapshot.id = NewId(cardFolder);
  snapshot.folder = JoinNativePath(JoinNativePath(cardFolder, snapshot.id), "");
  snapshot.time = TimeText(clock_.Now());
  error = snapshot.folder;
  if (!files_.MakeDirectories(snapshot.folder)) return std::nullopt;
  const std::string about = JoinNativePath(cardFolder, "card.json");
  if (!files_.Exists(about) &&
      !files_.WriteFileReplacing(about, Json{{"card", cardKey}}.dump(2) + "\n")) {
    return std::nullopt;
  }
  std::map<std::string, bool> seen;  // one entry per path, files before directories
  for (const std::string& cardPath : filePaths) {
    const std::string below = BelowRoot(cardPath);
    if (seen.contains(AsciiUpper(below))) continue;
    seen[AsciiUpper(below)] = true;
    SavedPath saved{.path = below};
    const std::string path = OnDrive(drive, below);
    if (files_.Exists(path) && !files_.IsDirectory(path)) {
      saved.existed = true;
      saved.size = files_.FileSizeOf(path);
      saved.modified = files_.ModifiedTime(path).value_or(0);
      saved.saved = SavedPathOf(snapshot.folder, below);
      if (saved.size < 0 || !files_.ShellCopy(path, saved.saved)) {
        error = saved.saved;
        return std::nullopt;
      }
      snapshot.bytes += saved.size;
      ++snapshot.savedFiles;
    }
    snapshot.paths.push_back(std::move(saved));
  }
  for (const std::string& cardPath : directoryPaths) {
    const std::string below = BelowRoot(cardPath);
    if (seen.contains(AsciiUpper(below))) continue;
    seen[AsciiUpper(below)] = true;
    snapshot.paths.push_back(
        {.path = below, .directory = true, .existed = files_.IsDirectory(OnDrive(drive, below))});
  }
  if (!WriteManifest(snapshot) || !files_.FlushVolume(snapshot.folder)) return std::nullopt;
  error.clear();
  return snapshot;
}

bool History::WriteManifest(const Snapshot& snapshot) {
  Json paths = Json::array();
  for (const SavedPath& path : snapshot.paths) {
    Json entry = {{"path", path.path}, {"directory", path.directory}, {"existed", path.existed}};
    if (path.existed && !path.directory) {
      entry["size"] = path.size;
      entry["modified"] = path.modified;
    }
    paths.push_back(std::move(entry));
  }
  Json manifest = {{"version", kManifestVersion}, {"type", snapshot.type},
                   {"time", snapshot.time},       {"summary", snapshot.summary},
                   {"undoOf", snapshot.undoOf},   {"undone", snapshot.undone},
                   {"bytes", snapshot.bytes},     {"savedFiles", snapshot.savedFiles},
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
  if (!manifest.is_object() || manifest.value("version", 0) != kManifestVersion) {
    return std::nullopt;
  }
  Snapshot snapshot;
  snapshot.folder = JoinNativePath(folder, "");
  snapshot.type = manifest.value("type", "");
  snapshot.time = manifest.value("time", "");
  snapshot.summary = manifest.value("summary", "");
  snapshot.undoOf = manifest.value("undoOf", "");
  snapshot.undone = manifest.value("undone", false);
  snapshot.fingerprint = manifest.value("fingerprint", "");
  snapshot.bytes = manifest.value("bytes", std::int64_t{0});
  snapshot.savedFiles = manifest.value("savedFiles", 0);
  if (const auto paths = manifest.find("paths"); paths != manifest.end() && paths->is_array()) {
    for (const Json& entry : *paths) {
      if (!entry.is_object()) continue;
      SavedPath path{.path = entry.value("path", ""),
                     .directory = entry.value("directory", false),
                     .existed = entry.value("existed", false),
                     .size = entry.value("size", std::int64_t{0}),
                     .modified = entry.value("modified", std::int64_t{0})};
      // A manifest names only places below the card's root.
      if (!path.path.starts_with("\\") || ResolvedCardPath("X:\\" + path.path).empty()) continue;
      if (path.existed && !path.directory) path.saved = SavedPathOf(snapshot.folder, path.path);
      snapshot.paths.push_back(std::move(path));
    }
  }
  return snapshot;
}

std::vector<Snapshot> History::List(const std::string& cardKey) { return Read(cardKey, false); }

std::optional<Snapshot> History::Newest(const std::string& cardKey) {
  std::vector<Snapshot> newest = Read(cardKey, true);
  if (newest.empty()) return std::nullopt;
  return std::move(newest.front());
}

std::vector<Snapshot> History::Read(const std::string& cardKey, bool onlyNewest) {
  std::vector<Snapshot> snapshots;
  if (!enabled()) return snapshots;
  const std::string cardFolder = CardFolder(cardKey);
  std::vector<std::string> ids =
      files_.ListDirectory(cardFolder).value_or(std::vector<std::string>{});
  // Newest first: the ids are times, and "-2" follows its second.
  std::sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) {
    const std::string aa = a.substr(0, 15), bb = b.substr(0, 15);
    if (aa != bb) return aa > bb;
    auto number = [](const std::string& id) {
      return id.size() > 16 ? std::atoi(id.c_str() + 16) : 1;
    };
    return number(a) > number(b);
  });
  for (const std::string& id : ids) {
    const std::string folder = JoinNativePath(cardFolder, id);
    if (!files_.IsDirectory(folder)) continue;
    if (auto snapshot = ReadManifest(folder)) {
      snapshot->id = id;
      snapshots.push_back(std::move(*snapshot));
      if (onlyNewest) break;
    }
  }
  return snapshots;
}

bool History::Finish(Snapshot& snapshot, const std::string& fingerprint) {
  snapshot.fingerprint = fingerprint;
  return WriteManifest(snapshot) && files_.FlushVolume(snapshot.folder);
}

bool History::MarkUndone(Snapshot& snapshot, bool undone) {
  snapshot.undone = undone;
  return WriteManifest(snapshot);
}

void History::Prune(const std::string& cardKey) {
  const std::vector<Snapshot> snapshots = List(cardKey);
  std::int64_t bytes = 0;
  for (std::size_t i = 0; i < snapshots.size(); ++i) {
    bytes += snapshots[i].bytes;
    // The newest is always kept, whatever its size.
    if (i > 0 && (static_cast<int>(i) >= kKeptSnapshots || bytes > kKeptBytes)) {
      files_.ShellDelete(snapshots[i].folder);
    }
  }
}

std::string TableFingerprint(char drive, Files& files) {
  Sha256 fingerprint;
  for (MediaKind kind : kAllKinds) {
    const std::string directory = TableDirectory(drive, kind);
    std::vector<std::string> names =
        files.ListDirectory(directory).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return AsciiUpper(a) < AsciiUpper(b);
    });
    fingerprint.Add(BelowRoot(directory));
    fingerprint.Add(std::string_view("\n", 1));
    for (const std::string& name : names) {
      const std::string path = directory + "\\" + name;
      if (files.IsDirectory(path)) continue;
      fingerprint.Add(AsciiUpper(name));
      fingerprint.Add(std::string_view("\0", 1));
      fingerprint.Add(Sha256Hex(files.ReadFile(path).value_or(std::string())));
      fingerprint.Add(std::string_view("\n", 1));
    }
  }
  return fingerprint.Finish();
}

}  // namespace sdmate
