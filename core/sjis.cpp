// Shift-JIS scanning.
#include "core/sjis.h"

namespace sdmate {

ByteClass ClassifyByte(std::string_view text, std::size_t index) {
  std::size_t i = 0;
  while (i < text.size()) {
    bool lead = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    if (i == index) return lead ? ByteClass::Lead : ByteClass::Single;
    if (lead) {
      if (i + 1 == index) return ByteClass::Trail;
      i += 2;
    } else {
      ++i;
    }
  }
  return ByteClass::Single;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < maxBytes) {
    std::size_t step = IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > maxBytes) break;
    end += step;
  }
  return text.substr(0, end);
}

}  // namespace sdmate
