// The steps of one commit on the loaded drive, kind by kind and folder by folder, and the files
// they must not lose. Every card path is checked just before its operation to lie inside the
// card's root; every failure is recorded.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/card_model.h"
#include "core/feedback.h"
#include "platform/files.h"

namespace sdmate {

// Where the files of the kind's items that stay are now: sources before their folder's steps,
// final places after, and the old place of a file whose copy or move failed. The card's file
// system does not tell upper and lower case apart, and neither does this set.
class KeptFiles {
 public:
  void Clear() { paths_.clear(); }
  void Keep(const std::string& path);
  void Forget(const std::string& path);
  bool Contains(const std::string& path) const;
  // True when a file that an item still needs lies inside the directory.
  bool AnyInside(const std::string& directory) const;

 private:
  std::multiset<std::string> paths_;
};

class UpdateSteps {
 public:
  UpdateSteps(char drive, Files& files, Feedback& feedback, std::vector<std::string>& failures,
              int folderTotal)
      : drive_(drive),
        files_(files),
        feedback_(feedback),
        failures_(failures),
        folderTotal_(folderTotal) {}

  // Removed folders, then each folder's table and files, then the tables and directories of
  // folders that no longer exist.
  void KindPass(KindState& state, MediaKind kind);

 private:
  // Items whose file did not reach its new place: the old one still holds the data.
  using Stranded = std::set<const ItemRow*>;

  void RemoveDeletedFolders(const KindState& state, MediaKind kind);
  void PrepareTableDirectory(MediaKind kind);
  void FolderSteps(FolderSlot& folder, MediaKind kind, int n);
  void WriteTable(FolderSlot& folder, MediaKind kind, int n);
  void DeleteMarkedFiles(const FolderSlot& folder, MediaKind kind);
  void RenameFiles(const FolderSlot& folder, MediaKind kind, Stranded& stranded);
  void CopyNewFiles(const FolderSlot& folder, MediaKind kind);
  void MoveFilesHome(const FolderSlot& folder, Stranded& stranded);
  void UpdateModel(FolderSlot& folder, MediaKind kind, const Stranded& stranded);
  void RemoveOtherTables(MediaKind kind, int count);
  void RemoveSurplusDirectories(MediaKind kind, int count);

  // A file the handset keeps: on the card and inside the kind's data directory. Only such a
  // file is ever renamed, moved or deleted; any other file (of the computer, or elsewhere on
  // the card's own drive) is only read and copied.
  bool HandsetFile(const ItemRow& item) const;
  bool Guard(const std::string& path);
  void Delete(const std::string& path, const char* failure);
  // Deletes a directory unless a file that an item still needs lies inside.
  void DeleteUnlessKept(const std::string& directory);
  void Fail(const char* what, const std::string& path);

  char drive_;
  Files& files_;
  Feedback& feedback_;
  std::vector<std::string>& failures_;
  int folderTotal_;
  int foldersDone_ = 0;
  KeptFiles kept_;
  std::string handsetDirectory_;
};

}  // namespace sdmate
