// Pictures fitted with QImageReader and QImageWriter. The reader turns the picture upright by
// its EXIF orientation and reads the first frame of an animation; HEIF, which Qt cannot read, is
// decoded by the system, upright already. The picture is made smaller once, put on white as 8-bit
// RGB without colour profile or text, and the quality search only encodes.
#include "ui/qt_picture_fitter.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/card_layout.h"
#include "import/content_type.h"
#include "media/media_messages.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/system_pictures.h"

namespace sdmate {
namespace {

// The picture within the box, its aspect kept, never enlarged.
QSize FittedSize(QSize size, const PictureLimits& limits) {
  const QSize box(limits.maxWidth, limits.maxHeight);
  if (size.width() <= box.width() && size.height() <= box.height()) return size;
  QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
  return fitted.expandedTo(QSize(1, 1));
}

// 8-bit RGB on white: a clear pixel is white, a half-clear one is mixed with white. A fresh
// image, so no colour profile or text of the original is written with it.
QImage OnWhite(const QImage& picture) {
  const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
  QImage flat(source.size(), QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(flat.scanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      const int alpha = qAlpha(in[x]);
      auto mix = [alpha](int channel) {
        return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
      };
      out[x] = qRgb(mix(qRed(in[x])), mix(qGreen(in[x])), mix(qBlue(in[x])));
    }
  }
  return flat;
}

// A baseline JPEG (libjpeg's 4:2:0 for colour), optimised Huffman tables, no metadata.
std::optional<std::string> Encode(const QImage& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(quality);
  writer.setOptimizedWrite(true);
  writer.setProgressiveScanWrite(false);
  if (!writer.write(image)) return std::nullopt;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The most pixels a picture Qt does not read may have: as many as Qt's reader allows for the
// pictures it reads (32-bit pixels within its allocation limit).
std::uint64_t MaxSystemPixels() {
  const int megabytes = QImageReader::allocationLimit();
  const std::uint64_t bytes = std::uint64_t{megabytes > 0 ? static_cast<unsigned>(megabytes) : 256u}
                              << 20;
  return bytes / 4;
}

// A HEIF picture through the system's decoder, upright as the file states it (its EXIF
// orientation says the same and is not applied again); a null image and the reason when it
// cannot be read.
QImage SystemDecoded(const std::string& bytes, std::string& reason) {
  if (!SystemDecodesHeif()) {
    reason = std::string(text::kPictureUndecodable) + text::kHeifNoDecoder;
#ifdef _WIN32
    reason += text::kHeifNoDecoderWindows;
#endif
    return {};
  }
  const std::optional<SystemPicture> decoded = DecodeWithSystem(bytes, MaxSystemPixels());
  if (!decoded) {
    reason = std::string(text::kPictureUndecodable) + text::kHeifDamaged;
    return {};
  }
  const QImage view(decoded->rgba.data(), decoded->width, decoded->height, decoded->width * 4,
                    QImage::Format_RGBA8888);
  // (a copy of its own: the decoded pixels go at the end of this call)
  QImage picture = view.convertToFormat(QImage::Format_ARGB32);
  if (picture.isNull()) {
    reason = std::string(text::kPictureUndecodable) + text::kHeifDamaged;
    return {};
  }
  if (!decoded->iccProfile.empty()) {
    const QColorSpace space = QColorSpace::fromIccProfile(
        QByteArray(decoded->iccProfile.data(), static_cast<qsizetype>(decoded->iccProfile.size())));
    if (space.isValid()) picture.setColorSpace(space);
  }
  return picture;
}

}  // namespace

QtPictureFitter::QtPictureFitter(Files& files) : files_(files) {}

QtPictureFitter::Encoded QtPictureFitter::FitBytes(const std::string& bytes,
                                                   const PictureLimits& limits) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  if (!buffer.open(QIODevice::ReadOnly)) return {std::nullopt, text::kPictureUndecodable};
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  QImage picture;
  if (!reader.read(&picture) || picture.isNull()) {
    const std::string_view head = std::string_view(bytes).substr(0, kContentHeadBytes);
    if (IdentifyContent(head).content != Content::Heif) {
      return {std::nullopt, text::kPictureUndecodable + reader.errorString().toStdString()};
    }
    std::string reason;
    picture = SystemDecoded(bytes, reason);
    if (picture.isNull()) return {std::nullopt, reason};
  }
  const QSize size = FittedSize(picture.size(), limits);
  if (size != picture.size()) {
    picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  // The handset knows no colour profiles: pictures are shown as sRGB.
  if (picture.colorSpace().isValid() && picture.colorSpace() != QColorSpace(QColorSpace::SRgb)) {
    picture.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
  }
  QImage image = OnWhite(picture);
  if (image.isNull()) return {std::nullopt, text::kPictureUndecodable};
  // Below the lowest quality the picture is made smaller, a fifth at a time.
  for (;;) {
    bool failed = false;
    std::optional<std::string> jpeg = HighestQualityJpeg(
        limits, [&](int quality) { return Encode(image, quality); }, failed);
    if (failed) return {std::nullopt, text::kPictureUnencodable + std::string("QImageWriter")};
    if (jpeg) return {std::move(jpeg), {}};
    if (image.width() < 16 || image.height() < 16) return {std::nullopt, text::kPictureTooLarge};
    image = image.scaled(image.width() * 4 / 5, image.height() * 4 / 5, Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
  }
}

FitResult QtPictureFitter::Fit(const std::string& input, const PictureLimits& limits,
                               const std::string& outputFolder) {
  std::optional<std::string> bytes = files_.ReadFile(input);
  if (!bytes) return {{}, text::kPictureUnreadable};
  Encoded encoded = FitBytes(*bytes, limits);
  if (!encoded.jpeg) return {{}, encoded.reason};
  std::string stem(StemOf(SplitNativePath(input).name));
  if (stem.empty()) stem = "picture";
  const std::string output = JoinNativePath(outputFolder, stem + ".JPG");
  if (!files_.WriteFileReplacing(output, *encoded.jpeg)) {
    return {{}, text::kFittedUnwritable + output};
  }
  return {output, {}};
}

}  // namespace sdmate
