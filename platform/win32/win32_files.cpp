// Files on Windows, through the wide-character APIs. Copies, moves and deletes of single files
// go through the shell's file operation (no confirmation, no error dialogs, no undo); trees and
// paths too long for the shell go through the plain file APIs in the "\\?\" form.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <optional>

#include "platform/drive_table.h"
#include "platform/files.h"
#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

using win32::LongPath;
using win32::Narrow;
using win32::Widen;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
bool IsDirectoryW(const std::wstring& path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool ExistsW(const std::wstring& path) { return AttributesOf(path) != INVALID_FILE_ATTRIBUTES; }

std::wstring ParentOf(const std::wstring& path) {
  std::size_t at = path.find_last_of(L"\\/");
  return at == std::wstring::npos ? std::wstring{} : path.substr(0, at);
}

// Creates a directory and its missing parents.
bool MakeDirectoriesW(const std::wstring& path) {
  if (path.empty() || IsDirectoryW(path)) return !path.empty();
  std::wstring parent = ParentOf(path);
  if (!parent.empty() && parent != path && !(parent.size() == 2 && parent[1] == L':') &&
      parent.back() != L'?') {
    MakeDirectoriesW(parent);
  }
  ::CreateDirectoryW(path.c_str(), nullptr);
  return IsDirectoryW(path);
}

// The entries of a directory; nullopt when it cannot be listed.
std::optional<std::vector<std::wstring>> ListChildren(const std::wstring& directory) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((directory + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return std::nullopt;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(find, &data));
  const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(find);
  if (!complete) return std::nullopt;
  return names;
}

std::vector<std::wstring> ChildrenOf(const std::wstring& directory) {
  return ListChildren(directory).value_or(std::vector<std::wstring>{});
}

// The plain-API route, used for paths the shell cannot take.
bool CopyTreeW(const std::wstring& from, const std::wstring& to) {
  if (!ExistsW(from)) return false;
  if (!IsDirectoryW(from)) {
    MakeDirectoriesW(ParentOf(to));
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;  // keeps the last-write time
  }
  if (!MakeDirectoriesW(to)) return false;
  bool ok = true;
  for (const std::wstring& name : ChildrenOf(from)) {
    ok = CopyTreeW(from + L"\\" + name, to + L"\\" + name) && ok;
  }
  return ok;
}

bool DeleteTreeW(const std::wstring& path) {
  DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ::DeleteFileW(path.c_str()) != 0;
  for (const std::wstring& name : ChildrenOf(path)) DeleteTreeW(path + L"\\" + name);
  return ::RemoveDirectoryW(path.c_str()) != 0;
}

bool IsLong(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0; }

// Opens a file on a disk for reading: a device, a pipe or a folder is refused.
HANDLE OpenRegular(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

// 100-nanosecond ticks since 1601 as nanoseconds since 1970.
std::int64_t NanosecondsOf(const FILETIME& time) {
  ULARGE_INTEGER ticks{};
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return (static_cast<std::int64_t>(ticks.QuadPart) - 116444736000000000LL) * 100;
}

// An entry of a listing that is a reparse point (a link) taken as what it leads to, as a file
// opened by its name would be.
DirectoryEntry::Type FollowedEntry(const std::wstring& path, DirectoryEntry& entry) {
  if (IsDirectoryW(path)) return DirectoryEntry::Type::Directory;
  Handle file(OpenRegular(path));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) {
    return DirectoryEntry::Type::Other;
  }
  entry.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                         info.nFileSizeLow);
  entry.modified = NanosecondsOf(info.ftLastWriteTime);
  return DirectoryEntry::Type::File;
}

// The full path of a native path, with "." and ".." resolved and backslashes.
std::wstring FullPath(const std::wstring& path) {
  DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return {};
  std::wstring full(length, L'\0');
  length = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  full.resize(length);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

// The part of path below base (both full paths), compared without regard to case; nullopt when
// path does not lie inside base.
std::optional<std::wstring> Below(const std::wstring& path, const std::wstring& base) {
  if (path.size() < base.size() ||
      ::CompareStringOrdinal(path.c_str(), static_cast<int>(base.size()), base.c_str(),
                             static_cast<int>(base.size()), TRUE) != CSTR_EQUAL) {
    return std::nullopt;
  }
  std::wstring rest = path.substr(base.size());
  if (!rest.empty() && rest.front() != L'\\' && base.back() != L'\\') return std::nullopt;
  while (!rest.empty() && rest.front() == L'\\') rest.erase(0, 1);
  return rest;
}

// One shell file operation. The path buffers are built for any length with the double zero
// terminator the shell requires.
bool ShellOperation(UINT function, const std::wstring& from, const std::wstring& to) {
  std::wstring source = from;
  source.push_back(L'\0');
  std::wstring target = to;
  target.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = nullptr;
  operation.wFunc = function;
  operation.pFrom = source.c_str();
  operation.pTo = to.empty() ? nullptr : target.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR | FOF_SILENT;
  const int result = ::SHFileOperationW(&operation);
  // The shell's result is mostly a system error code: kept as the reason.
  if (result != 0) ::SetLastError(static_cast<DWORD>(result));
  return result == 0 && !operation.fAnyOperationsAborted;
}

// Writes a file's (or every file of a tree's) data and metadata to its disk: a copy is whole on
// the card before its completion is told. A file that cannot be opened for writing because it
// is read-only was written by the copy with that attribute and is left as the system keeps it.
bool FlushTreeW(const std::wstring& path) {
  if (IsDirectoryW(path)) {
    bool ok = true;
    for (const std::wstring& name : ChildrenOf(path)) ok = FlushTreeW(path + L"\\" + name) && ok;
    return ok;
  }
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_ACCESS_DENIED;
  const bool ok = ::FlushFileBuffers(file) != 0;
  ::CloseHandle(file);
  return ok;
}

FileError FileErrorOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FileError::None;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::NoSpace;
    case ERROR_WRITE_PROTECT:
      return FileError::ReadOnly;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::Denied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::Missing;
    default:
      return FileError::Other;
  }
}

class Win32Files final : public Files {
 public:
  explicit Win32Files(const DriveTable& table) : table_(table) {}

  FileError LastError() const override { return lastError_; }

  std::int64_t FileSizeOf(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide) return -1;
    Handle file(OpenRegular(*wide));
    LARGE_INTEGER size{};
    if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) return -1;
    return size.QuadPart;
  }

  std::string FileStampText(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide) return {};
    Handle file(::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written{}, local{};
    if (!file.valid() || !::GetFileTime(file.get(), nullptr, nullptr, &written)) return {};
    WORD date = 0, time = 0;
    // FAT time stamps start in 1980; the conversion fails for anything earlier.
    if (!::FileTimeToLocalFileTime(&written, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time)) {
      return "1980:01:01 00:00:00";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u %02u:%02u:00", (date >> 9) + 1980u,
                  (date >> 5) & 15u, date & 31u, time >> 11, (time >> 5) & 63u);
    return text;
  }

  std::optional<std::int64_t> ModifiedTime(const std::string& path) override {
    auto wide = Wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!wide || !::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
      return std::nullopt;
    }
    return NanosecondsOf(data.ftLastWriteTime);
  }

  // Every file is flushed as it is written (FlushFileBuffers after each table write, copy and
  // move, MOVEFILE_WRITE_THROUGH), and Windows writes a removable drive through by default
  // (quick removal). Flushing a whole volume needs administrative rights, so nothing more is
  // asked here.
  bool FlushVolume(const std::string& path) override { return Exists(path); }

  bool Exists(const std::string& path) override {
    auto wide = Wide(path);
    return wide && ExistsW(*wide);
  }

  bool IsDirectory(const std::string& path) override {
    auto wide = Wide(path);
    return wide && IsDirectoryW(*wide);
  }

  bool IsWritableDirectory(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide || !IsDirectoryW(*wide)) return false;
    // Access rights on Windows are known only by trying: a file that deletes itself on close.
    std::wstring probe = *wide;
    if (probe.back() != L'\\') probe.push_back(L'\\');
    probe += L"sdmate-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
  }

  bool MakeDirectories(const std::string& path) override {
    ::SetLastError(ERROR_SUCCESS);
    const bool ok = DoMakeDirectories(path);
    lastError_ = ok ? FileError::None : FileErrorOf(::GetLastError());
    return ok;
  }

  bool DoMakeDirectories(const std::string& path) {
    auto wide = Wide(path);
    return wide && MakeDirectoriesW(*wide);
  }

  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
    auto wide = Wide(path);
    if (!wide) return std::nullopt;
    Handle file(OpenRegular(*wide));
    if (!file.valid()) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (bytes.size() < maxBytes) {
      const DWORD want =
          static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - bytes.size()));
      if (!::ReadFile(file.get(), buffer, want, &read, nullptr)) return std::nullopt;
      if (read == 0) break;
      bytes.append(buffer, read);
    }
    return bytes;
  }

  bool WriteFileReplacing(const std::string& path, const std::string& bytes) override {
    ::SetLastError(ERROR_SUCCESS);
    const bool ok = DoWriteFileReplacing(path, bytes);
    lastError_ = ok ? FileError::None : FileErrorOf(::GetLastError());
    return ok;
  }

  bool DoWriteFileReplacing(const std::string& path, const std::string& bytes) {
    auto wide = Wide(path);
    if (!wide) return false;
    std::wstring temporary = *wide + L".new";
    bool ok = false;
    {
      Handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file.valid()) return false;
      DWORD written = 0;
      ok = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size() && ::FlushFileBuffers(file.get());
    }
    if (ok) {
      ok = ::MoveFileExW(temporary.c_str(), wide->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) ::DeleteFileW(temporary.c_str());
    return ok;
  }

  bool ShellCopy(const std::string& from, const std::string& to) override {
    ::SetLastError(ERROR_SUCCESS);
    const bool ok = DoShellCopy(from, to);
    lastError_ = ok ? FileError::None : FileErrorOf(::GetLastError());
    return ok;
  }

  bool DoShellCopy(const std::string& from, const std::string& to) {
    auto source = Wide(from);
    auto target = Wide(to);
    if (!source || !target || !ExistsW(*source)) return false;
    // Trees go file by file: a file deep inside may be too long for the shell, and the copy
    // merges into an existing target as on every other system.
    if (IsLong(*source) || IsLong(*target) || IsDirectoryW(*source)) {
      return CopyTreeW(*source, *target) && FlushTreeW(*target);
    }
    MakeDirectoriesW(ParentOf(*target));
    return ShellOperation(FO_COPY, *source, *target) && FlushTreeW(*target);
  }

  NewFile CopyToNewFile(const std::string& from, const std::string& to,
                        std::optional<std::int64_t> modified) override {
    ::SetLastError(ERROR_SUCCESS);
    const NewFile made = DoCopyToNewFile(from, to, modified);
    lastError_ = made == NewFile::Failed ? FileErrorOf(::GetLastError()) : FileError::None;
    return made;
  }

  NewFile DoCopyToNewFile(const std::string& from, const std::string& to,
                          std::optional<std::int64_t> modified) {
    auto source = Wide(from);
    auto target = Wide(to);
    if (!source || !target) return NewFile::Failed;
    Handle in(OpenRegular(*source));
    FILETIME written{};
    if (!in.valid() || !::GetFileTime(in.get(), nullptr, nullptr, &written)) {
      return NewFile::Failed;
    }
    if (modified) {
      ULARGE_INTEGER ticks{};
      ticks.QuadPart = static_cast<ULONGLONG>(*modified / 100 + 116444736000000000LL);
      written = {ticks.LowPart, ticks.HighPart};
    }
    bool ok = false;
    {
      Handle out(::CreateFileW(target->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!out.valid()) {
        const DWORD error = ::GetLastError();
        // The system says so in several ways; an entry of that name is there in each.
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || ExistsW(*target)) {
          return NewFile::NameTaken;
        }
        return NewFile::Failed;
      }
      ok = true;
      char buffer[65536];
      for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr)) {
          ok = false;
          break;
        }
        if (got == 0) break;
        DWORD put = 0;
        if (!::WriteFile(out.get(), buffer, got, &put, nullptr) || put != got) {
          ok = false;
          break;
        }
      }
      ok = ok && ::SetFileTime(out.get(), nullptr, nullptr, &written) &&
           ::FlushFileBuffers(out.get());
    }
    if (!ok) {
      ::DeleteFileW(target->c_str());
      return NewFile::Failed;
    }
    return NewFile::Created;
  }

  bool ShellMove(const std::string& from, const std::string& to) override {
    ::SetLastError(ERROR_SUCCESS);
    const bool ok = DoShellMove(from, to);
    lastError_ = ok ? FileError::None : FileErrorOf(::GetLastError());
    return ok;
  }

  bool DoShellMove(const std::string& from, const std::string& to) {
    auto source = Wide(from);
    auto target = Wide(to);
    if (!source || !target || !ExistsW(*source)) return false;
    MakeDirectoriesW(ParentOf(*target));
    if (IsLong(*source) || IsLong(*target) || IsDirectoryW(*source)) {
      if (::MoveFileExW(
              source->c_str(), target->c_str(),
              MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
        return true;
      }
      return CopyTreeW(*source, *target) && FlushTreeW(*target) && DeleteTreeW(*source);
    }
    // A rename within a volume, or a copy and delete across volumes: the file is flushed where
    // it lands either way.
    return ShellOperation(FO_MOVE, *source, *target) && FlushTreeW(*target);
  }

  bool ShellDelete(const std::string& path) override {
    ::SetLastError(ERROR_SUCCESS);
    const bool ok = DoShellDelete(path);
    lastError_ = ok ? FileError::None : FileErrorOf(::GetLastError());
    return ok;
  }

  bool DoShellDelete(const std::string& path) {
    auto wide = Wide(path);
    if (!wide || !ExistsW(*wide)) return false;
    if (IsLong(*wide) || IsDirectoryW(*wide)) return DeleteTreeW(*wide) && !ExistsW(*wide);
    return ShellOperation(FO_DELETE, *wide, L"") && !ExistsW(*wide);
  }

  bool IsPlainPath(const std::string& path) override {
    const char letter = DriveLetterOf(path);
    if (letter == 0) return true;
    auto root = table_.RootOf(letter);
    auto wide = Wide(path);
    if (!wide) return false;
    const std::wstring base = FullPath(LongPath(root.value_or(std::string(1, letter) + ":\\")));
    const std::optional<std::wstring> below = Below(FullPath(*wide), base);
    if (!below) return false;
    std::wstring at = base;
    std::size_t start = 0;
    while (start < below->size()) {
      std::size_t end = below->find(L'\\', start);
      if (end == std::wstring::npos) end = below->size();
      if (at.back() != L'\\') at.push_back(L'\\');
      at.append(*below, start, end - start);
      const DWORD attributes = ::GetFileAttributesW(at.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) return true;
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
      start = end + 1;
    }
    return true;
  }

  std::optional<std::string> ResolveOnDrive(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide) return std::nullopt;
    const std::wstring full = FullPath(*wide);
    std::optional<std::string> best;
    std::size_t bestLength = 0;
    auto consider = [&](char letter, const std::wstring& base) {
      const std::optional<std::wstring> below = Below(full, base);
      if (!below || (best && base.size() <= bestLength)) return;
      std::string card = std::string(1, letter) + ":\\";
      if (!below->empty()) card += "\\" + Narrow(*below);
      best = card;
      bestLength = base.size();
    };
    for (const auto& [letter, root] : table_.Assigned()) consider(letter, FullPath(LongPath(root)));
    // A drive of the system itself stands for its own letter.
    if (!best && full.size() >= 3 && full[1] == L':') {
      const char letter = static_cast<char>(::towupper(full[0]));
      consider(letter, full.substr(0, 3));
    }
    return best;
  }

  std::optional<std::vector<std::string>> ListDirectory(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide || !IsDirectoryW(*wide)) return std::nullopt;
    auto children = ListChildren(*wide);
    if (!children) return std::nullopt;
    std::vector<std::string> names;
    for (const std::wstring& name : *children) names.push_back(Narrow(name));
    std::sort(names.begin(), names.end());
    return names;
  }

  // Nothing but the drive table, which does not change, is shared by two listings.
  bool ListsBeside() const override { return true; }

  std::optional<std::vector<DirectoryEntry>> ListFiles(const std::string& path) override {
    auto wide = Wide(path);
    if (!wide) return std::nullopt;
    std::wstring directory = *wide;
    while (directory.size() > 3 && directory.back() == L'\\') directory.pop_back();
    if (directory.back() != L'\\') directory += L'\\';
    // Names and what the directory knows of each file, many entries per call of the system,
    // with no short names asked for.
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileExW((directory + L"*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      DirectoryEntry entry{.name = Narrow(name)};
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        entry.type = FollowedEntry(directory + name, entry);
      } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        entry.type = DirectoryEntry::Type::Directory;
      } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0) {
        entry.type = DirectoryEntry::Type::File;
        entry.size = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        entry.modified = NanosecondsOf(data.ftLastWriteTime);
      }
      entries.push_back(std::move(entry));
    } while (::FindNextFileW(find, &data));
    const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(find);
    if (!complete) return std::nullopt;
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
  }

 private:
  std::optional<std::wstring> Wide(const std::string& path) const {
    if (path.empty()) return std::nullopt;
    auto native = table_.ToNative(path);
    if (!native) return std::nullopt;
    return LongPath(*native);
  }

  const DriveTable& table_;
  FileError lastError_ = FileError::None;
};

}  // namespace

std::unique_ptr<Files> MakeNativeFiles(const DriveTable& table) {
  return std::make_unique<Win32Files>(table);
}

}  // namespace sdmate
