// Shift-JIS (code page 932) to and from UTF-8, for showing and typing texts only: card bytes
// are never re-encoded unless the user edits them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace sdmate {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // Bytes that are not code page 932 become "?".
  virtual std::string ToUtf8(std::string_view sjis) = 0;
  // Characters code page 932 cannot hold become "?".
  virtual std::string FromUtf8(std::string_view utf8) = 0;
};

std::unique_ptr<TextCodec> MakeNativeTextCodec();

}  // namespace sdmate
