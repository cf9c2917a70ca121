// Code page 932 with the handset's pictographs as emoji: the texts the faces show and take.
// A pictograph code that has an emoji is shown as that emoji, and that emoji (typed or pasted)
// becomes the code again; everything else goes through the codec underneath, so a pictograph
// without an emoji still shows as the private-use character code page 932 gives it.
#pragma once

#include "platform/text_codec.h"

namespace sdmate {

class PictographCodec final : public TextCodec {
 public:
  // The codec underneath is kept by reference.
  explicit PictographCodec(TextCodec& native) : native_(native) {}

  std::string ToUtf8(std::string_view sjis) override;
  std::string FromUtf8(std::string_view utf8) override;

 private:
  TextCodec& native_;
};

}  // namespace sdmate
