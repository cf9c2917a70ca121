// A card's file system in memory, as FAT keeps it: names compared without regard to ASCII case,
// every file with its bytes. Card paths of one drive ("E:\\...") are kept in the tree; paths of
// the computer (anything without a drive letter) are kept apart as they are spelled. Fast
// enough for a fuzzer to load and commit a card many thousand times a second.
#pragma once

#include <map>
#include <string>

#include "platform/files.h"

namespace sdmate::test {

class MemoryFiles : public Files {
 public:
  explicit MemoryFiles(char drive) : drive_(drive) {}

  // A file with its parents (a card path or a path of the computer).
  void Put(const std::string& path, const std::string& bytes);
  // Every file: card files under their resolved card path as created, computer files as they
  // are spelled, with their bytes.
  std::map<std::string, std::string> Snapshot() const;
  // How many file operations that change something have run.
  int changes() const { return changes_; }

  std::int64_t FileSizeOf(const std::string& path) override;
  std::string FileStampText(const std::string& path) override;
  std::optional<std::int64_t> ModifiedTime(const std::string& path) override;
  bool FlushVolume(const std::string&) override { return true; }
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  bool MakeDirectories(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override;
  bool ShellCopy(const std::string& from, const std::string& to) override;
  bool ShellMove(const std::string& from, const std::string& to) override;
  bool ShellDelete(const std::string& path) override;
  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override;
  bool IsPlainPath(const std::string&) override { return true; }
  std::optional<std::string> ResolveOnDrive(const std::string& path) override;
  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override;

 private:
  struct Node {
    std::string path;  // as first created
    bool directory = false;
    std::string bytes;
  };
  // The key of a path: the resolved card path upper-cased, or the computer path as it is;
  // empty for a card path of another drive or one that climbs above its root.
  std::string KeyOf(const std::string& path) const;
  static std::string ParentOf(const std::string& key);
  static bool IsRoot(const std::string& key);
  bool MakeParents(const std::string& key, const std::string& path);
  const Node* Find(const std::string& path) const;
  void EraseTree(const std::string& key);

  char drive_;
  std::map<std::string, Node> nodes_;
  int changes_ = 0;
};

}  // namespace sdmate::test
