// The table of first bytes each type starts with, and the table of the types each extension
// names.
#include "import/content_type.h"

#include <algorithm>
#include <array>

#include "core/ascii.h"

namespace sdmate {
namespace {

using namespace std::string_view_literals;

// Bytes at an offset, and optionally more bytes at a second offset ("RIFF" .. "WEBP").
struct Signature {
  std::size_t offset;
  std::string_view bytes;
  std::size_t secondOffset;
  std::string_view second;
  Content content;
};

constexpr std::array<Signature, 17> kSignatures = {{
    {0, "\xFF\xD8\xFF"sv, 0, {}, Content::Jpeg},
    {0, "GIF87a"sv, 0, {}, Content::Gif},
    {0, "GIF89a"sv, 0, {}, Content::Gif},
    {0, "\x89PNG\r\n\x1A\n"sv, 0, {}, Content::Png},
    {0, "II*\0"sv, 0, {}, Content::Tiff},
    {0, "MM\0*"sv, 0, {}, Content::Tiff},
    {0, "RIFF"sv, 8, "WEBP"sv, Content::Webp},
    {0, "RIFF"sv, 8, "AVI "sv, Content::Avi},
    // QuickTime files older than the ftyp box start with one of these.
    {4, "moov"sv, 0, {}, Content::IsoMedia},
    {4, "mdat"sv, 0, {}, Content::IsoMedia},
    {4, "wide"sv, 0, {}, Content::IsoMedia},
    {0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"sv, 0, {}, Content::Asf},
    {0, "\x1A\x45\xDF\xA3"sv, 0, {}, Content::Matroska},
    {0, "\0\0\x01\xBA"sv, 0, {}, Content::MpegProgram},
    {0, "\0\0\x01\xB3"sv, 0, {}, Content::MpegProgram},
    {0, "FLV\x01"sv, 0, {}, Content::Flv},
    {0, "%PDF-"sv, 0, {}, Content::Pdf},
}};

// The major brands of pictures in ISO media boxes.
constexpr std::array<std::string_view, 10> kPictureBrands = {
    "heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1", "avif", "avis"};

bool At(std::string_view head, std::size_t offset, std::string_view bytes) {
  return head.size() >= offset + bytes.size() && head.substr(offset, bytes.size()) == bytes;
}

// A BMP's file header is followed by one of the known DIB headers, whose size comes first.
bool IsBmp(std::string_view head) {
  if (!At(head, 0, "BM") || head.size() < 18) return false;
  const auto size = static_cast<unsigned char>(head[14]);
  return (size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
          size == 124) &&
         head.substr(15, 3) == "\0\0\0"sv;
}

// Transport stream packets of 188 bytes, or 192 with the four bytes of time in front (M2TS).
bool IsTransportStream(std::string_view head) {
  return (At(head, 0, "\x47") && At(head, 188, "\x47")) ||
         (At(head, 4, "\x47") && At(head, 196, "\x47"));
}

struct NamedType {
  std::string_view extension;
  Content content;
  Content alternative = Content::Unknown;  // a second content the name may hold
};

constexpr std::array<NamedType, 32> kNamedTypes = {{
    {".JPG", Content::Jpeg},
    {".JPEG", Content::Jpeg},
    {".JPE", Content::Jpeg},
    {".JFIF", Content::Jpeg},
    {".GIF", Content::Gif},
    {".PNG", Content::Png},
    {".BMP", Content::Bmp},
    {".TIF", Content::Tiff},
    {".TIFF", Content::Tiff},
    {".WEBP", Content::Webp},
    {".HEIC", Content::Heif},
    {".HEIF", Content::Heif},
    {".AVIF", Content::Heif},
    {".3GP", Content::IsoMedia},
    {".3G2", Content::IsoMedia},
    {".MP4", Content::IsoMedia},
    {".M4V", Content::IsoMedia},
    {".M4A", Content::IsoMedia},
    {".MOV", Content::IsoMedia},
    // Handsets wrote SD-Video clips in either box format.
    {".SDV", Content::IsoMedia, Content::Asf},
    {".ASF", Content::Asf},
    {".WMV", Content::Asf},
    {".AVI", Content::Avi},
    {".MKV", Content::Matroska},
    {".WEBM", Content::Matroska},
    {".FLV", Content::Flv},
    // An MPEG stream comes in either kind of packets whatever its name.
    {".MPG", Content::MpegProgram, Content::MpegTransport},
    {".MPEG", Content::MpegProgram, Content::MpegTransport},
    {".TS", Content::MpegTransport, Content::MpegProgram},
    {".MTS", Content::MpegTransport, Content::MpegProgram},
    {".M2TS", Content::MpegTransport, Content::MpegProgram},
    {".PDF", Content::Pdf},
}};

const NamedType* NamedTypeOf(std::string_view extension) {
  const std::string upper = AsciiUpper(extension);
  for (const NamedType& named : kNamedTypes) {
    if (named.extension == upper) return &named;
  }
  return nullptr;
}

}  // namespace

bool Identified::Is3gp() const {
  return content == Content::IsoMedia && (brand.starts_with("3g") || brand == "kddi");
}

bool Identified::IsMp4() const { return content == Content::IsoMedia && brand != "qt  "; }

Identified IdentifyContent(std::string_view head) {
  if (At(head, 4, "ftyp") && head.size() >= 12) {
    std::string brand(head.substr(8, 4));
    const bool picture =
        std::find(kPictureBrands.begin(), kPictureBrands.end(), brand) != kPictureBrands.end();
    return {picture ? Content::Heif : Content::IsoMedia, std::move(brand)};
  }
  for (const Signature& signature : kSignatures) {
    if (At(head, signature.offset, signature.bytes) &&
        (signature.second.empty() || At(head, signature.secondOffset, signature.second))) {
      // A QuickTime file without ftyp is QuickTime's own.
      return {signature.content, signature.content == Content::IsoMedia ? "qt  " : ""};
    }
  }
  if (IsBmp(head)) return {Content::Bmp, {}};
  if (IsTransportStream(head)) return {Content::MpegTransport, {}};
  return {};
}

Content ContentNamed(std::string_view extension) {
  const NamedType* named = NamedTypeOf(extension);
  return named != nullptr ? named->content : Content::Unknown;
}

bool NameFits(std::string_view extension, Content content) {
  if (content == Content::Unknown) return false;
  const NamedType* named = NamedTypeOf(extension);
  return named != nullptr && (content == named->content || content == named->alternative);
}

const char* ContentNoun(Content content) {
  switch (content) {
    case Content::Jpeg:
      return "JPEG 画像";
    case Content::Gif:
      return "GIF 画像";
    case Content::Png:
      return "PNG 画像";
    case Content::Bmp:
      return "BMP 画像";
    case Content::Tiff:
      return "TIFF 画像";
    case Content::Webp:
      return "WebP 画像";
    case Content::Heif:
      return "HEIF 画像";
    case Content::IsoMedia:
      return "MP4/3GP ムービー";
    case Content::Asf:
      return "ASF ムービー";
    case Content::Avi:
      return "AVI ムービー";
    case Content::Matroska:
      return "Matroska ムービー";
    case Content::MpegProgram:
    case Content::MpegTransport:
      return "MPEG ムービー";
    case Content::Flv:
      return "FLV ムービー";
    case Content::Pdf:
      return "PDF ドキュメント";
    case Content::Unknown:
      break;
  }
  return "";
}

}  // namespace sdmate
