// The preview area.
#include "ui/preview.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace sdmate {

Preview::Preview(QWidget* parent) : QLabel(parent) {
  setFixedSize(kWidth, kHeight);
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
  shownPath_.clear();
}

bool Preview::ShowFile(const QString& nativePath) {
  // The previous picture goes before the next is read, as on the handset's own viewer.
  ShowNothing();
  QImageReader reader(nativePath);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  // Large pictures are decoded at the preview's size; small ones are not blown up.
  if (size.isValid() && (size.width() > kWidth || size.height() > kHeight)) {
    reader.setScaledSize(size.scaled(kWidth, kHeight, Qt::KeepAspectRatio));
  }
  QImage image = reader.read();
  if (image.isNull()) return false;
  if (image.width() > kWidth || image.height() > kHeight) {
    image = image.scaled(kWidth, kHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  setPixmap(QPixmap::fromImage(image));
  shownPath_ = nativePath;
  return true;
}

}  // namespace sdmate
