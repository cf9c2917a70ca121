// Native paths of the computer taken apart without assuming the separator.
#pragma once

#include <string>
#include <string_view>

namespace sdmate {

struct SplitPath {
  std::string directory;  // with its trailing separator
  std::string name;
};

SplitPath SplitNativePath(std::string_view path);
// The local date and time now as "yyyymmdd-hhnnss", the name of a backup folder.
std::string LocalBackupStamp();
// The folder of the running executable, with its trailing separator.
std::string ExecutableDirectory();

}  // namespace sdmate
