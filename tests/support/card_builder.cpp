// Card trees for the tests, and the test doubles.
#include "tests/support/card_builder.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>

#include "core/content_table.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace sdmate::test {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate =
        fs::temp_directory_path() / ("sdmate-test-" + std::to_string(random() % 100000000));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}

TempDir::~TempDir() {
  std::error_code error;
  // Tests make folders read-only to provoke failures; give the rights back before removing.
  for (fs::recursive_directory_iterator it(path_, error), end; !error && it != end;
       it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(path_, error);
}

Places TestPlaces(const TempDir& temp) {
  auto place = [&](const char* name) { return Utf8(temp.path() / name) + NativeSeparator(); };
  return {place("program"), place("current"), place("data"), place("history")};
}

fs::path CardBuilder::Native(const std::string& cardPath) const {
  fs::path result = root_;
  std::string part;
  for (char c : cardPath) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) result /= part;
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) result /= part;
  return result;
}

std::string CardBuilder::DefaultContent(const std::string& name) {
  return "content of " + name + "\n";
}

CardBuilder& CardBuilder::Folder(MediaKind kind, int n, const std::string& title,
                                 const std::vector<TableItem>& items,
                                 std::optional<std::string> headerDirectory) {
  std::string directory = headerDirectory.value_or(FolderDirectoryText(kind, n));
  std::string table = BuildTableHeader(directory, title, static_cast<int>(items.size()));
  for (const TableItem& item : items) {
    std::string content = item.content.value_or(DefaultContent(item.name));
    table += BuildTableEntry(kind, item.name, item.title, item.stamp,
                             static_cast<std::uint32_t>(content.size()));
    if (item.writeFile) WriteBytes(Native(directory + "\\" + item.name), content);
  }
  return RawTable(kind, n, table);
}

CardBuilder& CardBuilder::RawTable(MediaKind kind, int n, const std::string& bytes) {
  WriteBytes(Native(TablePath('X', kind, n).substr(2)), bytes);
  return *this;
}

CardBuilder& CardBuilder::File(const std::string& relative, const std::string& bytes) {
  WriteBytes(Native(relative), bytes);
  return *this;
}

CardBuilder& CardBuilder::Directory(const std::string& relative) {
  fs::create_directories(Native(relative));
  return *this;
}

std::string Utf8(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

void SetFolderTime(const fs::path& folder, fs::file_time_type when) {
#ifdef _WIN32
  // A folder opens for its attributes only with backup semantics.
  HANDLE handle = ::CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + Utf8(folder));
  const auto since1970 = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(when).time_since_epoch());
  // FILETIME counts 100 ns from 1601.
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(since1970.count()) + 11644473600ULL) * 10000000ULL;
  FILETIME time{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
  const bool set = ::SetFileTime(handle, nullptr, nullptr, &time) != 0;
  ::CloseHandle(handle);
  if (!set) throw std::runtime_error("cannot set the time of " + Utf8(folder));
#else
  fs::last_write_time(folder, when);
#endif
}

bool TryWriteBytes(const fs::path& path, const std::string& bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& [name, bytes] : SnapshotTree(root)) files.push_back(name);
  return files;
}

std::map<std::string, std::string> SnapshotTree(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).generic_string()] = ReadBytes(entry.path());
    }
  }
  return files;
}

Answer ScriptedFeedback::Ask(MessageKind kind, std::string_view text, Buttons buttons) {
  shown.push_back({kind, std::string(text), buttons});
  if (buttons == Buttons::Ok) return Answer::Ok;
  Answer answer = next_ < answers.size() ? answers[next_++] : defaultAnswer;
  if (buttons == Buttons::YesCancel && answer == Answer::No) answer = Answer::Cancel;
  if (buttons == Buttons::YesNo && answer == Answer::Cancel) answer = Answer::No;
  return answer;
}

std::vector<std::string> ScriptedFeedback::Texts() const {
  std::vector<std::string> texts;
  for (const Shown& item : shown) texts.push_back(item.text);
  return texts;
}

std::vector<DriveInfo> FakeDrives::List() {
  std::vector<DriveInfo> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (auto root = table_.RootOf(letter)) {
      const auto label = labels.find(*root);
      drives.push_back({letter, *root, type, label != labels.end() ? label->second : ""});
    }
  }
  return drives;
}

DriveType FakeDrives::TypeOf(char letter) {
  return table_.IsAssigned(letter) ? type : DriveType::NoRootDir;
}

std::int64_t FakeDrives::TotalBytes(char letter) { return table_.IsAssigned(letter) ? total : -1; }

std::int64_t FakeDrives::FreeBytes(char letter) { return table_.IsAssigned(letter) ? free : -1; }

bool FakeDrives::Refresh() {
  bool changed = false;
  for (auto at = mounted_.begin(); at != mounted_.end();) {
    if (std::find(mounts.begin(), mounts.end(), at->second) != mounts.end()) {
      ++at;
      continue;
    }
    table_.Assign(at->first, {});
    at = mounted_.erase(at);
    changed = true;
  }
  for (const std::string& folder : mounts) {
    const bool known = std::any_of(mounted_.begin(), mounted_.end(),
                                   [&folder](const auto& entry) { return entry.second == folder; });
    if (known) continue;
    if (const char letter = table_.MapFolder(folder)) {
      mounted_[letter] = folder;
      changed = true;
    }
  }
  return changed;
}

EjectResult FakeDrives::Eject(char letter) {
  ejected.push_back(letter);
  if (ejectResult.ejected) {
    table_.Assign(letter, {});
    mounted_.erase(letter);
  }
  return ejectResult;
}

bool FailingFiles::Fails(const std::string& a, const std::string& b, bool readOnlyFirst) {
  failedLast_ = FailsNow(a, b, readOnlyFirst);
  return failedLast_;
}

bool FailingFiles::FailsNow(const std::string& a, const std::string& b, bool readOnlyFirst) {
  // Only the card's operations fail (and count): the computer's folders, the history among
  // them, are another disk.
  auto onCard = [&](const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           (path[0] == cardDrive || path[0] == cardDrive + 32);
  };
  // A copy from the card into the computer's folders (a backup, the history) only reads the
  // card: it fails for the place it writes to.
  const bool readsTheCard = readOnlyFirst && !onCard(b);
  if (!failPathContaining.empty() &&
      ((!readsTheCard && a.find(failPathContaining) != std::string::npos) ||
       b.find(failPathContaining) != std::string::npos)) {
    return true;
  }
  if ((!onCard(a) && !onCard(b)) || readsTheCard) return false;
  ++operations;
  return failAt > 0 && (operations == failAt || (failFrom && operations > failAt));
}

}  // namespace sdmate::test
