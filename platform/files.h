// File services of the operating system. Paths are in the model's form: card paths with a
// drive letter, which the DriveTable turns into native ones, or native paths of the computer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sdmate {

class DriveTable;

// How a copy to a new file ended.
enum class NewFile {
  Created,    // the file was made, whole, and flushed to its disk
  NameTaken,  // the file system holds an entry of that name (by its own rules of case or width)
  Failed,     // nothing was left under the name
};

// Why the system refused a file operation, as far as the program tells reasons apart.
enum class FileError {
  None,      // no reason known
  NoSpace,   // the disk is full
  ReadOnly,  // the file system or the medium is write-protected
  Denied,    // no permission, or the file is in use
  Missing,   // the file or a folder on its way does not exist
  Other,     // another reason of the system
};

// An entry of a directory as one listing gives it, with what the listing tells of a file.
struct DirectoryEntry {
  enum class Type {
    File,       // a regular file, or a link that leads to one
    Directory,  // a folder, or a link that leads to one
    Other,      // a pipe, a device, a link that leads nowhere
  };
  std::string name;  // as the directory spells it
  Type type = Type::Other;
  std::int64_t size = 0;      // a file's size in bytes
  std::int64_t modified = 0;  // a file's last-write time in nanoseconds since 1970 (UTC)
};

class Files {
 public:
  virtual ~Files() = default;

  // The reason the system gave for the last write, copy, move, delete or directory creation
  // that failed (through this object); FileError::None when it gave none.
  virtual FileError LastError() const { return FileError::None; }

  // The size of an existing file opened for reading, or -1 when it cannot be opened.
  virtual std::int64_t FileSizeOf(const std::string& path) = 0;
  // The last-write time in local time as "YYYY:MM:DD hh:mm:00" (FAT resolution, seconds
  // always 00); empty when the file cannot be read.
  virtual std::string FileStampText(const std::string& path) = 0;
  // The last-write time in nanoseconds since 1970 (UTC), or nullopt when there is no such file.
  virtual std::optional<std::int64_t> ModifiedTime(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
  // Creates the directory and every missing parent; true when it exists afterwards.
  virtual bool MakeDirectories(const std::string& path) = 0;
  // True when the directory exists and the program may create files in it (an installed
  // program's folder usually is not). Doubles that do not say otherwise take every existing
  // directory as writable.
  virtual bool IsWritableDirectory(const std::string& path) { return IsDirectory(path); }
  // The bytes of a regular file, at most maxBytes of them (a device or a pipe is no file to
  // read, and a table larger than any table can be is read only as far as a table goes).
  virtual std::optional<std::string> ReadFile(const std::string& path,
                                              std::size_t maxBytes = kWholeFile) = 0;
  static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
  // Writes to a temporary name beside the file, flushes, and renames it over the file, so the
  // old version stays whole when anything fails.
  virtual bool WriteFileReplacing(const std::string& path, const std::string& bytes) = 0;
  // Copy, move and delete of a file or a whole tree, replacing without asking, keeping the
  // files' modification times, never into a recycle bin. True when it succeeded; a copy whose
  // modification time could not be kept has not succeeded.
  virtual bool ShellCopy(const std::string& from, const std::string& to) = 0;
  virtual bool ShellMove(const std::string& from, const std::string& to) = 0;
  virtual bool ShellDelete(const std::string& path) = 0;
  // Copies a regular file to a name that is created for it and for nothing else (O_EXCL,
  // CREATE_NEW): an entry the file system takes for that name is never replaced. The copy gets
  // the modification time `modified` (nanoseconds since 1970, UTC), or the source's when none,
  // and is flushed to its disk before the call returns; a copy that fails half way is removed.
  virtual NewFile CopyToNewFile(const std::string& from, const std::string& to,
                                std::optional<std::int64_t> modified) = 0;
  // True when no part of a card path below its drive's root is a symbolic link (or, on Windows,
  // another reparse point): a link inside a card folder may lead anywhere. Parts that do not
  // exist yet are no links; a path of the computer is not examined.
  virtual bool IsPlainPath(const std::string& path) = 0;
  // The card path a path stands for once links, ".", "..", doubled or forward separators and
  // the drive's mount point are resolved ("E:\\PRIVATE\..."), whichever spelling it was given
  // in (a card path or a native path of the computer); nullopt when it lies on no drive that
  // has a letter.
  virtual std::optional<std::string> ResolveOnDrive(const std::string& path) = 0;
  // ResolveOnDrive for many paths at once, in their order: a backend may resolve a folder they
  // share once (a commit of many files of one folder of the computer).
  virtual std::vector<std::optional<std::string>> ResolveAllOnDrive(
      const std::vector<std::string>& paths) {
    std::vector<std::optional<std::string>> resolved;
    resolved.reserve(paths.size());
    for (const std::string& path : paths) resolved.push_back(ResolveOnDrive(path));
    return resolved;
  }
  // Makes everything written to the file system that holds path durable before it returns (a
  // card behind a reader may then be pulled). True when the system reported success.
  virtual bool FlushVolume(const std::string& path) = 0;
  // Names of the entries of a directory, sorted; nullopt when it cannot be listed (missing,
  // not a directory, no permission), which is not the same as empty.
  virtual std::optional<std::vector<std::string>> ListDirectory(const std::string& path) = 0;
  // The entries of a directory, sorted by name, with the size and time of every file, from one
  // listing of the directory: no file in it is opened. A link counts as what it leads to, as a
  // file opened by its name would. nullopt when the directory cannot be listed. Doubles that do
  // not say otherwise ask every name on its own.
  // Whether ListFiles may run on another thread while this one goes on using the files (the
  // load lists folders while it reads the next tables). Doubles that keep state say no.
  virtual bool ListsBeside() const { return false; }
  virtual std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& directory) {
    auto names = ListDirectory(directory);
    if (!names) return std::nullopt;
    const std::string folder = directory.ends_with('\\') ? directory : directory + "\\";
    std::vector<DirectoryEntry> entries;
    entries.reserve(names->size());
    for (std::string& name : *names) {
      const std::string path = folder + name;
      DirectoryEntry entry{.name = std::move(name)};
      if (IsDirectory(path)) {
        entry.type = DirectoryEntry::Type::Directory;
      } else if (const std::int64_t size = FileSizeOf(path); size >= 0) {
        entry.type = DirectoryEntry::Type::File;
        entry.size = size;
        entry.modified = ModifiedTime(path).value_or(0);
      }
      entries.push_back(std::move(entry));
    }
    return entries;
  }
};

// The operating system's files, with card paths mapped through the table (kept by reference).
std::unique_ptr<Files> MakeNativeFiles(const DriveTable& table);

}  // namespace sdmate
