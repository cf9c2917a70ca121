// Pictures and clips the media tests make for themselves: pictures with libvips from pixels the
// test writes, clips with the ffmpeg program; and what the tests read back from the results.
#pragma once

#include <vips/vips.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace sdmate::test {

// Pixels of an 8-bit picture, bands interleaved.
struct Pixels {
  int width = 0;
  int height = 0;
  int bands = 3;
  std::vector<unsigned char> bytes;

  Pixels(int w, int h, int b) : width(w), height(h), bands(b) {
    bytes.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) *
                 static_cast<std::size_t>(b));
  }
  unsigned char* at(int x, int y) {
    return bytes.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)) *
                              static_cast<std::size_t>(bands);
  }
};

// A picture with detail everywhere (gradients and a fine pattern) and its top-left quarter red.
Pixels MarkedPicture(int width, int height);
// Noise, which a JPEG cannot make small.
Pixels NoisePicture(int width, int height, unsigned seed = 1);

// The pixels saved by libvips in a format ("jpeg", "progressive-jpeg", "png", "webp", "heif",
// "gif"); nullopt when
// this libvips cannot write it. orientation 0: no EXIF orientation.
std::optional<std::string> SavePicture(const Pixels& pixels, const char* format, int quality = 90,
                                       int orientation = 0);
// Frames of the same size as one animated GIF.
std::optional<std::string> SaveAnimatedGif(const std::vector<Pixels>& frames);

// A picture read back: its size and its pixels as 8-bit sRGB.
struct Decoded {
  int width = 0;
  int height = 0;
  int bands = 0;
  std::vector<unsigned char> bytes;
  std::array<int, 3> Rgb(int x, int y) const;
};
std::optional<Decoded> DecodePicture(const std::string& bytes);

// The markers of a JPEG: the first frame marker (0xC0 is baseline), its size and the sampling
// factors of its components, and whether any APPn segment carries metadata (EXIF, XMP, ICC).
struct JpegFrame {
  int marker = 0;
  int width = 0;
  int height = 0;
  std::vector<int> sampling;  // H << 4 | V per component
  bool metadata = false;
};
std::optional<JpegFrame> ReadJpegFrame(const std::string& bytes);

// Runs a program found on the PATH; false when it is not there or failed.
bool RunTool(Processes& processes, const std::string& name, const std::vector<std::string>& args,
             std::string* output = nullptr);

}  // namespace sdmate::test
