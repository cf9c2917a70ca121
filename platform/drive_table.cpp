// Drive letter mapping and model-path translation.
#include "platform/drive_table.h"

#include "platform/native_path.h"

namespace sdmate {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int SlotOf(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

}  // namespace

void DriveTable::Assign(char letter, std::string root) {
  int slot = SlotOf(letter);
  if (slot >= 0) roots_[static_cast<std::size_t>(slot)] = std::move(root);
}

void DriveTable::Clear() { roots_.fill({}); }

char DriveTable::MapFolder(const std::string& root) {
  for (int slot = 0; slot < 26; ++slot) {
    if (roots_[static_cast<std::size_t>(slot)] == root) return static_cast<char>('A' + slot);
  }
  for (int slot = 2; slot < 26; ++slot) {
    if (roots_[static_cast<std::size_t>(slot)].empty()) {
      roots_[static_cast<std::size_t>(slot)] = root;
      return static_cast<char>('A' + slot);
    }
  }
  return 0;
}

std::optional<std::string> DriveTable::RootOf(char letter) const {
  int slot = SlotOf(letter);
  if (slot < 0 || roots_[static_cast<std::size_t>(slot)].empty()) return std::nullopt;
  return roots_[static_cast<std::size_t>(slot)];
}

std::vector<std::pair<char, std::string>> DriveTable::Assigned() const {
  std::vector<std::pair<char, std::string>> assigned;
  for (int slot = 0; slot < 26; ++slot) {
    const std::string& root = roots_[static_cast<std::size_t>(slot)];
    if (!root.empty()) assigned.emplace_back(static_cast<char>('A' + slot), root);
  }
  return assigned;
}

std::optional<std::string> DriveTable::ToNative(std::string_view path) const {
  char letter = DriveLetterOf(path);
  if (letter == 0) return std::string(path);
  std::optional<std::string> root = RootOf(letter);
  if (!root) root = UnmappedDriveRoot(letter);
  if (!root) return std::nullopt;
  std::string native = *root;
  while (native.size() > 1 && IsSeparator(native.back())) native.pop_back();
  std::string_view rest = path.substr(2);
  std::size_t at = 0;
  while (at < rest.size()) {
    while (at < rest.size() && IsSeparator(rest[at])) ++at;
    std::size_t end = at;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    if (end > at) {
      if (native.empty() || !IsSeparator(native.back())) native.push_back(NativeSeparator());
      native.append(rest.substr(at, end - at));
    }
    at = end;
  }
  return native;
}

char DriveLetterOf(std::string_view path) {
  if (path.size() < 2 || path[1] != ':' || SlotOf(path[0]) < 0) return 0;
  return static_cast<char>('A' + SlotOf(path[0]));
}

}  // namespace sdmate
