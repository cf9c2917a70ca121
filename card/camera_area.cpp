// Listing the camera area: its folders and pictures by name, then each picture's head read for
// its shot time and pixel size.
#include "card/camera_area.h"

#include <algorithm>
#include <tuple>

#include "card/jpeg_info.h"
#include "core/ascii.h"
#include "core/card_layout.h"

namespace sdmate {
namespace {

// The camera's EXIF block and the tables that follow it sit in the first few kilobytes; a file
// whose frame header lies further on is read again, further.
constexpr std::size_t kHeadBytes = std::size_t{128} * 1024;
constexpr std::size_t kLongHeadBytes = std::size_t{1024} * 1024;

bool IsFreeCharacter(char c) { return IsAsciiLetterOrDigit(c) || c == '_'; }

const ContentArea& CameraProfileArea() {
  static const HandsetProfile profile = N901iSProfile();
  return profile.area(AreaIndex::CameraPicture);
}

CameraPicture ReadPicture(const std::string& directory, const std::string& name, int number,
                          Files& files, Clock& clock) {
  CameraPicture picture;
  picture.name = name;
  picture.path = directory + name;
  picture.number = number;
  picture.size = std::max<std::int64_t>(0, files.FileSizeOf(picture.path));
  picture.modified = files.ModifiedTime(picture.path);
  JpegInfo info = ReadJpegInfo(files.ReadFile(picture.path, kHeadBytes).value_or(""));
  if (info.truncated && picture.size > static_cast<std::int64_t>(kHeadBytes)) {
    info = ReadJpegInfo(files.ReadFile(picture.path, kLongHeadBytes).value_or(""));
  }
  picture.width = info.width;
  picture.height = info.height;
  if (info.shot) {
    picture.shot = *info.shot;
    picture.shotFromExif = true;
  } else if (picture.modified) {
    // Whole seconds, rounded down also before 1970.
    const std::int64_t ns = *picture.modified;
    picture.shot = clock.LocalTimeOf(ns / 1000000000 - (ns % 1000000000 < 0 ? 1 : 0));
  }
  return picture;
}

}  // namespace

bool IsCameraFolderName(std::string_view name) {
  if (name.size() != 8 || !IsAsciiDigit(name[0]) || !IsAsciiDigit(name[1]) ||
      !IsAsciiDigit(name[2]) || name[0] == '0') {
    return false;
  }
  return std::all_of(name.begin() + 3, name.end(), IsFreeCharacter);
}

int CameraPictureNumber(std::string_view name, const ContentArea& area) {
  const std::string upper = AsciiUpper(name);
  const std::string_view extension = ExtensionOf(upper);
  const bool accepted =
      std::any_of(area.rules.begin(), area.rules.end(),
                  [&](const FileTypeRule& rule) { return rule.extension == extension; });
  const auto width = static_cast<std::size_t>(area.width);
  if (!accepted || area.width <= 0 ||
      upper.size() != area.prefix.size() + width + extension.size() ||
      !upper.starts_with(AsciiUpper(area.prefix))) {
    return 0;
  }
  int number = 0;
  for (std::size_t i = area.prefix.size(); i < area.prefix.size() + width; ++i) {
    if (!IsAsciiDigit(upper[i])) return 0;
    number = number * 10 + (upper[i] - '0');
  }
  return number;
}

CameraArea ListCameraArea(char drive, Files& files, Clock& clock) {
  CameraArea area;
  area.listed = true;
  const ContentArea& profile = CameraProfileArea();
  const std::string root = CardRoot(drive) + AreaRootOf(profile);
  // A link on the card may lead anywhere on the computer: it is not followed.
  if (!files.IsPlainPath(root)) return area;
  for (const std::string& folderName :
       files.ListDirectory(root).value_or(std::vector<std::string>())) {
    if (!IsCameraFolderName(folderName)) continue;
    CameraFolder folder;
    folder.name = folderName;
    folder.number = std::stoi(folderName.substr(0, 3));
    folder.directory = root + folderName + "\\";
    if (!files.IsDirectory(folder.directory) || !files.IsPlainPath(folder.directory)) continue;
    for (const std::string& name :
         files.ListDirectory(folder.directory).value_or(std::vector<std::string>())) {
      const int number = CameraPictureNumber(name, profile);
      const std::string path = folder.directory + name;
      if (number == 0 || files.IsDirectory(path) || !files.IsPlainPath(path)) continue;
      folder.pictures.push_back(ReadPicture(folder.directory, name, number, files, clock));
    }
    if (folder.pictures.empty()) continue;
    std::stable_sort(folder.pictures.begin(), folder.pictures.end(),
                     [](const CameraPicture& a, const CameraPicture& b) {
                       return std::tie(a.number, a.name) < std::tie(b.number, b.name);
                     });
    area.folders.push_back(std::move(folder));
  }
  std::stable_sort(area.folders.begin(), area.folders.end(),
                   [](const CameraFolder& a, const CameraFolder& b) {
                     return std::tie(a.number, a.name) < std::tie(b.number, b.name);
                   });
  return area;
}

}  // namespace sdmate
