// The pictograph codec: runs of ordinary text go to the codec underneath, pictographs are
// looked up in the generated table.
#include "card/pictograph_codec.h"

#include "core/pictographs.h"
#include "core/sjis.h"

namespace sdmate {
namespace {

// The handset's pictographs lie in the user-defined rows F8 and F9 of code page 932.
constexpr bool IsPictographLead(unsigned char byte) { return byte == 0xF8 || byte == 0xF9; }

// The bytes of the UTF-8 character at the start of text: its whole sequence, or one byte for a
// byte that starts none (the codec underneath decides what becomes of it).
std::size_t CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t n = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  if (n > text.size()) return 1;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

std::string PictographCodec::ToUtf8(std::string_view sjis) {
  std::string text;
  std::size_t run = 0;  // where the ordinary text not yet converted begins
  std::size_t at = 0;
  while (at < sjis.size()) {
    const auto lead = static_cast<unsigned char>(sjis[at]);
    if (!IsLeadByte(lead) || at + 1 >= sjis.size()) {
      ++at;
      continue;
    }
    const auto code =
        static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(sjis[at + 1]));
    const std::string_view emoji = IsPictographLead(lead) ? EmojiOfCode(code) : std::string_view();
    if (!emoji.empty()) {
      if (at > run) text += native_.ToUtf8(sjis.substr(run, at - run));
      text += emoji;
      run = at + 2;
    }
    at += 2;
  }
  if (run < sjis.size()) text += native_.ToUtf8(sjis.substr(run));
  return text;
}

std::string PictographCodec::FromUtf8(std::string_view utf8) {
  std::string bytes;
  std::size_t run = 0;
  std::size_t at = 0;
  while (at < utf8.size()) {
    const EmojiMatch match = MatchEmoji(utf8.substr(at));
    if (match.code == 0) {
      at += CharacterLength(utf8.substr(at));
      continue;
    }
    if (at > run) bytes += native_.FromUtf8(utf8.substr(run, at - run));
    bytes.push_back(static_cast<char>(match.code >> 8));
    bytes.push_back(static_cast<char>(match.code & 0xFF));
    at += match.length;
    run = at;
  }
  if (run < utf8.size()) bytes += native_.FromUtf8(utf8.substr(run));
  return bytes;
}

}  // namespace sdmate
