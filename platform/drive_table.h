// Drive letters for the places the program works on. The model holds card paths with a drive
// letter ("E:\\PRIVATE\..."); this table says which folder of the computer each letter stands
// for, and turns such a path into a native one at the last moment.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sdmate {

class DriveTable {
 public:
  // Letter (A-Z, any case) to the native root folder it stands for.
  void Assign(char letter, std::string root);
  void Clear();
  // The letter a folder is already mapped to, or the next free letter from C on that it gets
  // now; 0 when every letter is taken.
  char MapFolder(const std::string& root);
  std::optional<std::string> RootOf(char letter) const;
  // Every letter that stands for a folder, with that folder, in letter order.
  std::vector<std::pair<char, std::string>> Assigned() const;
  bool IsAssigned(char letter) const { return RootOf(letter).has_value(); }

  // A path with a drive letter ("E:\\SD_VIDEO\PRL001\") becomes root + the rest with native
  // separators, doubled separators collapsed and a trailing separator dropped. A path of the
  // computer without a drive letter is returned as it is. A drive letter that stands for
  // nothing gives nullopt.
  std::optional<std::string> ToNative(std::string_view path) const;

 private:
  std::array<std::string, 26> roots_;
};

// The root of a drive letter the table does not map: on Windows the system's own drive ("E:"),
// elsewhere none.
std::optional<std::string> UnmappedDriveRoot(char letter);

// The drive letter a path begins with ("E:..."), upper-cased, or 0.
char DriveLetterOf(std::string_view path);

}  // namespace sdmate
