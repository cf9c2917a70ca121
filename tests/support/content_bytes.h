// Files of each type as the staging tells them by their first bytes, made to a chosen size: a
// JPEG or GIF header with its pixel size, ISO media boxes of a brand, a PDF. What follows the
// header is filler; the fitters' tests make real pictures and clips.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace sdmate::test {

inline std::string Filled(std::string head, std::size_t size) {
  if (head.size() < size) head.resize(size, 'x');
  return head;
}

// A JPEG whose first segment is its frame header: baseline (SOF0) or progressive (SOF2).
inline std::string JpegBytes(std::size_t size, int width = 120, int height = 160,
                             bool baseline = true) {
  std::string head = "\xFF\xD8\xFF";
  head += baseline ? '\xC0' : '\xC2';
  head += std::string("\x00\x11\x08", 3);
  head += static_cast<char>(height >> 8);
  head += static_cast<char>(height & 0xFF);
  head += static_cast<char>(width >> 8);
  head += static_cast<char>(width & 0xFF);
  head += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  return Filled(head, size);
}

inline std::string GifBytes(std::size_t size, int width = 120, int height = 160) {
  std::string head = "GIF89a";
  head += static_cast<char>(width & 0xFF);
  head += static_cast<char>(width >> 8);
  head += static_cast<char>(height & 0xFF);
  head += static_cast<char>(height >> 8);
  return Filled(head, size);
}

inline std::string PngBytes(std::size_t size) { return Filled("\x89PNG\r\n\x1A\n", size); }

// ISO media with an ftyp box of the brand ("3gp6", "isom", "qt  ", "heic").
inline std::string IsoBytes(std::size_t size, const std::string& brand = "3gp6") {
  return Filled(std::string("\0\0\0\x14"
                            "ftyp",
                            8) +
                    brand + std::string("\0\0\0\0", 4) + brand,
                size);
}

inline std::string PdfBytes(std::size_t size) { return Filled("%PDF-1.4\n", size); }

// Bytes of the type a name's extension says (filler for a name of no such type), at least as
// many as the type's first bytes.
inline std::string BytesNamed(std::string_view name, std::size_t size) {
  std::string extension(name.substr(std::min(name.rfind('.'), name.size())));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".jpg" || extension == ".jpeg") return JpegBytes(size);
  if (extension == ".gif") return GifBytes(size);
  if (extension == ".png") return PngBytes(size);
  if (extension == ".mov") return IsoBytes(size, "qt  ");
  if (extension == ".3gp" || extension == ".mp4" || extension == ".m4a" || extension == ".sdv") {
    return IsoBytes(size);
  }
  if (extension == ".pdf") return PdfBytes(size);
  return std::string(size, 'x');
}

}  // namespace sdmate::test
