// Code page 932 through the system's conversion functions.
#include <windows.h>

#include "platform/text_codec.h"
#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

bool IsLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0; }

class Win32Codec final : public TextCodec {
 public:
  std::string ToUtf8(std::string_view sjis) override {
    std::wstring wide;
    // Character by character, so one bad sequence costs one "?" and not the whole text.
    for (std::size_t at = 0; at < sjis.size();) {
      std::size_t length =
          IsLead(static_cast<unsigned char>(sjis[at])) && at + 1 < sjis.size() ? 2 : 1;
      wchar_t out[4];
      int n = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data() + at,
                                    static_cast<int>(length), out, 4);
      if (n <= 0) {
        wide.push_back(L'?');
        at += 1;
      } else {
        wide.append(out, static_cast<std::size_t>(n));
        at += length;
      }
    }
    return win32::Narrow(wide);
  }

  std::string FromUtf8(std::string_view utf8) override {
    std::wstring wide = win32::Widen(utf8);
    if (wide.empty()) return {};
    std::string out;
    // Code point by code point, so that a character outside code page 932 becomes one "?".
    for (std::size_t at = 0; at < wide.size();) {
      std::size_t length = IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() ? 2 : 1;
      char buffer[8];
      BOOL usedDefault = FALSE;
      int n =
          ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data() + at,
                                static_cast<int>(length), buffer, sizeof buffer, "?", &usedDefault);
      if (n <= 0 || usedDefault) {
        out.push_back('?');
      } else {
        out.append(buffer, static_cast<std::size_t>(n));
      }
      at += length;
    }
    return out;
  }
};

}  // namespace

std::unique_ptr<TextCodec> MakeNativeTextCodec() { return std::make_unique<Win32Codec>(); }

}  // namespace sdmate
