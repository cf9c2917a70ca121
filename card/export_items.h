// Export: files of the card copied into folders of the computer under names people read (items by
// their titles, camera pictures by the time they were taken), movies made playable on today's
// computers on request. The card is only read. Each file is created new: a name the destination's
// file system already holds is never replaced; it is skipped when it holds the same bytes, and
// the next number is taken otherwise, so an export run twice into one folder adds nothing twice.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "card/camera_area.h"
#include "core/card_model.h"
#include "core/feedback.h"
#include "import/movie_converter.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/scratch_folder.h"
#include "platform/text_codec.h"

namespace sdmate {

// The file name a title gives an item's file: the title (UTF-8) with the characters a file
// name cannot hold on Windows or POSIX (\ / : * ? " < > | and control characters) made "_",
// outer spaces and trailing dots dropped, a name Windows reserves ("CON", "LPT1") followed by
// "_", and the extension of the item's file name; the file name itself when the title leaves
// nothing.
std::string ExportFileName(std::string_view titleUtf8, std::string_view fileName);
// The name of a camera picture: the time it was taken and its extension in lower case,
// "2005-03-03 14-07-31.jpg".
std::string ShotFileName(const LocalTime& shot, std::string_view fileName);
// The folder of a card's folder in an export of the whole card: its number and title,
// "001 風景"; the number alone when the title leaves nothing.
std::string ExportFolderName(int number, std::string_view titleUtf8);
// The n-th name for a file when the first is taken: "stem (n).ext" (n from 2).
std::string NumberedName(std::string_view name, int n);

struct ExportOptions {
  bool convertMovies = false;  // movies today's players refuse go as MP4 (H.264, AAC)
};

// What an export of the whole card takes: some of the three kinds and the camera pictures.
struct ExportParts {
  std::array<bool, 3> kinds = {true, true, true};
  bool camera = true;

  static ExportParts Only(MediaKind kind) {
    ExportParts parts{{false, false, false}, false};
    parts.kinds[IndexOf(kind)] = true;
    return parts;
  }
  static ExportParts CameraOnly() { return {{false, false, false}, true}; }
};

// One file of an export.
struct ExportFile {
  std::string source;  // a card path (or, for an item staged from the computer, its native path)
  std::string folder;  // the native folder it goes into
  std::string name;    // the name it is given there, before any number
  bool movie = false;  // converted when asked
};

// A file the export did not write as asked, and why (a text of export_messages.h).
struct ExportNote {
  std::string source;  // native path of the card file
  std::string target;  // native path in the destination, where one was concerned
  std::string reason;
};

struct ExportResult {
  bool ran = false;  // false: refused before any file (the destination is the card's)
  std::vector<std::string> written;  // native paths written, in order
  std::int64_t bytes = 0;            // bytes written
  int converted = 0;                 // movies written converted
  std::vector<ExportNote> same;      // not written: the same bytes were there under the name
  std::vector<ExportNote> asIs;      // movies written unconverted although asked, with why
  std::vector<ExportNote> failed;    // not written, with why
  std::size_t notReached = 0;        // files not tried because the user stopped the export
  bool cancelled = false;
};

// What an export works through.
struct ExportServices {
  MovieConverter* movies = nullptr;  // none: movies go as they are
  ScratchFolder* folder = nullptr;   // where converted movies wait until they are copied
};

struct ExportContext {
  Files& files;
  Drives& drives;
  Feedback& feedback;
  ExportServices services;
  char cardDrive = 0;  // the loaded card: no export writes below its folder
};

// The files of a folder's visible items (the given list rows, from 1; all when none), named by
// their titles, into folder.
std::vector<ExportFile> PlanFolderExport(const FolderSlot& slot, MediaKind kind,
                                         const std::vector<int>& rows, const std::string& folder,
                                         TextCodec& codec);
// The pictures of a camera folder (the given indexes, from 1; all when none), named by the time
// they were taken, into folder.
std::vector<ExportFile> PlanCameraExport(const CameraFolder& camera, const std::vector<int>& rows,
                                         const std::string& folder);
// Everything of the card the parts name, into destination/<kind>/<folder>/.
std::vector<ExportFile> PlanCardExport(const CardModel& model, const CameraArea& camera,
                                       const ExportParts& parts, const std::string& destination,
                                       TextCodec& codec);

// Copies the planned files (converting movies on request), with progress per file and 中止
// between files, and tells the user the summary: files, bytes, conversions, skips and failures.
ExportResult RunExport(const std::vector<ExportFile>& plan, const std::string& destination,
                       const ExportOptions& options, ExportContext& context);

}  // namespace sdmate
