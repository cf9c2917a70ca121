// Finding the tables of a kind and the directory each names.
#include "card/table_probe.h"

#include "core/card_guard.h"

namespace sdmate {

int ProbeTables(char drive, MediaKind kind, Files& files,
                const std::function<bool(const FoundTable&)>& visit) {
  const int last = TraitsOf(kind).lastProbedFolder;
  int n = 1;
  for (; n <= last; ++n) {
    FoundTable found{.number = n, .path = TablePath(drive, kind, n)};
    if (!files.Exists(found.path)) break;
    if (!files.IsDirectory(found.path)) found.bytes = files.ReadFile(found.path, kLargestTableRead);
    if (!visit(found)) return n + 1;
  }
  return n;
}

FilesDirectory FilesDirectoryOf(char drive, MediaKind kind, int n, const ContentTable& table) {
  if (IsTrustedDirectoryText(kind, table.directoryText)) {
    return {CardRoot(drive) + table.directoryText + "\\", true};
  }
  return {CardFolderDirectory(drive, kind, n), false};
}

}  // namespace sdmate
