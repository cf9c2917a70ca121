// Native paths of the computer taken apart and put together without assuming the separator.
#pragma once

#include <string>
#include <string_view>

namespace sdmate {

// The separator of native paths: "/" on POSIX systems, "\" on Windows.
char NativeSeparator();

struct SplitPath {
  std::string directory;  // with its trailing separator
  std::string name;
};

SplitPath SplitNativePath(std::string_view path);

// directory, a separator unless it already ends with one, and name: a name inside a folder of
// the computer. An empty name gives the directory with its trailing separator.
std::string JoinNativePath(std::string_view directory, std::string_view name);

}  // namespace sdmate
