// Pictures drawn with QPainter, so that the program carries no borrowed art.
#include "ui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "ui/window_fonts.h"

namespace sdmate {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kDeepNavy(0, 0, 72);
const QColor kGold(230, 180, 40);

QPixmap Blank(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QFont Font(int pixels, bool bold) {
  QFont font = WindowFont();
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// An SD card standing upright in the square `box`: the cut corner at the top right, gold
// contacts, "SD" on the face.
void DrawCard(QPainter& painter, const QRectF& box) {
  const qreal s = box.width() / 32.0;
  auto at = [&](qreal x, qreal y) { return QPointF(box.left() + x * s, box.top() + y * s); };
  QPainterPath body;
  body.moveTo(at(6, 2));
  body.lineTo(at(20, 2));
  body.lineTo(at(26.5, 8.5));
  body.lineTo(at(26.5, 30));
  body.lineTo(at(6, 30));
  body.closeSubpath();
  QLinearGradient shade(at(6, 2), at(26, 30));
  shade.setColorAt(0, QColor(40, 60, 190));
  shade.setColorAt(1, kDeepNavy);
  painter.setPen(QPen(kDeepNavy, s));
  painter.setBrush(shade);
  painter.drawPath(body);

  painter.setPen(Qt::NoPen);
  painter.setBrush(kGold);
  for (int i = 0; i < 4; ++i) painter.drawRect(QRectF(at(8.5 + i * 3, 4), QSizeF(2 * s, 5 * s)));

  painter.setPen(Qt::white);
  painter.setFont(Font(static_cast<int>(11 * s), true));
  painter.drawText(QRectF(at(6, 14), QSizeF(20.5 * s, 14 * s)), Qt::AlignCenter,
                   QStringLiteral("SD"));
}

void DrawLandscape(QPainter& painter) {
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  painter.setBrush(QColor(250, 250, 245));
  painter.drawRect(QRectF(2.5, 5.5, 27, 22));
  QLinearGradient sky(0, 8, 0, 25);
  sky.setColorAt(0, QColor(90, 160, 240));
  sky.setColorAt(1, QColor(190, 225, 255));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRect(QRectF(5, 8, 22, 17));
  painter.setBrush(QColor(255, 200, 40));
  painter.drawEllipse(QPointF(21.5, 12.5), 2.5, 2.5);
  painter.setBrush(QColor(40, 140, 60));
  painter.drawPolygon(QPolygonF(
      {QPointF(5, 25), QPointF(12, 14), QPointF(17, 20), QPointF(20, 17), QPointF(27, 25)}));
}

void DrawFilm(QPainter& painter) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 40, 40));
  painter.drawRoundedRect(QRectF(2, 6, 28, 20), 2, 2);
  painter.setBrush(Qt::white);
  for (int i = 0; i < 6; ++i) {
    painter.drawRect(QRectF(4 + i * 4.4, 7.5, 2.4, 2));
    painter.drawRect(QRectF(4 + i * 4.4, 22.5, 2.4, 2));
  }
  painter.setBrush(QColor(120, 190, 255));
  painter.drawRect(QRectF(4, 11, 24, 10));
  painter.setBrush(QColor(240, 110, 20));
  painter.drawPolygon(QPolygonF({QPointF(13, 12.5), QPointF(20, 16), QPointF(13, 19.5)}));
}

void DrawPage(QPainter& painter) {
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(Qt::white);
  painter.drawPolygon(QPolygonF({QPointF(6.5, 2.5), QPointF(20.5, 2.5), QPointF(26.5, 8.5),
                                 QPointF(26.5, 29.5), QPointF(6.5, 29.5)}));
  painter.setBrush(QColor(220, 220, 220));
  painter.drawPolygon(QPolygonF({QPointF(20.5, 2.5), QPointF(20.5, 8.5), QPointF(26.5, 8.5)}));
  painter.setPen(QPen(QColor(150, 150, 150), 1));
  for (int i = 0; i < 4; ++i) painter.drawLine(QPointF(9, 11.5 + i * 3), QPointF(24, 11.5 + i * 3));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(200, 30, 30));
  painter.drawRect(QRectF(4, 22, 20, 7));
  painter.setPen(Qt::white);
  painter.setFont(Font(7, true));
  painter.drawText(QRectF(4, 22, 20, 7), Qt::AlignCenter, QStringLiteral("PDF"));
}

// A rounded face with a gradient from `top` to `bottom` and a darker rim.
void DrawFace(QPainter& painter, QSize size, QColor top, QColor bottom, QColor rim) {
  QLinearGradient fill(0, 0, 0, size.height());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  painter.setPen(QPen(rim, 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 4, 4);
}

}  // namespace

QPixmap ProgramIconPixmap() {
  QPixmap icon = Blank(kIconSize);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCard(painter, QRectF(0, 0, 32, 32));
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {16, 32, 48, 64}) {
    QPixmap pixmap = Blank(QSize(side, side));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawCard(painter, QRectF(0, 0, side, side));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPixmap KindIconPixmap(MediaKind kind) {
  QPixmap icon = Blank(kIconSize);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  switch (kind) {
    case MediaKind::Image:
      DrawLandscape(painter);
      break;
    case MediaKind::Movie:
      DrawFilm(painter);
      break;
    case MediaKind::Document:
      DrawPage(painter);
      break;
  }
  return icon;
}

QPixmap LogoPixmap() {
  QPixmap logo = Blank(kLogoSize);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFace(painter, kLogoSize, QColor(30, 60, 200), kDeepNavy, kDeepNavy);
  DrawCard(painter, QRectF(2, 4, 24, 24));
  painter.setPen(Qt::white);
  painter.setFont(Font(15, true));
  painter.drawText(QRectF(26, 1, 60, 19), Qt::AlignCenter, QStringLiteral("Sdmate"));
  painter.setPen(QColor(255, 220, 90));
  painter.setFont(Font(9, false));
  painter.drawText(QRectF(26, 19, 60, 11), Qt::AlignCenter, QStringLiteral("ホームページ"));
  return logo;
}

QPixmap DonationButtonPixmap() {
  QPixmap button = Blank(kButtonPictureSize);
  QPainter painter(&button);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFace(painter, kButtonPictureSize, QColor(255, 228, 120), QColor(240, 165, 0),
           QColor(170, 110, 0));
  // A coin.
  painter.setPen(QPen(QColor(150, 100, 0), 1));
  painter.setBrush(QColor(255, 210, 60));
  painter.drawEllipse(QPointF(15, 15.5), 10, 10);
  painter.setPen(QColor(130, 80, 0));
  painter.setFont(Font(12, true));
  painter.drawText(QRectF(5, 5.5, 20, 20), Qt::AlignCenter, QStringLiteral("¥"));
  painter.setPen(QColor(90, 45, 0));
  painter.setFont(Font(13, true));
  painter.drawText(QRectF(27, 2, 59, 17), Qt::AlignCenter, QStringLiteral("ご寄付"));
  painter.setFont(Font(9, false));
  painter.drawText(QRectF(27, 18, 59, 11), Qt::AlignCenter, QStringLiteral("DONATION"));
  return button;
}

QPixmap BannerPixmap() {
  QPixmap banner = Blank(kButtonPictureSize);
  QPainter painter(&banner);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFace(painter, kButtonPictureSize, QColor(255, 140, 170), QColor(210, 40, 110),
           QColor(140, 20, 70));
  painter.save();
  painter.translate(2, 4);
  painter.scale(0.75, 0.75);
  DrawLandscape(painter);
  painter.restore();
  painter.setPen(Qt::white);
  painter.setFont(Font(11, true));
  painter.drawText(QRectF(26, 2, 60, 16), Qt::AlignCenter, QStringLiteral("待受け画像"));
  painter.setPen(QColor(255, 240, 150));
  painter.setFont(Font(9, true));
  painter.drawText(QRectF(27, 17, 60, 12), Qt::AlignCenter, QStringLiteral("ダウンロード"));
  return banner;
}

}  // namespace sdmate
