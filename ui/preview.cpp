// The preview area.
#include "ui/preview.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace sdmate {
namespace {

// A picture is read at most this large: the area never grows beyond a screen.
constexpr int kLargestSide = 2048;

}  // namespace

Preview::Preview(QWidget* parent) : QLabel(parent) {
  setMinimumSize(kWidth, kHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAlignment(Qt::AlignCenter);
}

bool Preview::IsPicture(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  const QString extension = fileName.mid(dot).toUpper();
  for (const char* known : {".BMP", ".JPG", ".PNG", ".TIF", ".GIF"}) {
    if (extension == QLatin1String(known)) return true;
  }
  return false;
}

void Preview::ShowNothing() {
  clear();
  picture_ = QImage();
  shownPath_.clear();
  caption_.clear();
}

void Preview::ShowImage(const QImage& image, const QString& caption, const QString& nativePath) {
  ShowNothing();
  if (image.isNull()) return;
  picture_ = image;
  caption_ = caption;
  shownPath_ = nativePath;
  Fit();
}

bool Preview::ShowFile(const QString& nativePath) {
  // The previous picture goes before the next is read, as on the handset's own viewer.
  ShowNothing();
  QImageReader reader(nativePath);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  // Large pictures are decoded smaller; the area scales them again to its size.
  if (size.isValid() && (size.width() > kLargestSide || size.height() > kLargestSide)) {
    reader.setScaledSize(size.scaled(kLargestSide, kLargestSide, Qt::KeepAspectRatio));
  }
  QImage image = reader.read();
  if (image.isNull()) return false;
  picture_ = std::move(image);
  shownPath_ = nativePath;
  Fit();
  return true;
}

void Preview::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Fit();
}

void Preview::Fit() {
  if (picture_.isNull()) return;
  // Until the window lays the area out, it has the handset's size.
  const QSize least(kWidth, kHeight);
  QSize area = isVisible() ? contentsRect().size().expandedTo(least) : least;
  const int captionHeight = caption_.isEmpty() ? 0 : fontMetrics().height() + 4;
  area.rheight() -= captionHeight;
  const QImage shown = picture_.width() <= area.width() && picture_.height() <= area.height()
                           ? picture_
                           : picture_.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  if (caption_.isEmpty()) {
    setPixmap(QPixmap::fromImage(shown));
    return;
  }
  // The line goes under the picture, as wide as the area lets it be.
  const int width =
      std::max(shown.width(), std::min(fontMetrics().horizontalAdvance(caption_), area.width()));
  QPixmap canvas(width, shown.height() + captionHeight);
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  painter.drawImage((width - shown.width()) / 2, 0, shown);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(0, shown.height() + 2, width, captionHeight - 2),
                   Qt::AlignHCenter | Qt::AlignTop, caption_);
  painter.end();
  setPixmap(canvas);
}

}  // namespace sdmate
