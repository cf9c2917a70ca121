// Where the handset keeps what on the card: the functions that build table paths, folder
// directories and data file names, and the capacities of a kind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ascii.h"
#include "core/handset_profile.h"
#include "core/kind_traits.h"

namespace sdmate {

inline constexpr int kMaxFolders = 127;         // folder numbers 1 .. 127
inline constexpr int kMaxItems = 128;           // item slots of a folder, deleted ones included
inline constexpr int kMaxRemovedFolders = 128;  // removed folders a kind remembers

// n modulo 10^width with leading zeros to width digits; width zeros for a negative n; the
// empty text for a width outside 2 .. 5.
std::string PadNumber(std::int64_t n, int width);

// Folder number text: three decimal digits, for movies three upper-case hexadecimal digits.
std::string FolderNumberText(MediaKind kind, int n);
// File number text: images four decimal digits, movies three hexadecimal, documents three.
std::string FileNumberText(MediaKind kind, int p);
// The number a folder or file number text stands for ("00A" is 10 for movies), or -1 when the
// text is not a number text of the kind.
int NumberOfText(MediaKind kind, std::string_view digits);

// Card path of folder n's table: "E:\\PRIVATE\DOCOMO\TABLE\STILL\SUD001.TBL".
std::string TablePath(char drive, MediaKind kind, int n);
// The table's file name alone: "SUD001.TBL".
std::string TableFileName(MediaKind kind, int n);
// The kind's table directory without trailing backslash: "E:\\PRIVATE\DOCOMO\TABLE\STILL".
std::string TableDirectory(char drive, MediaKind kind);
// Folder directory text as a table header holds it: "\PRIVATE\DOCOMO\STILL\SUD001".
std::string FolderDirectoryText(MediaKind kind, int n);
// Card directory of folder n as the model holds it: "E:\\PRIVATE\DOCOMO\STILL\SUD001\".
std::string CardFolderDirectory(char drive, MediaKind kind, int n);
// The kind's data directory on the card: "E:\\PRIVATE\DOCOMO\STILL\".
std::string CardDataDirectory(char drive, MediaKind kind);
// The drive letter a card path begins with ("E:..."), upper-cased; 0 for a path without one.
char CardDriveOf(std::string_view path);
// The card root of a drive: "E:\".
std::string CardRoot(char drive);
// Prefix + number text of p: "STIL0001", "MOL00A".
std::string DataFileStem(MediaKind kind, int p);
// Prefix + number text of p + extension (kept as given): "STIL0001.JPG".
std::string DataFileName(MediaKind kind, int p, std::string_view extension);
// Default title of an added folder: prefix + three decimal digits, also for movies (PRL010).
std::string DefaultFolderTitle(MediaKind kind, int n);

// The extension of a name: from its last dot on, "" when there is none.
std::string_view ExtensionOf(std::string_view name);
// The part of a name before its last dot.
std::string_view StemOf(std::string_view name);
// The first rule of the kind whose extension equals the upper-cased extension of name.
const FileTypeRule* RuleFor(MediaKind kind, std::string_view name);

}  // namespace sdmate
