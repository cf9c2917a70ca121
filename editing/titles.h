// Titles typed by the user, turned into the bytes the card keeps.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace sdmate {

// The Shift-JIS bytes for a title shown as `stored` and now reading `typedUtf8`: the stored
// bytes themselves when the text is what they show (about 400 codes cannot come back to the
// same bytes, so an untouched title is never re-encoded), else the typed text encoded.
std::string TitleBytes(TextCodec& codec, std::string_view stored, std::string_view typedUtf8);

}  // namespace sdmate
