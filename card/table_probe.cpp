// Finding the tables of a kind and the directory each names.
#include "card/table_probe.h"

#include <algorithm>

#include "core/card_guard.h"

namespace sdmate {

int ProbeTables(char drive, MediaKind kind, Files& files,
                const std::function<bool(FoundTable&)>& visit,
                const std::function<bool(int)>& keep) {
  const int last = TraitsOf(kind).lastProbedFolder;
  int n = 1;
  for (; n <= last; ++n) {
    FoundTable found{.number = n, .path = TablePath(drive, kind, n)};
    found.kept = keep && keep(n);
    if (!found.kept) {
      // Read at once; only a table that cannot be read is asked whether it is there at all (a
      // folder, a pipe or a file the system refuses is there, and cannot be read).
      found.bytes = files.ReadFile(found.path, kLargestTableRead);
      if (!found.bytes && !files.Exists(found.path)) break;
    }
    if (!visit(found)) return n + 1;
  }
  return n;
}

// "SUD001", "PRL00A": a folder directory of the handset.
bool IsFolderDirectoryName(MediaKind kind, std::string_view name) {
  std::string_view prefix = TraitsOf(kind).directoryPrefix;
  return name.size() == prefix.size() + 3 && name.starts_with(prefix) &&
         NumberOfText(kind, name.substr(prefix.size())) >= 0;
}

// The folder number of a table file name ("SUD004.TBL" -> 4), or 0.
int TableNumberOf(MediaKind kind, std::string_view name) {
  std::string_view prefix = TraitsOf(kind).directoryPrefix;
  if (name.size() != prefix.size() + 7 || !name.starts_with(prefix)) return 0;
  const int number = NumberOfText(kind, name.substr(prefix.size(), 3));
  return number > 0 && TableFileName(kind, number) == name ? number : 0;
}

std::vector<int> TablesAfterGap(char drive, MediaKind kind, Files& files, int gap) {
  std::vector<int> numbers;
  for (const std::string& name :
       files.ListDirectory(TableDirectory(drive, kind)).value_or(std::vector<std::string>{})) {
    if (const int number = TableNumberOf(kind, name); number > gap) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool IsHandsetFileName(MediaKind kind, std::string_view name) {
  const std::string_view prefix = AreaOf(kind).prefix;
  const std::string_view stem = StemOf(name);
  const std::string_view extension = ExtensionOf(name);
  const std::size_t width =
      TraitsOf(kind).hexNumbers ? 3 : static_cast<std::size_t>(AreaOf(kind).width);
  if (!stem.starts_with(prefix) || stem.size() != prefix.size() + width) return false;
  if (NumberOfText(kind, stem.substr(prefix.size())) < 0) return false;
  if (extension.size() < 2 || extension.size() > 4) return false;
  for (char c : extension.substr(1)) {
    if (!IsAsciiLetterOrDigit(c)) return false;
  }
  return true;
}

FilesDirectory FilesDirectoryOf(char drive, MediaKind kind, int n, const ContentTable& table) {
  if (IsTrustedDirectoryText(kind, table.directoryText)) {
    return {CardRoot(drive) + table.directoryText + "\\", true};
  }
  return {CardFolderDirectory(drive, kind, n), false};
}

}  // namespace sdmate
