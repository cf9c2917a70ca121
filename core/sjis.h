// Shift-JIS (code page 932) byte classification, so that texts are only ever cut between
// whole characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace sdmate {

// A byte that starts a double-byte character: 81-9F and E0-FC.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

enum class ByteClass { Single, Lead, Trail };

// The class of byte `index` (from 0) of text, found by scanning from the start.
ByteClass ClassifyByte(std::string_view text, std::size_t index);

// The longest prefix of text of at most maxBytes bytes that does not end inside a double-byte
// character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

}  // namespace sdmate
