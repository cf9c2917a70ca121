// ASCII upper-casing.
#include "core/ascii.h"

namespace sdmate {

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = UpperLetter(c);
  }
  return result;
}

}  // namespace sdmate
