// The JPEG markers up to the frame header, and the EXIF block's TIFF directories as far as the
// shot time: IFD0, then the EXIF directory it points to.
#include "card/jpeg_info.h"

#include <cstddef>
#include <cstdint>

namespace sdmate {
namespace {

constexpr std::uint16_t kExifPointer = 0x8769;
constexpr std::uint16_t kDateTimeOriginal = 0x9003;
constexpr std::uint16_t kAscii = 2;
constexpr std::size_t kTimeLength = 19;  // "YYYY:MM:DD hh:mm:ss"
constexpr std::size_t kEntryBytes = 12;

// Reads numbers of a TIFF block in its byte order; nothing past its end.
class TiffReader {
 public:
  TiffReader(std::string_view bytes, bool little) : bytes_(bytes), little_(little) {}

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && bytes_.size() - offset >= count;
  }
  std::optional<std::uint32_t> Number(std::size_t offset, std::size_t width) const {
    if (!Has(offset, width)) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const auto byte = static_cast<unsigned char>(bytes_[offset + (little_ ? width - 1 - i : i)]);
      value = (value << 8) | byte;
    }
    return value;
  }
  std::string_view Text(std::size_t offset, std::size_t count) const {
    return Has(offset, count) ? bytes_.substr(offset, count) : std::string_view();
  }

  // The offset of the 12-byte entry of a tag in the directory at `directory`; nothing when the
  // directory or the entry lies outside the block.
  std::optional<std::size_t> Entry(std::size_t directory, std::uint16_t tag) const {
    const std::optional<std::uint32_t> count = Number(directory, 2);
    if (!count) return std::nullopt;
    for (std::size_t i = 0; i < *count; ++i) {
      const std::size_t entry = directory + 2 + i * kEntryBytes;
      if (!Has(entry, kEntryBytes)) return std::nullopt;
      if (Number(entry, 2) == tag) return entry;
    }
    return std::nullopt;
  }

 private:
  std::string_view bytes_;
  bool little_;
};

std::optional<LocalTime> ShotTimeOfTiff(std::string_view tiff) {
  if (tiff.size() < 8) return std::nullopt;
  bool little = false;
  if (tiff.starts_with("II")) {
    little = true;
  } else if (!tiff.starts_with("MM")) {
    return std::nullopt;
  }
  const TiffReader reader(tiff, little);
  if (reader.Number(2, 2) != 42u) return std::nullopt;
  const std::optional<std::uint32_t> first = reader.Number(4, 4);
  if (!first) return std::nullopt;
  const std::optional<std::size_t> pointer = reader.Entry(*first, kExifPointer);
  if (!pointer) return std::nullopt;
  const std::optional<std::uint32_t> exif = reader.Number(*pointer + 8, 4);
  if (!exif) return std::nullopt;
  const std::optional<std::size_t> entry = reader.Entry(*exif, kDateTimeOriginal);
  if (!entry || reader.Number(*entry + 2, 2) != kAscii) return std::nullopt;
  const std::optional<std::uint32_t> count = reader.Number(*entry + 4, 4);
  if (!count || *count < kTimeLength) return std::nullopt;
  // Twenty bytes with the terminator never fit the entry itself: the value lies elsewhere.
  // The whole value the entry declares must lie in the block, not only the part that is read.
  const std::optional<std::uint32_t> at = reader.Number(*entry + 8, 4);
  if (!at || !reader.Has(*at, *count)) return std::nullopt;
  return ParseExifTime(reader.Text(*at, kTimeLength));
}

bool IsFrameMarker(unsigned marker) {
  // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

int DaysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<LocalTime> ParseExifTime(std::string_view text) {
  if (text.size() < kTimeLength) return std::nullopt;
  auto number = [&text](std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  // The separators are the standard's; a few cameras wrote dashes or slashes in the date.
  auto dateSeparator = [&text](std::size_t at) {
    return text[at] == ':' || text[at] == '-' || text[at] == '/';
  };
  if (!dateSeparator(4) || !dateSeparator(7) || (text[10] != ' ' && text[10] != 'T') ||
      text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  const LocalTime time{number(0, 4),  number(5, 2),  number(8, 2),
                       number(11, 2), number(14, 2), number(17, 2)};
  if (time.year < 1970 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > DaysIn(time.year, time.month) || time.hour < 0 || time.hour > 23 ||
      time.minute < 0 || time.minute > 59 || time.second < 0 || time.second > 59) {
    return std::nullopt;
  }
  return time;
}

JpegInfo ReadJpegInfo(std::string_view bytes) {
  JpegInfo info;
  auto byte = [&bytes](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]));
  };
  if (bytes.size() < 2 || byte(0) != 0xFF || byte(1) != 0xD8) return info;
  std::size_t at = 2;
  for (;;) {
    if (at >= bytes.size()) break;
    if (byte(at) != 0xFF) return info;                   // no marker where one must be
    while (at < bytes.size() && byte(at) == 0xFF) ++at;  // fill bytes
    if (at >= bytes.size()) break;
    const unsigned marker = byte(at++);
    // Markers without a length.
    if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    // The picture's data begins (or ends) before any frame header: no size to be had.
    if (marker == 0xDA || marker == 0xD9) return info;
    if (bytes.size() - at < 2) break;
    const std::size_t length = (byte(at) << 8) | byte(at + 1);
    if (length < 2) return info;
    const std::string_view data = bytes.substr(at + 2, length - 2);  // cut at the end of bytes
    if (IsFrameMarker(marker)) {
      if (data.size() < 5) break;
      info.height = static_cast<int>((byte(at + 3) << 8) | byte(at + 4));
      info.width = static_cast<int>((byte(at + 5) << 8) | byte(at + 6));
      return info;
    }
    if (marker == 0xE1 && !info.shot && data.starts_with(std::string_view("Exif\0\0", 6))) {
      info.shot = ShotTimeOfTiff(data.substr(6));
    }
    at += length;
  }
  info.truncated = true;
  return info;
}

}  // namespace sdmate
