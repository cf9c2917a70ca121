// Native paths on POSIX systems.
#include "platform/native_path.h"

#include "platform/drive_table.h"

namespace sdmate {

char NativeSeparator() { return '/'; }

std::optional<std::string> UnmappedDriveRoot(char) { return std::nullopt; }

SplitPath SplitNativePath(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {"", std::string(path)};
  return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

}  // namespace sdmate
