// Code page 932 through glibc's iconv ("CP932", which keeps 0x5C a backslash and maps the
// handset's pictographs F040-F9FC to the private use area).
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/text_codec.h"

namespace sdmate {
namespace {

// One conversion direction, opened once: opening a converter costs far more than a title.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  // iconv_open reports a failure as the handle (iconv_t)-1.
  bool valid() const {
    return cd_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // Where a sequence cannot be converted, "?" is written and `skip` tells how many input
  // bytes to pass over.
  template <typename Skip>
  std::string Convert(std::string_view input, Skip skip) {
    if (!valid()) return std::string(input);
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string output;
    output.reserve(input.size() * 3 / 2 + 8);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t result = ::iconv(cd_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      if (result == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: an unmappable or cut sequence.
        std::size_t n = std::min(inLeft, skip(in, inLeft));
        output.push_back('?');
        in += n;
        inLeft -= n;
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return output;
  }

 private:
  iconv_t cd_;
};

// The bytes of the character that could not be converted: a whole, well-formed UTF-8 sequence
// (a character code page 932 lacks), or a single stray byte, so that the valid text after an
// invalid byte is kept.
std::size_t Utf8Length(const char* text, std::size_t left) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t n = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
  if (n > left) return 1;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

class IconvCodec final : public TextCodec {
 public:
  std::string ToUtf8(std::string_view sjis) override {
    return toUtf8_.Convert(sjis, [](const char*, std::size_t) -> std::size_t { return 1; });
  }
  std::string FromUtf8(std::string_view utf8) override {
    return fromUtf8_.Convert(utf8, Utf8Length);
  }

 private:
  Converter toUtf8_{"UTF-8", "CP932"};
  Converter fromUtf8_{"CP932", "UTF-8"};
};

}  // namespace

std::unique_ptr<TextCodec> MakeNativeTextCodec() { return std::make_unique<IconvCodec>(); }

}  // namespace sdmate
