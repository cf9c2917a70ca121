// The handset's pictographs (Shift-JIS codes F89F-F9FC) and the emoji Unicode gives them, from
// the DoCoMo column of EmojiSources.txt, turned into a table by the build. Codes without an
// emoji are not in the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sdmate {

// One row of the generated table: the code and the one or two code points of its emoji
// (second is 0 for one; the keycaps are a digit or "#" followed by U+20E3).
struct PictographSource {
  std::uint16_t code;
  char32_t first;
  char32_t second;
};
extern const PictographSource kPictographSources[];
extern const std::size_t kPictographSourceCount;

struct Pictograph {
  std::uint16_t code;
  std::string emoji;  // UTF-8
};

// Every pictograph that has an emoji, in the order of the handset's codes.
const std::vector<Pictograph>& Pictographs();

// The emoji (UTF-8) of a handset code; empty for a code without one.
std::string_view EmojiOfCode(std::uint16_t code);

// The emoji at the start of a UTF-8 text and the bytes it takes there, an emoji presentation
// selector (U+FE0F) after it or inside a keycap included; code 0 when the text does not start
// with an emoji the handset has.
struct EmojiMatch {
  std::uint16_t code = 0;
  std::size_t length = 0;
};
EmojiMatch MatchEmoji(std::string_view utf8);

}  // namespace sdmate
