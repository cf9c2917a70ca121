// What a table read from the card may name, and where the update may touch. Tables come from
// the handset, from other programs and from damaged cards: nothing in them may lead the
// program to a path outside the card's handset folders.
#pragma once

#include <string_view>

#include "core/card_layout.h"

namespace sdmate {

// The longest header directory text the program trusts.
inline constexpr std::size_t kMaxTrustedDirectoryText = 64;

// True when a header's directory text ("\PRIVATE\DOCOMO\STILL\SUD001") is a plain path strictly
// below the kind's data directory: no empty, "." or ".." component, no "/", ":", one of *?"<>|
// (a wildcard of the shell) or control character, at most 64 bytes.
bool IsTrustedDirectoryText(MediaKind kind, std::string_view text);

// True when an entry's stem and extension make a plain file name: neither is empty, and neither
// holds a path separator, a dot, a colon, one of *?"<>| or a control byte.
bool IsPlainEntryName(std::string_view stem, std::string_view extension);

// True when a card path ("E:\\PRIVATE\...") lies strictly inside the root of that drive once
// separators and ".." are resolved lexically: it starts with the drive letter (any case), ":"
// and a separator, never climbs above the root, holds no further ":" and is not the root
// itself.
bool IsInsideCardRoot(std::string_view path, char drive);

// The card path resolved as IsInsideCardRoot resolves it, in the model's form with single
// separators between the parts and the drive letter upper-cased ("E:\\PRIVATE\DOCOMO"); empty
// when path is no card path or climbs above its root. Two spellings of one place on a FAT card
// give the same text once AsciiUpper is applied.
std::string ResolvedCardPath(std::string_view path);

// True when path lies strictly below base (both card paths on the same drive), after the same
// lexical resolution: the card root, base itself or anything beside it is not below.
bool IsStrictlyBelow(std::string_view path, std::string_view base);

}  // namespace sdmate
