// What the program reads from the head of a camera picture: its pixel size from the JPEG frame
// header, and the time it was taken from the EXIF block the camera wrote (DateTimeOriginal).
// The bytes are the card's and may be anything: every length and offset they hold is checked
// against the bytes there are, and no loop follows an offset twice.
#pragma once

#include <optional>
#include <string_view>

#include "platform/clock.h"

namespace sdmate {

struct JpegInfo {
  int width = 0;  // 0 when no frame header was found
  int height = 0;
  std::optional<LocalTime> shot;  // when the camera wrote a real date
  // The bytes ended before the frame header: more of the file may still tell the size.
  bool truncated = false;
};

JpegInfo ReadJpegInfo(std::string_view bytes);

// An EXIF date and time, "YYYY:MM:DD hh:mm:ss"; nothing for a text that is no real time (the
// blanks or zeros a camera writes when its clock was not set).
std::optional<LocalTime> ParseExifTime(std::string_view text);

}  // namespace sdmate
