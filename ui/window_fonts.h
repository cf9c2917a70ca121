// The window's fonts: the handset maker's Japanese fonts where they are installed, else the
// IPA fonts that Linux systems carry.
#pragma once

#include <QFont>

namespace sdmate {

inline constexpr int kFontPixels = 12;

// Proportional, for captions and fields: "ＭＳ Ｐゴシック".
inline QFont WindowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("IPA Pゴシック")});
  font.setPixelSize(kFontPixels);
  return font;
}

// Fixed pitch, for the lists: "ＭＳ ゴシック".
inline QFont ListFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                    QStringLiteral("IPAゴシック")});
  font.setPixelSize(kFontPixels);
  return font;
}

}  // namespace sdmate
