// The files as a session of the command line sees them. While operations are staged nothing may
// reach the card: the one write staging can ask for, a missing data directory the user agreed
// to create, is remembered and made at the commit; any other write is refused. At the commit
// (never in a dry run) writes go through.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace sdmate {

class StagingFiles : public Files {
 public:
  explicit StagingFiles(Files& real) : real_(real) {}

  // Lets writes through from now on and makes the directories asked for while staging. False
  // when one of them could not be made.
  bool Commit() {
    committing_ = true;
    bool made = true;
    for (const std::string& path : pendingDirectories_) made = real_.MakeDirectories(path) && made;
    pendingDirectories_.clear();
    return made;
  }

  std::int64_t FileSizeOf(const std::string& path) override { return real_.FileSizeOf(path); }
  std::string FileStampText(const std::string& path) override { return real_.FileStampText(path); }
  std::optional<std::int64_t> ModifiedTime(const std::string& path) override {
    return real_.ModifiedTime(path);
  }
  bool Exists(const std::string& path) override { return IsPending(path) || real_.Exists(path); }
  bool IsDirectory(const std::string& path) override {
    return IsPending(path) || real_.IsDirectory(path);
  }
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
    return real_.ReadFile(path, maxBytes);
  }
  bool FlushVolume(const std::string& path) override {
    return committing_ && real_.FlushVolume(path);
  }
  bool IsPlainPath(const std::string& path) override { return real_.IsPlainPath(path); }
  std::optional<std::string> ResolveOnDrive(const std::string& path) override {
    return real_.ResolveOnDrive(path);
  }
  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    return real_.ListDirectory(path);
  }
  bool ListsBeside() const override { return real_.ListsBeside(); }
  std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& directory) override {
    return real_.ListFiles(directory);
  }
  bool MakeDirectories(const std::string& path) override {
    if (committing_) return real_.MakeDirectories(path);
    if (!IsPending(path)) pendingDirectories_.push_back(path);
    return true;
  }
  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    return committing_ && real_.WriteFileReplacing(path, bytes);
  }
  bool ShellCopy(const std::string& from, const std::string& to) override {
    return committing_ && real_.ShellCopy(from, to);
  }
  bool ShellMove(const std::string& from, const std::string& to) override {
    return committing_ && real_.ShellMove(from, to);
  }
  bool ShellDelete(const std::string& path) override {
    return committing_ && real_.ShellDelete(path);
  }
  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override {
    return committing_ ? real_.CopyToNewFile(from, to, modified) : NewFile::Failed;
  }

 private:
  bool IsPending(const std::string& path) const {
    for (const std::string& pending : pendingDirectories_) {
      if (pending == path) return true;
    }
    return false;
  }

  Files& real_;
  bool committing_ = false;
  std::vector<std::string> pendingDirectories_;
};

}  // namespace sdmate
