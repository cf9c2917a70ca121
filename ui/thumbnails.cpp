// Making, keeping and finding the items' small pictures.
#include "ui/thumbnails.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRunnable>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <memory>

#ifdef SDMATE_HAVE_POPPLER
#include <poppler-qt6.h>
#endif

namespace sdmate {
namespace {

// Pictures are decoded at most this large before they are scaled to their size.
constexpr int kLargestDecode = 4096;

QString Extension(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
}

// freedesktop's folder of a size: normal 128, x-large 512.
QString SizeFolder(int edge) {
  return edge <= 128   ? QStringLiteral("normal")
         : edge <= 256 ? QStringLiteral("large")
         : edge <= 512 ? QStringLiteral("x-large")
                       : QStringLiteral("xx-large");
}

QString CachePath(const ThumbnailRequest& request, const QString& cacheRoot) {
  // The name is the MD5 of the file's URI, as freedesktop's layout has it, with the card in
  // front: two cards mounted one after the other at one place have the same paths.
  const QByteArray uri = QUrl::fromLocalFile(request.path).toEncoded();
  const QByteArray name =
      QCryptographicHash::hash(request.cardKey.toUtf8() + '\n' + uri, QCryptographicHash::Md5)
          .toHex();
  return cacheRoot + QStringLiteral("/thumbnails/") + SizeFolder(request.edge) + QLatin1Char('/') +
         QString::fromLatin1(name) + QStringLiteral(".png");
}

QString Seconds(const QFileInfo& info) {
  return QString::number(info.lastModified().toSecsSinceEpoch());
}

std::optional<Thumbnail> FromCache(const QString& path, const QFileInfo& info) {
  QImageReader reader(path);
  const QString time = reader.text(QStringLiteral("Thumb::MTime"));
  const QString size = reader.text(QStringLiteral("Thumb::Size"));
  // A file changed since the picture was made gets a new one.
  if (time != Seconds(info) || size != QString::number(info.size())) return std::nullopt;
  const QString caption = reader.text(QStringLiteral("Sdmate::Caption"));
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  return Thumbnail{std::move(image), caption};
}

void ToCache(const QString& path, const ThumbnailRequest& request, const QFileInfo& info,
             const Thumbnail& thumbnail) {
  const QFileInfo place(path);
  // Private to the user, as freedesktop asks: the pictures show what the card holds.
  if (!QDir().mkpath(place.absolutePath())) return;
  QFile::setPermissions(place.absolutePath(),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QImage image = thumbnail.image;
  image.setText(QStringLiteral("Thumb::URI"),
                QString::fromLatin1(QUrl::fromLocalFile(request.path).toEncoded()));
  image.setText(QStringLiteral("Thumb::MTime"), Seconds(info));
  image.setText(QStringLiteral("Thumb::Size"), QString::number(info.size()));
  image.setText(QStringLiteral("Software"), QStringLiteral("Sdmate"));
  if (!thumbnail.caption.isEmpty())
    image.setText(QStringLiteral("Sdmate::Caption"), thumbnail.caption);
  // Written whole under a temporary name and renamed: another run never reads half a picture.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  if (image.save(&file, "PNG")) file.commit();
}

QImage Fitted(QImage image, int edge) {
  if (image.isNull() || (image.width() <= edge && image.height() <= edge)) return image;
  return image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

Thumbnail Picture(const QString& path, int edge) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > edge || size.height() > edge)) {
    // JPEG decodes straight to a smaller size.
    reader.setScaledSize(size.scaled(std::min(edge, kLargestDecode), std::min(edge, kLargestDecode),
                                     Qt::KeepAspectRatio));
  }
  return {Fitted(reader.read(), edge), {}};
}

QString Length(double seconds) {
  const int whole = static_cast<int>(seconds + 0.5);
  return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

Thumbnail Movie(const QString& path, int edge, const ThumbnailProvider::MovieFrames& frames) {
  if (!frames) return {};
  const std::optional<MovieFrame> frame = frames(path.toStdString(), edge);
  if (!frame.has_value()) return {};
  QImage image = QImage::fromData(QByteArray::fromStdString(frame->png), "PNG");
  QString caption = QStringLiteral("%1×%2").arg(frame->width).arg(frame->height);
  if (frame->seconds > 0)
    caption = QStringLiteral("長さ %1  ").arg(Length(frame->seconds)) + caption;
  return {Fitted(std::move(image), edge), caption};
}

Thumbnail Document(const QString& path, int edge) {
#ifdef SDMATE_HAVE_POPPLER
  if (Extension(path) != QStringLiteral("PDF")) return {};
  const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
  if (!document || document->isLocked() || document->numPages() < 1) return {};
  const std::unique_ptr<Poppler::Page> page = document->page(0);
  if (!page) return {};
  const QSizeF points = page->pageSizeF();
  const double longest = std::max(points.width(), points.height());
  if (longest <= 0) return {};
  // Points are 1/72 inch: the resolution that gives the page `edge` pixels on its long side.
  const double dpi = std::clamp(72.0 * edge / longest, 1.0, 600.0);
  document->setRenderHint(Poppler::Document::Antialiasing);
  document->setRenderHint(Poppler::Document::TextAntialiasing);
  return {Fitted(page->renderToImage(dpi, dpi), edge),
          QStringLiteral("%1 ページ").arg(document->numPages())};
#else
  (void)path;
  (void)edge;
  return {};
#endif
}

}  // namespace

std::optional<ThumbnailType> ThumbnailTypeOf(const QString& fileName) {
  const QString extension = Extension(fileName);
  for (const char* picture : {"JPG", "JPEG", "GIF", "PNG", "BMP", "TIF", "TIFF"}) {
    if (extension == QLatin1String(picture)) return ThumbnailType::Picture;
  }
  for (const char* movie : {"3GP", "MP4", "3G2", "M4A", "ASF"}) {
    if (extension == QLatin1String(movie)) return ThumbnailType::Movie;
  }
  if (extension == QStringLiteral("PDF")) return ThumbnailType::Document;
  return std::nullopt;
}

Thumbnail MakeThumbnail(const ThumbnailRequest& request, const QString& key,
                        const QString& cacheRoot, const ThumbnailProvider::MovieFrames& frames) {
  (void)key;
  const QFileInfo info(request.path);
  if (!info.isFile()) return {};
  const QString cached = cacheRoot.isEmpty() ? QString() : CachePath(request, cacheRoot);
  if (!cached.isEmpty()) {
    if (std::optional<Thumbnail> kept = FromCache(cached, info)) return *kept;
  }
  Thumbnail made;
  switch (request.type) {
    case ThumbnailType::Picture:
      made = Picture(request.path, request.edge);
      break;
    case ThumbnailType::Movie:
      made = Movie(request.path, request.edge, frames);
      break;
    case ThumbnailType::Document:
      made = Document(request.path, request.edge);
      break;
  }
  if (!made.failed() && !cached.isEmpty()) ToCache(cached, request, info, made);
  return made;
}

ThumbnailProvider::ThumbnailProvider(QString cacheRoot, MovieFrames frames, QObject* parent)
    : QObject(parent), cacheRoot_(std::move(cacheRoot)), frames_(std::move(frames)) {
  // Two workers: the machine keeps a core for the window, and ffmpeg runs as its own process.
  pool_.setMaxThreadCount(2);
#ifdef SDMATE_HAVE_POPPLER
  // A document Poppler cannot read gets its kind's icon; its complaints are no news to the user.
  Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
#endif
}

ThumbnailProvider::~ThumbnailProvider() {
  pool_.clear();
  pool_.waitForDone();
}

QString ThumbnailProvider::DefaultCacheRoot() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/sdmate");
}

QString ThumbnailProvider::KeyOf(const ThumbnailRequest& request) {
  const QFileInfo info(request.path);
  return request.cardKey + QLatin1Char('\n') + request.path + QLatin1Char('\n') +
         QString::number(info.size()) + QLatin1Char('\n') + Seconds(info) + QLatin1Char('\n') +
         QString::number(request.edge);
}

const Thumbnail* ThumbnailProvider::Find(const ThumbnailRequest& request, bool urgent) {
  const QString key = KeyOf(request);
  const auto made = made_.constFind(key);
  if (made != made_.constEnd()) return &made.value();
  if (queued_.contains(key)) return nullptr;
  queued_.insert(key);
  pool_.start(QRunnable::create([this, request, key, root = cacheRoot_, frames = frames_] {
                Thumbnail thumbnail = MakeThumbnail(request, key, root, frames);
                // Handed to the window's thread; dropped there when the provider is gone by then.
                QMetaObject::invokeMethod(
                    this, [this, key, thumbnail = std::move(thumbnail)] { Store(key, thumbnail); },
                    Qt::QueuedConnection);
              }),
              urgent ? 1 : 0);
  return nullptr;
}

void ThumbnailProvider::Store(const QString& key, const Thumbnail& thumbnail) {
  queued_.remove(key);
  made_.insert(key, thumbnail);
  emit Ready(key);
}

void ThumbnailProvider::WaitForAll() {
  pool_.waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ThumbnailProvider::ForgetMemory() { made_.clear(); }

}  // namespace sdmate
