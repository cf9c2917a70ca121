// The program's own pictures, drawn in code: the program icon, the kinds' icons beside the
// lists, and the logo, donation button and banner that lead to web pages.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "core/card_layout.h"

namespace sdmate {

inline constexpr QSize kIconSize{32, 32};
inline constexpr QSize kLogoSize{88, 32};
inline constexpr QSize kButtonPictureSize{88, 31};

// An SD card with "SD" on it, 32 x 32.
QPixmap ProgramIconPixmap();
// The window icon: the program icon drawn at the sizes desktops ask for.
QIcon ProgramIcon();
// A framed landscape, a film strip or a page, 32 x 32.
QPixmap KindIconPixmap(MediaKind kind);
// The home page's logo, 88 x 32.
QPixmap LogoPixmap();
// The donation button, 88 x 31.
QPixmap DonationButtonPixmap();
// The sister site's banner for standby images, 88 x 31.
QPixmap BannerPixmap();

}  // namespace sdmate
