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

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// directory, a separator unless it already ends with one, and name: a name inside a folder of
// the computer. An empty name gives the directory with its trailing separator.
inline std::string JoinNativePath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != kNativeSeparator && path.back() != '/') {
    path.push_back(kNativeSeparator);
  }
  path.append(name);
  return path;
}

}  // namespace sdmate
