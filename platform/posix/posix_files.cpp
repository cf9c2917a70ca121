// Files on POSIX systems, through std::filesystem and the system calls. Files are opened only
// when they are regular files (a pipe or a device named on a card would hang or never end), and
// a copy never writes through a symbolic link.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/drive_table.h"
#include "platform/files.h"

namespace sdmate {
namespace {

namespace fs = std::filesystem;

// A descriptor closed on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor& operator=(Descriptor&&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and tells whether the close (where delayed write errors show) succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Opens a regular file for reading without waiting: a pipe or a device is refused before any
// read could block. info receives the file's status.
Descriptor OpenRegular(const std::string& native, struct stat& info) {
  Descriptor fd(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return Descriptor(-1);
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return Descriptor(-1);
  return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Every byte from one descriptor to the other, to the end of the source.
bool CopyBytes(int from, int to) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAll(to, buffer, static_cast<std::size_t>(got))) return false;
  }
}

// Copies a regular file's bytes and gives the copy the source's modification time. The target
// is never a link (it is refused) nor a pipe.
bool CopyOneFile(const fs::path& from, const fs::path& to) {
  std::error_code error;
  // A file copied onto itself (two spellings of one file, or a file of the card added to the
  // card) is already in place; copying the bytes would truncate it first.
  if (fs::equivalent(from, to, error)) return true;
  struct stat info {};
  Descriptor source = OpenRegular(from.string(), info);
  if (!source.valid()) return false;
  if (to.has_parent_path()) fs::create_directories(to.parent_path(), error);
  Descriptor target(
      ::open(to.c_str(),
             O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
  struct stat targetInfo {};
  if (!target.valid() || ::fstat(target.get(), &targetInfo) != 0 || !S_ISREG(targetInfo.st_mode)) {
    return false;
  }
  if (!CopyBytes(source.get(), target.get())) return false;
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  const bool stamped = ::futimens(target.get(), times) == 0;
  return target.Close() && stamped;
}

// A folder without its trailing separators, so that paths below it compare part by part.
fs::path Trimmed(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return fs::path(folder);
}

bool CopyTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(from, error);
  if (fs::is_regular_file(status)) return CopyOneFile(from, to);
  // A link or anything else that is no plain file or folder is not followed.
  if (!fs::is_directory(status)) return false;
  fs::create_directories(to, error);
  if (!fs::is_directory(to, error)) return false;
  bool ok = true;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    ok = CopyTree(it->path(), to / it->path().filename()) && ok;
  }
  return ok && !error;
}

// The card path of a resolved native path: below the drive whose folder holds it most closely
// (mount points nest); nullopt when no drive's does.
std::optional<std::string> CardPathOf(const fs::path& resolved,
                                      const std::vector<std::pair<char, fs::path>>& roots) {
  std::optional<std::string> best;
  std::size_t bestLength = 0;
  for (const auto& [letter, base] : roots) {
    const fs::path below = resolved.lexically_relative(base);
    if (below.empty() || *below.begin() == "..") continue;
    if (best && base.native().size() <= bestLength) continue;
    std::string card = std::string(1, letter) + ":\\";
    for (const fs::path& part : below) {
      if (part == ".") continue;
      card += '\\';
      card += part.native();
    }
    best = card;
    bestLength = base.native().size();
  }
  return best;
}

FileError FileErrorOf(int number) {
  switch (number) {
    case 0:
      return FileError::None;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileError::NoSpace;
    case EROFS:
      return FileError::ReadOnly;
    case EACCES:
    case EPERM:
    case EBUSY:
    case ETXTBSY:
      return FileError::Denied;
    case ENOENT:
    case ENOTDIR:
      return FileError::Missing;
    default:
      return FileError::Other;
  }
}

class PosixFiles final : public Files {
 public:
  explicit PosixFiles(const DriveTable& table) : table_(table) {}

  FileError LastError() const override { return lastError_; }

  std::int64_t FileSizeOf(const std::string& path) override {
    auto native = Native(path);
    if (!native) return -1;
    // Opened for reading, as the handset's tools do: a file that cannot be read has no size.
    struct stat info {};
    if (!OpenRegular(*native, info).valid()) return -1;
    return static_cast<std::int64_t>(info.st_size);
  }

  std::string FileStampText(const std::string& path) override {
    auto native = Native(path);
    struct stat info {};
    if (!native || ::stat(native->c_str(), &info) != 0) return {};
    std::time_t when = info.st_mtime;
    std::tm local{};
    if (!::localtime_r(&when, &local)) return {};
    // FAT time stamps start in 1980.
    if (local.tm_year + 1900 < 1980) return "1980:01:01 00:00:00";
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u %02u:%02u:00",
                  static_cast<unsigned>(local.tm_year + 1900),
                  static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                  static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min));
    return text;
  }

  std::optional<std::int64_t> ModifiedTime(const std::string& path) override {
    auto native = Native(path);
    struct stat info {};
    if (!native || ::stat(native->c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  }

  bool FlushVolume(const std::string& path) override {
    auto native = Native(path);
    if (!native) return false;
    Descriptor fd(::open(native->c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    return fd.valid() && ::syncfs(fd.get()) == 0;
  }

  bool Exists(const std::string& path) override {
    auto native = Native(path);
    std::error_code error;
    return native && fs::exists(*native, error);
  }

  bool IsDirectory(const std::string& path) override {
    auto native = Native(path);
    std::error_code error;
    return native && fs::is_directory(*native, error);
  }

  bool IsWritableDirectory(const std::string& path) override {
    auto native = Native(path);
    std::error_code error;
    // The kernel's own answer for this process: modes, ACLs, read-only mounts and immutable
    // directories, also for the super-user.
    return native && fs::is_directory(*native, error) &&
           ::faccessat(AT_FDCWD, native->c_str(), W_OK | X_OK, AT_EACCESS) == 0;
  }

  bool MakeDirectories(const std::string& path) override {
    errno = 0;
    const bool ok = DoMakeDirectories(path);
    lastError_ = ok ? FileError::None : FileErrorOf(errno);
    return ok;
  }

  bool DoMakeDirectories(const std::string& path) {
    auto native = Native(path);
    if (!native) return false;
    std::error_code error;
    fs::create_directories(*native, error);
    return fs::is_directory(*native, error);
  }

  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
    auto native = Native(path);
    if (!native) return std::nullopt;
    struct stat info {};
    Descriptor fd = OpenRegular(*native, info);
    if (!fd.valid()) return std::nullopt;
    std::string bytes;
    bytes.resize(std::min<std::size_t>(maxBytes, static_cast<std::size_t>(info.st_size)));
    std::size_t have = 0;
    while (have < bytes.size()) {
      const ssize_t got = ::read(fd.get(), bytes.data() + have, bytes.size() - have);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return std::nullopt;
      if (got == 0) break;  // the file shrank meanwhile
      have += static_cast<std::size_t>(got);
    }
    bytes.resize(have);
    return bytes;
  }

  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    errno = 0;
    const bool ok = DoWriteFileReplacing(path, bytes);
    lastError_ = ok ? FileError::None : FileErrorOf(errno);
    return ok;
  }

  bool DoWriteFileReplacing(const std::string& path, const std::string& bytes) {
    auto native = Native(path);
    if (!native) return false;
    const std::string temporary = *native + ".new";
    bool ok = false;
    {
      Descriptor fd(::open(temporary.c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
      if (!fd.valid()) return false;
      ok = WriteAll(fd.get(), bytes.data(), bytes.size());
      ok = ::fsync(fd.get()) == 0 && ok;
      ok = fd.Close() && ok;
    }
    if (ok) ok = std::rename(temporary.c_str(), native->c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
  }

  bool ShellCopy(const std::string& from, const std::string& to) override {
    errno = 0;
    const bool ok = DoShellCopy(from, to);
    lastError_ = ok ? FileError::None : FileErrorOf(errno);
    return ok;
  }

  bool DoShellCopy(const std::string& from, const std::string& to) {
    auto source = Native(from);
    auto target = Native(to);
    return source && target && CopyTree(*source, *target);
  }

  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override {
    errno = 0;
    const NewFile made = DoCopyToNewFile(from, to, modified);
    lastError_ = made == NewFile::Failed ? FileErrorOf(errno) : FileError::None;
    return made;
  }

  NewFile DoCopyToNewFile(const std::string& from, const std::string& to,
                          std::optional<std::int64_t> modified) {
    auto source = Native(from);
    auto target = Native(to);
    if (!source || !target) return NewFile::Failed;
    struct stat info {};
    Descriptor in = OpenRegular(*source, info);
    if (!in.valid()) return NewFile::Failed;
    Descriptor out(::open(target->c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
    if (!out.valid()) return errno == EEXIST ? NewFile::NameTaken : NewFile::Failed;
    struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (modified) {
      const std::int64_t second = *modified / 1000000000 - (*modified % 1000000000 < 0 ? 1 : 0);
      times[1].tv_sec = static_cast<std::time_t>(second);
      times[1].tv_nsec = static_cast<long>(*modified - second * 1000000000);
    }
    bool ok = CopyBytes(in.get(), out.get()) && ::futimens(out.get(), times) == 0 &&
              ::fsync(out.get()) == 0;
    ok = out.Close() && ok;
    if (!ok) {
      ::unlink(target->c_str());
      return NewFile::Failed;
    }
    // The new name itself is made durable with its folder; a file system that cannot flush a
    // folder has already written it with the file.
    const fs::path folder = fs::path(*target).parent_path();
    Descriptor directory(::open(folder.empty() ? "." : folder.c_str(),
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY));
    if (directory.valid()) ::fsync(directory.get());
    return NewFile::Created;
  }

  bool ShellMove(const std::string& from, const std::string& to) override {
    errno = 0;
    const bool ok = DoShellMove(from, to);
    lastError_ = ok ? FileError::None : FileErrorOf(errno);
    return ok;
  }

  bool DoShellMove(const std::string& from, const std::string& to) {
    auto source = Native(from);
    auto target = Native(to);
    if (!source || !target) return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(*source, error))) return false;
    fs::path targetPath(*target);
    if (targetPath.has_parent_path()) fs::create_directories(targetPath.parent_path(), error);
    fs::rename(*source, targetPath, error);
    if (!error) return true;
    // Another file system, or a directory onto a non-empty one: copy, then remove the source.
    if (!CopyTree(*source, targetPath)) return false;
    fs::remove_all(*source, error);
    return !error;
  }

  bool ShellDelete(const std::string& path) override {
    errno = 0;
    const bool ok = DoShellDelete(path);
    lastError_ = ok ? FileError::None : FileErrorOf(errno);
    return ok;
  }

  bool DoShellDelete(const std::string& path) {
    auto native = Native(path);
    if (!native) return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(*native, error))) return false;
    fs::remove_all(*native, error);
    return !error && !fs::exists(fs::symlink_status(*native, error));
  }

  bool IsPlainPath(const std::string& path) override {
    const char letter = DriveLetterOf(path);
    if (letter == 0) return true;
    auto root = table_.RootOf(letter);
    auto native = Native(path);
    if (!root || !native) return false;
    fs::path at = Trimmed(*root);
    const fs::path below = fs::path(*native).lexically_relative(at);
    if (below.empty() || *below.begin() == "..") return false;
    for (const fs::path& part : below) {
      if (part == ".") continue;
      at /= part;
      struct stat info {};
      if (::lstat(at.c_str(), &info) != 0) return errno == ENOENT || errno == ENOTDIR;
      if (S_ISLNK(info.st_mode)) return false;
    }
    return true;
  }

  std::optional<std::string> ResolveOnDrive(const std::string& path) override {
    return ResolveAllOnDrive({path}).front();
  }

  std::vector<std::optional<std::string>> ResolveAllOnDrive(
      const std::vector<std::string>& paths) override {
    std::error_code error;
    std::vector<std::pair<char, fs::path>> roots;
    for (const auto& [letter, root] : table_.Assigned()) {
      fs::path base = fs::weakly_canonical(Trimmed(root), error);
      if (!error) roots.emplace_back(letter, std::move(base));
    }
    // The folders of the paths, resolved once each; a file that is itself a link is resolved on
    // its own.
    std::map<fs::path, std::optional<fs::path>> folders;
    std::vector<std::optional<std::string>> resolved;
    resolved.reserve(paths.size());
    for (const std::string& path : paths) {
      auto native = Native(path);
      if (!native) {
        resolved.emplace_back();
        continue;
      }
      const fs::path file(*native);
      struct stat info {};
      const bool link = ::lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
      std::optional<fs::path> full;
      if (link || !file.has_parent_path() || !file.has_filename() || file.filename() == "." ||
          file.filename() == "..") {
        full = fs::weakly_canonical(file, error);
        if (error) full.reset();
      } else {
        auto [folder, added] = folders.try_emplace(file.parent_path());
        if (added) {
          folder->second = fs::weakly_canonical(file.parent_path(), error);
          if (error) folder->second.reset();
        }
        if (folder->second) full = *folder->second / file.filename();
      }
      resolved.push_back(full ? CardPathOf(*full, roots) : std::nullopt);
    }
    return resolved;
  }

  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    std::vector<std::string> names;
    const bool listed = EachEntry(path, [&names](int /*directory*/, const dirent& found) {
      names.emplace_back(found.d_name);
    });
    if (!listed) return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
  }

  // Nothing but the drive table, which does not change, is shared by two listings.
  bool ListsBeside() const override { return true; }

  std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& path) override {
    std::vector<DirectoryEntry> entries;
    const bool listed = EachEntry(path, [&entries](int directory, const dirent& found) {
      DirectoryEntry entry{.name = std::string(found.d_name)};
      // The directory tells what most entries are; a file is asked for its size and time, never
      // opened, and a link once more for what it leads to.
      switch (found.d_type) {
        case DT_DIR:
          entry.type = DirectoryEntry::Type::Directory;
          entries.push_back(std::move(entry));
          return;
        case DT_FIFO:
        case DT_CHR:
        case DT_BLK:
        case DT_SOCK:
          entries.push_back(std::move(entry));
          return;
        default:
          break;
      }
      struct stat info {};
      if (::fstatat(directory, found.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;  // gone
      if (S_ISLNK(info.st_mode) && ::fstatat(directory, found.d_name, &info, 0) != 0) {
        info.st_mode = 0;
      }
      if (S_ISREG(info.st_mode)) {
        entry.type = DirectoryEntry::Type::File;
        entry.size = static_cast<std::int64_t>(info.st_size);
        entry.modified =
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
      } else if (S_ISDIR(info.st_mode)) {
        entry.type = DirectoryEntry::Type::Directory;
      }
      entries.push_back(std::move(entry));
    });
    if (!listed) return std::nullopt;
    // Many file systems list a folder in the order its files were made, or the other way round:
    // a handset's folder is then sorted already.
    const auto byName = [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return a.name < b.name;
    };
    if (std::is_sorted(entries.rbegin(), entries.rend(), byName)) {
      std::reverse(entries.begin(), entries.end());
    } else if (!std::is_sorted(entries.begin(), entries.end(), byName)) {
      std::sort(entries.begin(), entries.end(), byName);
    }
    return entries;
  }

 private:
  // Calls each(directory descriptor, entry) for every entry of the directory but "." and "..";
  // false when the directory cannot be opened or read to its end.
  template <class Each>
  bool EachEntry(const std::string& path, Each each) const {
    auto native = Native(path);
    if (!native) return false;
    const int fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    DIR* directory = ::fdopendir(fd);
    if (directory == nullptr) {
      ::close(fd);
      return false;
    }
    bool complete = true;
    for (;;) {
      errno = 0;
      const dirent* found = ::readdir(directory);
      if (found == nullptr) {
        complete = errno == 0;
        break;
      }
      const std::string_view name = found->d_name;
      if (name == "." || name == "..") continue;
      each(fd, *found);
    }
    ::closedir(directory);
    return complete;
  }

  std::optional<std::string> Native(const std::string& path) const {
    if (path.empty()) return std::nullopt;
    return table_.ToNative(path);
  }

  const DriveTable& table_;
  FileError lastError_ = FileError::None;
};

}  // namespace

std::unique_ptr<Files> MakeNativeFiles(const DriveTable& table) {
  return std::make_unique<PosixFiles>(table);
}

}  // namespace sdmate
