// Camera pictures made in the tests: a JPEG's markers as a camera writes them (an EXIF block
// with the shot time, the frame header with the pixel size), with a few bytes of picture data.
#pragma once

#include <optional>
#include <string>

namespace sdmate::test {

struct CameraShot {
  int width = 160;
  int height = 120;
  std::optional<std::string> shot = "2005:03:03 14:07:31";  // DateTimeOriginal; none: no EXIF
  bool bigEndian = false;        // the TIFF block's byte order ("MM"; cameras write either)
  std::string data = "picture";  // bytes of the picture data, to tell pictures apart
};

std::string CameraJpeg(const CameraShot& shot = {});

}  // namespace sdmate::test
