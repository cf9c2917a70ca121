// ASCII case rules of the card's file system and its drive letters: FAT compares names without
// regard to the case of ASCII letters, and leaves every other byte as it is.
#pragma once

#include <string>
#include <string_view>

namespace sdmate {

// The upper-case form of an ASCII letter; 0 for any other byte.
constexpr char UpperLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return c;
  return 0;
}

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiLetterOrDigit(char c) { return UpperLetter(c) != 0 || IsAsciiDigit(c); }

// ASCII letters upper-cased; other bytes (Shift-JIS among them) unchanged.
std::string AsciiUpper(std::string_view text);

}  // namespace sdmate
