// The history of a card's commits on the computer: before every commit, undo, restore or repair
// the card files it will change are saved in a snapshot folder, with a manifest of what the
// commit planned; after it, the fingerprint of the tables it left. One folder per card (by its
// key), one per snapshot (by the local time); the newest 20 and at most 2 GiB per card are kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"

namespace sdmate {

// One card path a snapshot knows: what was there before the commit.
struct SavedPath {
  std::string path;        // below the card's root: "\PRIVATE\DOCOMO\STILL\SUD001\STIL0001.JPG"
  bool directory = false;  // a directory (nothing saved), else a file
  bool existed = false;    // false: the commit may create it; an undo removes it
  std::int64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970
  std::string saved;          // the saved bytes, a native path inside the snapshot
};

struct Snapshot {
  std::string id;           // "20261208-141503", "-2" when one second holds two
  std::string folder;       // native, with its trailing separator
  std::string type;         // "commit", "undo", "restore", "repair"
  std::string time;         // "2026-12-08 14:15:03"
  std::string summary;      // what the commit planned, in one line
  std::string undoOf;       // an undo: the id of the snapshot it undid
  std::string fingerprint;  // empty: the commit did not end
  bool undone = false;
  std::int64_t bytes = 0;  // saved bytes
  int savedFiles = 0;
  std::vector<SavedPath> paths;
  bool finished() const { return !fingerprint.empty(); }
};

class History {
 public:
  // root: the history folder (native, with its trailing separator); empty: no history is kept.
  History(std::string root, Files& files, Clock& clock)
      : root_(std::move(root)), files_(files), clock_(clock) {}

  bool enabled() const { return !root_.empty(); }
  // The card's folder: 16 hexadecimal digits of the SHA-256 of its key.
  std::string CardFolder(const std::string& cardKey) const;
  // The card's snapshots, newest first.
  std::vector<Snapshot> List(const std::string& cardKey);
  // The newest of them, its manifest alone read.
  std::optional<Snapshot> Newest(const std::string& cardKey);

  // Saves what the card holds at the given card paths (files: their bytes and times; directories:
  // whether they exist) with the manifest, and flushes it. nullopt when it could not be written
  // completely; error says which folder.
  std::optional<Snapshot> Save(char drive, const std::string& cardKey, Snapshot header,
                               const std::vector<std::string>& filePaths,
                               const std::vector<std::string>& directoryPaths, std::string& error);
  // The commit ended: its fingerprint goes into the manifest.
  bool Finish(Snapshot& snapshot, const std::string& fingerprint);
  bool MarkUndone(Snapshot& snapshot, bool undone);
  // Keeps the newest 20 snapshots and at most 2 GiB of the card's; the oldest go first.
  void Prune(const std::string& cardKey);

  static constexpr int kKeptSnapshots = 20;
  static constexpr std::int64_t kKeptBytes = std::int64_t{2} << 30;

 private:
  bool WriteManifest(const Snapshot& snapshot);
  std::optional<Snapshot> ReadManifest(const std::string& folder);
  // The card's snapshots, newest first; only the newest when onlyNewest.
  std::vector<Snapshot> Read(const std::string& cardKey, bool onlyNewest);
  std::string NewId(const std::string& cardFolder);

  std::string root_;
  Files& files_;
  Clock& clock_;
};

// SHA-256 over the names and bytes of every file in the three kinds' table directories, sorted
// by name: what an undo compares with the fingerprint of the commit it undoes.
std::string TableFingerprint(char drive, Files& files);

// A card path below its root ("\PRIVATE\...") and back ("E:\\PRIVATE\...").
std::string BelowRoot(const std::string& cardPath);
std::string OnDrive(char drive, const std::string& belowRoot);

}  // namespace sdmate
