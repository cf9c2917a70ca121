// Reading the handset's tables from the card into the model.
#pragma once

#include <array>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_listings.h"
#include "core/card_model.h"
#include "core/feedback.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace sdmate {

// A folder as a load read it, kept so that the read-back after a commit reads again only what
// the commit touched.
struct TableNotes {
  bool untrustedHeader = false;
  bool badName = false;
  bool cutOff = false;
};
struct LoadedFolder {
  bool readable = false;  // false: the table could not be read
  TableNotes notes;
  std::string directory;                     // the card directory its files were looked up in
  std::shared_ptr<const std::string> table;  // the table's bytes as read
  std::string tableHash;                     // the table's SHA-256 (hex) once taken; empty before
  // The folder as the load put it in the model, and whether it is exactly what the table says.
  FolderList::Handle built;
  bool builtAsRead = false;
};
// Hashes of tables, each with the bytes it was taken of.
using TableHashes = std::vector<std::pair<std::shared_ptr<const std::string>, std::string>>;
// Per kind, per folder (from 1): whether the model's folder still is what the card holds.
using FoldersAsRead = std::array<std::vector<char>, 3>;
// The whole card as a load read it, folder by folder per kind.
struct LoadedCard {
  char drive = 0;
  std::array<std::vector<LoadedFolder>, 3> kinds;
  // The first commit after a load needs the hash of every table for the card's fingerprint:
  // they are taken beside the user's work, from the moment the load ends.
  std::future<TableHashes> hashing;
  // Starts taking the hashes the folders lack.
  void StartHashing();
  // Waits for the hashes being taken and hands them to the folders whose bytes they are of.
  void CollectHashes();
};

struct LoadOptions {
  bool askRemovable = true;  // ask before using a drive that is not removable
  // Receives what the load read (none: not kept).
  LoadedCard* read = nullptr;
  // A read-back after a commit: the card paths the commit wrote, moved or removed. With `read`
  // holding an earlier load of the drive, a folder that `asRead` marks and whose table and
  // directories hold none of them is taken over from the model as it is, without looking at
  // the card again.
  const std::vector<std::string>* changed = nullptr;
  const FoldersAsRead* asRead = nullptr;
  // Receives the model the load replaced, for the caller to free when it likes (a full card's
  // model takes milliseconds to free); without it, the load frees it.
  CardModel* replaced = nullptr;
};

struct LoadResult {
  bool loaded = false;                // false: the drive check stopped it; nothing changed
  std::array<bool, 3> folderAdded{};  // per kind: no table on the card, folder 1 was added
  // Every table that exists could be read; otherwise the update refuses to run (it would
  // rewrite the unread folder empty).
  bool complete = true;
  bool anyFolderAdded() const { return folderAdded[0] || folderAdded[1] || folderAdded[2]; }
};

// A folder's items from the bytes of its table (folder `number`), as the load reads them:
// entries whose name is not a plain name or whose file is missing are dropped, at most 128 are
// kept. The notes say what the user is to be told. The files are looked up in the listings
// (one listing per directory); directory receives the one the table's files are in.
FolderSlot FolderFromTable(MediaKind kind, char drive, int number, const std::string& bytes,
                           CardListings& listings, TableNotes& notes,
                           std::string* directory = nullptr);

// The folder is exactly what the table of folder n says, entry by entry: written again, the
// table would be the same bytes, and read again, it would give the same folder.
bool FolderIsItsTable(const FolderSlot& folder, std::string_view table, MediaKind kind, char drive,
                      int n);

// The whole load: drive check, backup advice (shown when backupAdvice is set; cleared at the
// end), gauge, the three kinds in sequence, folder 1 added for a kind without tables. The
// model is replaced as a whole; model.drive is the loaded drive.
LoadResult LoadCard(CardModel& model, char drive, bool& backupAdvice, Files& files, Drives& drives,
                    Feedback& feedback, LoadOptions options = {});

}  // namespace sdmate
