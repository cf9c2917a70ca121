// Joining native paths, the same on every system but for the separator.
#include "platform/native_path.h"

namespace sdmate {

std::string JoinNativePath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != NativeSeparator() && path.back() != '/') {
    path.push_back(NativeSeparator());
  }
  path.append(name);
  return path;
}

}  // namespace sdmate
