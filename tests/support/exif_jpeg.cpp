// The bytes of a camera picture: SOI, APP1 "Exif" with IFD0 pointing to the EXIF directory that
// holds DateTimeOriginal, SOF0, SOS with the data, EOI.
#include "tests/support/exif_jpeg.h"

#include <cstdint>

namespace sdmate::test {
namespace {

class Writer {
 public:
  explicit Writer(bool bigEndian) : big_(bigEndian) {}
  void Number(std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
      const int shift = 8 * (big_ ? width - 1 - i : i);
      bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
  }
  void Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    Number(tag, 2);
    Number(type, 2);
    Number(count, 4);
    Number(value, 4);
  }
  std::string bytes;

 private:
  bool big_;
};

std::string Segment(unsigned char marker, const std::string& data) {
  const std::size_t length = data.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         data;
}

}  // namespace

std::string CameraJpeg(const CameraShot& shot) {
  std::string jpeg = "\xFF\xD8";
  if (shot.shot) {
    Writer tiff(shot.bigEndian);
    tiff.bytes = shot.bigEndian ? "MM" : "II";
    tiff.Number(42, 2);
    tiff.Number(8, 4);
    // IFD0: one entry, the EXIF directory's place (8 + 2 + 12 + 4 = 26).
    tiff.Number(1, 2);
    tiff.Entry(0x8769, 4, 1, 26);
    tiff.Number(0, 4);
    // The EXIF directory: DateTimeOriginal, its text after the directory (26 + 2 + 12 + 4).
    const std::string text = *shot.shot + std::string(1, '\0');
    tiff.Number(1, 2);
    tiff.Entry(0x9003, 2, static_cast<std::uint32_t>(text.size()), 44);
    tiff.Number(0, 4);
    tiff.bytes += text;
    jpeg += Segment(0xE1, std::string("Exif\0\0", 6) + tiff.bytes);
  }
  const std::string frame = {8,
                             static_cast<char>(shot.height >> 8),
                             static_cast<char>(shot.height & 0xFF),
                             static_cast<char>(shot.width >> 8),
                             static_cast<char>(shot.width & 0xFF),
                             1,
                             1,
                             0x11,
                             0};
  jpeg += Segment(0xC0, frame);
  jpeg += Segment(0xDA, std::string{1, 1, 0, 0, 0x3F, 0});
  return jpeg + shot.data + "\xFF\xD9";
}

}  // namespace sdmate::test
