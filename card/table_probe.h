// How the load finds a kind's tables and the directory each names: the one reading of the card's
// tables that the load and the check share.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content_table.h"
#include "platform/files.h"

namespace sdmate {

// One table of a kind as the probe finds it.
struct FoundTable {
  int number = 0;                    // the folder number, from 1
  std::string path;                  // its card path
  std::optional<std::string> bytes;  // nullopt: the table exists but cannot be read
  bool kept = false;  // the caller keeps what it read of this table before: not looked at
};

// Visits the kind's tables 1, 2, 3, ... in order, up to the kind's last probed number, until
// the first number that has no table; visit returns false to stop early. Returns the number
// after the last table visited: the first missing one, where the handset's list of the kind
// ends. The visitor may take the bytes. keep (when given) names the tables the caller knows
// already: they are visited as kept, without looking at the card.
int ProbeTables(char drive, MediaKind kind, Files& files,
                const std::function<bool(FoundTable&)>& visit,
                const std::function<bool(int)>& keep = {});

// "SUD001", "PRL00A": a folder directory name of the kind.
bool IsFolderDirectoryName(MediaKind kind, std::string_view name);
// The folder number of a table file name ("SUD004.TBL" -> 4), or 0.
int TableNumberOf(MediaKind kind, std::string_view name);
// The numbers of the kind's tables after the first missing one (gap), in ascending order: tables
// the load never reaches.
std::vector<int> TablesAfterGap(char drive, MediaKind kind, Files& files, int gap);
// "STIL0009.JPG", "MOL00A.3GP": a name the handset gives the kind's data files.
bool IsHandsetFileName(MediaKind kind, std::string_view name);

// Where the files of folder n are, as its table says: the header's directory when it is a plain
// path below the kind's data directory, else the folder's own. A card directory with its
// trailing backslash ("E:\\PRIVATE\DOCOMO\STILL\SUD001\").
struct FilesDirectory {
  std::string directory;
  bool trusted = true;  // false: the header named another place, which is not used
};
FilesDirectory FilesDirectoryOf(char drive, MediaKind kind, int n, const ContentTable& table);

}  // namespace sdmate
