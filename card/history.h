// The history of a card's commits on the computer: before every commit, undo, restore or repair
// the card files it will change are saved in a snapshot folder, with a manifest of what the
// commit planned and the hashes of every path it touches before and after; after it, the
// fingerprint of the tables it left. One folder per card (by its key), one per snapshot (named
// by the local time, ordered by the card's own sequence number, never by the clock); a lock
// file that one run at a time holds; the newest 20 and at most 2 GiB per card are kept.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/native_path.h"

namespace sdmate {

// One card path a snapshot knows: what was there before the commit.
struct SavedPath {
  std::string path;        // below the card's root: "\PRIVATE\DOCOMO\STILL\SUD001\STIL0001.JPG"
  bool directory = false;  // a directory (nothing saved), else a file
  bool existed = false;    // false: the commit may create it; an undo removes it
  std::int64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970
  std::string saved;          // the saved bytes, a native path inside the snapshot
  // SHA-256 of the bytes before the commit and of those it means to leave, or kAbsent; empty:
  // not known (a directory, or a manifest of an older version).
  std::string before;
  std::string after;
};

// The hash of a path that holds no file.
inline constexpr char kAbsent[] = "absent";

struct Snapshot {
  std::string id;             // "20261208-141503", "-2" when one second holds two
  std::int64_t sequence = 0;  // the card's count of snapshots: what orders them (0: older kind)
  std::string folder;         // native, with its trailing separator
  std::string type;           // "commit", "undo", "restore", "repair"
  std::string time;           // "2026-12-08 14:15:03"
  std::string summary;        // what the commit planned, in one line
  std::string undoOf;         // an undo: the id of the snapshot it undid
  std::string fingerprint;    // empty: the commit did not end
  std::string temporaryTag;   // the four hexadecimal digits of the commit's temporary names
  // Taken back by a finished undo (read from the undos' own records, never written here).
  bool undone = false;
  std::int64_t bytes = 0;  // saved bytes
  int savedFiles = 0;
  std::vector<SavedPath> paths;
  bool finished() const { return !fingerprint.empty(); }
};

class History {
 public:
  // root: the history folder (native, with or without its trailing separator); empty: no history
  // is kept.
  History(const std::string& root, Files& files, Clock& clock)
      : root_(root.empty() ? root : JoinNativePath(root, "")), files_(files), clock_(clock) {}

  History(const History&) = delete;
  History& operator=(const History&) = delete;

  bool enabled() const { return !root_.empty(); }
  const std::string& root() const { return root_; }
  // The card's folder: 16 hexadecimal digits of the SHA-256 of its key.
  std::string CardFolder(const std::string& cardKey) const;
  // The card's snapshots, newest first (by their sequence).
  std::vector<Snapshot> List(const std::string& cardKey);
  // The newest of them.
  std::optional<Snapshot> Newest(const std::string& cardKey);

  // The card's lock, held while a Hold lives. Holds of one history nest; the lock goes when the
  // outermost ends, and the card's snapshots are pruned after that.
  class Hold {
   public:
    Hold() = default;
    Hold(Hold&& other) noexcept : history_(std::exchange(other.history_, nullptr)) {}
    Hold& operator=(Hold&& other) noexcept;
    ~Hold();
    explicit operator bool() const { return history_ != nullptr; }

   private:
    friend class History;
    explicit Hold(History* history) : history_(history) {}
    History* history_ = nullptr;
  };
  // Takes the lock of the card on the drive (a few seconds' wait for another run). Refused, with
  // the reason in error: the history folder lies on the card, another run holds the lock, or
  // the lock file cannot be made. Without a history there is nothing to lock, and it is given.
  Hold Lock(char drive, const std::string& cardKey, std::string& error);

  // The hashes a commit will leave at its files (by PathKey), from those before.
  using HashMap = std::map<std::string, std::string>;
  using PlannedAfter = std::function<HashMap(const HashMap& before)>;
  // Saves what the card holds at the given card paths (files: their bytes and times; directories:
  // whether they exist) with the manifest, its next sequence number and the hashes of the files
  // before (of the saved copies, read from the computer's disk) and after, and flushes it.
  // nullopt when it could not be written completely (what was made of it is removed); error
  // says which folder.
  std::optional<Snapshot> Save(char drive, const std::string& cardKey, Snapshot header,
                               const std::vector<std::string>& filePaths,
                               const std::vector<std::string>& directoryPaths,
                               const PlannedAfter& after, std::string& error);
  // The commit ended: its fingerprint goes into the manifest.
  bool Finish(Snapshot& snapshot, const std::string& fingerprint);
  // A commit that changed nothing on the card: its snapshot goes, so no undo is offered for it.
  void Discard(const Snapshot& snapshot);
  // Keeps the newest 20 snapshots and at most 2 GiB of the card's, the oldest going first, but
  // never the newest one nor a commit that did not end and is not taken back; removes folders
  // that a run left without a manifest more than a minute ago. Runs only while no run holds
  // the card's lock.
  void Prune(const std::string& cardKey);

  static constexpr int kKeptSnapshots = 20;
  static constexpr std::int64_t kKeptBytes = std::int64_t{2} << 30;
  static constexpr int kLockWaitMilliseconds = 3000;

 private:
  bool WriteManifest(const Snapshot& snapshot);
  std::optional<Snapshot> ReadManifest(const std::string& folder);
  std::string NewId(const std::string& cardFolder);
  std::int64_t NextSequence(const std::string& cardKey, const std::string& cardFolder);
  void Release();

  std::string root_;
  Files& files_;
  Clock& clock_;
  std::unique_ptr<FileLock> lock_;
  std::string lockedKey_;
  int holds_ = 0;
};

// What a path of the card holds: SHA-256 of its bytes, kAbsent for no file, empty when it
// cannot be read.
std::string ContentHash(Files& files, const std::string& cardPath);
// A path's key in a snapshot: below the card's root, upper-cased ("\PRIVATE\DOCOMO\...").
std::string PathKey(const std::string& cardPath);

// SHA-256 over the names and bytes of every file in the three kinds' table directories, sorted
// by name: what an undo compares with the fingerprint of the commit it undoes.
std::string TableFingerprint(char drive, Files& files);
// The same, with the SHA-256 (hex) of tables already at hand by their PathKey: the directories
// are still listed, and every table listed that is not known is read.
using KnownTableHashes = std::map<std::string, std::string>;
std::string TableFingerprint(char drive, Files& files, const KnownTableHashes& known);

// A card path below its root ("\PRIVATE\...") and back ("E:\\PRIVATE\...").
std::string BelowRoot(const std::string& cardPath);
std::string OnDrive(char drive, const std::string& belowRoot);

}  // namespace sdmate
