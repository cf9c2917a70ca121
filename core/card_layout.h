// Where the handset keeps what on the card: the handset profile, the per-kind values and the
// functions that build table paths, folder directories and data file names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sdmate {

// The three kinds of content the program manages, always handled in this sequence.
enum class MediaKind { Image = 0, Movie = 1, Document = 2 };
inline constexpr std::array<MediaKind, 3> kAllKinds = {MediaKind::Image, MediaKind::Movie,
                                                       MediaKind::Document};
inline constexpr std::size_t IndexOf(MediaKind kind) { return static_cast<std::size_t>(kind); }

struct FileTypeRule {
  std::string extension;  // upper case, with the dot: ".JPG"
  std::int64_t maxBytes = 0;
};

struct ContentArea {
  std::string tablePathTemplate;    // "\PRIVATE\DOCOMO\TABLE\STILL\SUD#3F.TBL"
  std::string dataDirectory;        // "\PRIVATE\DOCOMO\STILL\"; empty: the handset lacks the area
  std::string prefix;               // data file name prefix: "STIL"
  int width = 0;                    // digits after the prefix
  std::vector<FileTypeRule> rules;  // at most kMaxFileTypeRules
};

inline constexpr std::size_t kMaxFileTypeRules = 16;

// The five areas of a handset, always in this order.
enum class AreaIndex { StandbyImage = 0, RingTone, Movie, CameraPicture, Document };

struct HandsetProfile {
  std::array<ContentArea, 5> areas;
  const ContentArea& area(AreaIndex index) const { return areas[static_cast<std::size_t>(index)]; }
};

// The one handset the program knows.
HandsetProfile N901iSProfile();

// Everything that differs between the three kinds, in one place. Texts shown to the user are
// UTF-8; texts written to the card are plain ASCII here.
struct KindTraits {
  MediaKind kind;
  AreaIndex area;
  const char* key;              // "image", "movie", "document": command line and JSON
  const char* controlSuffix;    // "Image", "Movie", "Document": control names of the window
  const char* directoryPrefix;  // "SUD", "PRL", "PUD"
  bool hexNumbers;              // folder and file numbers in upper-case hexadecimal
  int lastProbedFolder;         // load probes tables 1 .. this
  std::size_t stemWidth;        // stem field of a table entry: 8, movies 6
  // Status texts of the load and the update.
  const char* loadStatus;
  const char* tableStatus;
  const char* deleteStatus;
  const char* renameStatus;
  const char* copyStatus;
  const char* modelStatus;
  // Messages of the add and drop operations and of the folder delete.
  const char* notSupportedMessage;
  const char* missingDirectoryQuestion;
  const char* wrongTypeMessage;
  const char* folderDeleteQuestion;
  const char* dialogCaption;  // file type caption of the open-file dialog, with its "|"
  const char* tabText;
  const char* titleLabel;
};

const KindTraits& TraitsOf(MediaKind kind);
// The profile area of a kind in the program's handset profile.
const ContentArea& AreaOf(MediaKind kind);

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

// Card path of folder n's table: "E:\\PRIVATE\DOCOMO\TABLE\STILL\SUD001.TBL".
std::string TablePath(char drive, MediaKind kind, int n);
// The kind's table directory without trailing backslash: "E:\\PRIVATE\DOCOMO\TABLE\STILL".
std::string TableDirectory(char drive, MediaKind kind);
// Folder directory text as a table header holds it: "\PRIVATE\DOCOMO\STILL\SUD001".
std::string FolderDirectoryText(MediaKind kind, int n);
// Card directory of folder n as the model holds it: "E:\\PRIVATE\DOCOMO\STILL\SUD001\".
std::string CardFolderDirectory(char drive, MediaKind kind, int n);
// The kind's data directory on the card: "E:\\PRIVATE\DOCOMO\STILL\".
std::string CardDataDirectory(char drive, MediaKind kind);
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
// ASCII upper case; other bytes unchanged.
std::string AsciiUpper(std::string_view text);
// The first rule of the kind whose extension equals the upper-cased extension of name.
const FileTypeRule* RuleFor(MediaKind kind, std::string_view name);

}  // namespace sdmate
