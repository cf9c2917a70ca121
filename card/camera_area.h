// The handset's camera pictures: the folders of the camera file system under DCIM and the
// pictures the handset's camera named in them, each with the time it was taken, its size and its
// pixel size. The program only reads them: the handset keeps its own table of them, and no
// commit, undo or repair touches the area.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/handset_profile.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace sdmate {

struct CameraPicture {
  std::string name;  // as on the card: "NEC_0001.JPG"
  std::string path;  // its card path
  int number = 0;    // the number in its name, 1 .. 9999
  std::int64_t size = 0;
  LocalTime shot;             // when it was taken: the camera's own time, else the file's
  bool shotFromExif = false;  // shot is the camera's time (EXIF DateTimeOriginal)
  std::optional<std::int64_t> modified;  // the file's time (nanoseconds since 1970, UTC)
  int width = 0;                         // pixels; 0 when the file holds no frame header
  int height = 0;
};

struct CameraFolder {
  std::string name;                     // "100NECDT"
  int number = 0;                       // 100 .. 999
  std::string directory;                // its card path, with the trailing backslash
  std::vector<CameraPicture> pictures;  // by number
};

struct CameraArea {
  std::vector<CameraFolder> folders;  // by number, then name; folders without pictures left out
  bool listed = false;                // the area was read (a card without DCIM lists nothing)

  std::size_t pictureCount() const {
    std::size_t count = 0;
    for (const CameraFolder& folder : folders) count += folder.pictures.size();
    return count;
  }
};

// A folder of the camera file system: three digits 100 to 999, then five letters, digits or
// underscores ("100NECDT"). Letters in either case: a FAT card may show its short names so.
bool IsCameraFolderName(std::string_view name);
// The number of a file the handset's camera named (the area's prefix, its width of digits from
// 1, an accepted extension, letters in either case): "NEC_0001.JPG" is 1; 0 for any other name.
int CameraPictureNumber(std::string_view name, const ContentArea& area);

// The camera area of the card in a drive, read through files (its links not followed); file
// times in local time through the clock.
CameraArea ListCameraArea(char drive, Files& files, Clock& clock);

}  // namespace sdmate
