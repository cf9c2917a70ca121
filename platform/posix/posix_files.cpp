// Files on POSIX systems, through std::filesystem and stat.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/drive_table.h"
#include "platform/files.h"

namespace sdmate {
namespace {

namespace fs = std::filesystem;

// The bytes alone, for file systems that refuse to take the source's permissions (FAT through
// FUSE answers fchmod with ENOSYS, which makes copy_file fail).
bool CopyBytes(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  if (!in || !out) return false;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    if (!out.write(buffer, in.gcount())) return false;
  }
  out.flush();
  return !in.bad() && static_cast<bool>(out);
}

// Copies a file's bytes and gives the copy the source's modification time.
bool CopyOneFile(const fs::path& from, const fs::path& to) {
  std::error_code error;
  // A file copied onto itself (two spellings of one file, or a file of the card added to the
  // card) is already in place; copying the bytes would truncate it first.
  if (fs::equivalent(from, to, error)) return true;
  error.clear();
  if (to.has_parent_path()) fs::create_directories(to.parent_path(), error);
  if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, error)) {
    if (!fs::is_regular_file(from, error) || !CopyBytes(from, to)) return false;
  }
  fs::file_time_type when = fs::last_write_time(from, error);
  if (error) return false;
  fs::last_write_time(to, when, error);
  return !error;
}

bool CopyTree(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (fs::is_regular_file(from, error)) return CopyOneFile(from, to);
  if (!fs::is_directory(from, error)) return false;
  fs::create_directories(to, error);
  if (!fs::is_directory(to, error)) return false;
  bool ok = true;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    ok = CopyTree(it->path(), to / it->path().filename()) && ok;
  }
  return ok && !error;
}

class PosixFiles final : public Files {
 public:
  explicit PosixFiles(const DriveTable& table) : table_(table) {}

  std::int64_t FileSizeOf(const std::string& path) override {
    auto native = Native(path);
    if (!native) return -1;
    // Opened for reading, as the handset's tools do: a file that cannot be read has no size.
    int descriptor = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return -1;
    struct stat info {};
    bool ok = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    ::close(descriptor);
    return ok ? static_cast<std::int64_t>(info.st_size) : -1;
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

  bool MakeDirectories(const std::string& path) override {
    auto native = Native(path);
    if (!native) return false;
    std::error_code error;
    fs::create_directories(*native, error);
    return fs::is_directory(*native, error);
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    auto native = Native(path);
    if (!native) return std::nullopt;
    std::ifstream in(*native, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  }

  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    auto native = Native(path);
    if (!native) return false;
    std::string temporary = *native + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = std::rename(temporary.c_str(), native->c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
  }

  bool ShellCopy(const std::string& from, const std::string& to) override {
    auto source = Native(from);
    auto target = Native(to);
    return source && target && CopyTree(*source, *target);
  }

  bool ShellMove(const std::string& from, const std::string& to) override {
    auto source = Native(from);
    auto target = Native(to);
    if (!source || !target) return false;
    std::error_code error;
    if (!fs::exists(*source, error)) return false;
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
    auto native = Native(path);
    if (!native) return false;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(*native, error))) return false;
    fs::remove_all(*native, error);
    return !error && !fs::exists(fs::symlink_status(*native, error));
  }

  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    auto native = Native(path);
    if (!native) return std::nullopt;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(*native, error);
    for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
      names.push_back(it->path().filename().string());
    }
    if (error) return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::optional<std::string> Native(const std::string& path) const {
    if (path.empty()) return std::nullopt;
    return table_.ToNative(path);
  }

  const DriveTable& table_;
};

}  // namespace

std::unique_ptr<Files> MakeNativeFiles(const DriveTable& table) {
  return std::make_unique<PosixFiles>(table);
}

}  // namespace sdmate
