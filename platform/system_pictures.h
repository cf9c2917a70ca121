// Pictures decoded by what the operating system offers, for the formats the window's own reader
// does not know: HEIF (HEIC, as phones save their photos) through libheif on Linux, and on
// Windows through the Windows Imaging Component, which reads HEIF once the system's HEIF
// extension is installed (and always JPEG, PNG, GIF, BMP and TIFF).
//
// The bytes are untrusted: damaged bytes, a picture of more than the given pixel count, or a
// format the system cannot decode give nullopt, never a crash and never a part of a picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sdmate {

// 8-bit RGBA, four bytes a pixel, rows top to bottom without padding, not premultiplied.
struct SystemPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  // The picture's ICC colour profile as the file holds it; empty for sRGB, or where the system
  // gives none (Windows).
  std::string iccProfile;
};

// The first picture of the bytes, upright: the rotation and mirroring the file states are
// applied (HEIF's irot and imir; on Windows the orientation the system reports). Nothing else
// turns it again: an EXIF orientation inside a HEIF describes the same turn.
// Linux decodes only HEIF; Windows any format it has a codec for.
std::optional<SystemPicture> DecodeWithSystem(std::string_view bytes, std::uint64_t maxPixels);

// Whether this system can decode HEIF (HEVC-coded) pictures at all: without libheif, or on a
// Windows without the HEIF extension, it cannot.
bool SystemDecodesHeif();

// The picture as shown by an EXIF orientation (1 as stored, 2 mirrored, 3 half a turn, 4 upside
// down mirrored, 5 transposed, 6 a quarter turn clockwise, 7 transversed, 8 a quarter turn
// anticlockwise); any other value leaves it as stored.
SystemPicture Oriented(SystemPicture picture, int orientation);

}  // namespace sdmate
