// Typed titles.
#include "editing/titles.h"

namespace sdmate {

std::string TitleBytes(TextCodec& codec, std::string_view stored, std::string_view typedUtf8) {
  if (codec.ToUtf8(stored) == typedUtf8) return std::string(stored);
  return codec.FromUtf8(typedUtf8);
}

}  // namespace sdmate
