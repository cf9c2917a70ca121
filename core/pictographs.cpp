// Lookups in the generated table of the handset's pictographs.
#include "core/pictographs.h"

#include <algorithm>

namespace sdmate {
namespace {

constexpr char32_t kPresentationSelector = 0xFE0F;

void AppendUtf8(std::string& text, char32_t point) {
  auto byte = [&text](std::uint32_t value) { text.push_back(static_cast<char>(value)); };
  const auto value = static_cast<std::uint32_t>(point);
  if (value < 0x80) {
    byte(value);
  } else if (value < 0x800) {
    byte(0xC0 | (value >> 6));
    byte(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    byte(0xE0 | (value >> 12));
    byte(0x80 | ((value >> 6) & 0x3F));
    byte(0x80 | (value & 0x3F));
  } else {
    byte(0xF0 | (value >> 18));
    byte(0x80 | ((value >> 12) & 0x3F));
    byte(0x80 | ((value >> 6) & 0x3F));
    byte(0x80 | (value & 0x3F));
  }
}

// The code point at the start of text and its length in bytes; length 0 for a byte that
// begins no well-formed sequence.
struct Decoded {
  char32_t point = 0;
  std::size_t length = 0;
};

Decoded DecodeUtf8(std::string_view text) {
  if (text.empty()) return {};
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead < 0xC2   ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return {};
  char32_t point = lead & (0x7F >> length);
  for (std::size_t at = 1; at < length; ++at) {
    const auto next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0) != 0x80) return {};
    point = (point << 6) | (next & 0x3F);
  }
  return {point, length};
}

// The length of an emoji presentation selector at the start of text, or 0.
std::size_t SelectorLength(std::string_view text) {
  const Decoded next = DecodeUtf8(text);
  return next.point == kPresentationSelector ? next.length : 0;
}

struct Tables {
  std::vector<Pictograph> byCode;
  std::vector<PictographSource> byFirst;  // sorted by first code point, pairs before singles
};

const Tables& TheTables() {
  static const Tables tables = [] {
    Tables made;
    made.byFirst.assign(kPictographSources, kPictographSources + kPictographSourceCount);
    for (const PictographSource& source : made.byFirst) {
      std::string emoji;
      AppendUtf8(emoji, source.first);
      if (source.second != 0) AppendUtf8(emoji, source.second);
      made.byCode.push_back({source.code, std::move(emoji)});
    }
    std::sort(made.byCode.begin(), made.byCode.end(),
              [](const Pictograph& a, const Pictograph& b) { return a.code < b.code; });
    std::sort(made.byFirst.begin(), made.byFirst.end(),
              [](const PictographSource& a, const PictographSource& b) {
                return a.first != b.first ? a.first < b.first : a.second > b.second;
              });
    return made;
  }();
  return tables;
}

}  // namespace

const std::vector<Pictograph>& Pictographs() { return TheTables().byCode; }

std::string_view EmojiOfCode(std::uint16_t code) {
  const std::vector<Pictograph>& table = TheTables().byCode;
  const auto found =
      std::lower_bound(table.begin(), table.end(), code,
                       [](const Pictograph& a, std::uint16_t c) { return a.code < c; });
  if (found == table.end() || found->code != code) return {};
  return found->emoji;
}

EmojiMatch MatchEmoji(std::string_view utf8) {
  const Decoded first = DecodeUtf8(utf8);
  if (first.length == 0) return {};
  const std::vector<PictographSource>& table = TheTables().byFirst;
  const auto range = std::equal_range(
      table.begin(), table.end(), PictographSource{0, first.point, 0},
      [](const PictographSource& a, const PictographSource& b) { return a.first < b.first; });
  std::size_t at = first.length;
  at += SelectorLength(utf8.substr(at));
  // A keycap comes before the emoji of its first code point alone: the table orders pairs first.
  for (auto candidate = range.first; candidate != range.second; ++candidate) {
    if (candidate->second == 0) return {candidate->code, at};
    const Decoded second = DecodeUtf8(utf8.substr(at));
    if (second.length != 0 && second.point == candidate->second) {
      const std::size_t end = at + second.length;
      return {candidate->code, end + SelectorLength(utf8.substr(end))};
    }
  }
  return {};
}

}  // namespace sdmate
