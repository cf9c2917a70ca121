// What a file holds, told by its first bytes whatever its name says. The handset opens a file by
// its bytes: a file whose bytes are not what its name says shows there as a broken entry, so a
// file is only taken when the two agree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sdmate {

enum class Content {
  Unknown,
  // Pictures.
  Jpeg,
  Gif,
  Png,
  Bmp,
  Tiff,
  Webp,
  Heif,  // HEIC, HEIF and AVIF: ISO media boxes with a picture's brand
  // Movies and sound.
  IsoMedia,  // MP4, 3GP, M4A, MOV: ISO media boxes with any other brand
  Asf,
  Avi,
  Matroska,
  MpegProgram,
  MpegTransport,
  Flv,
  // Documents.
  Pdf,
};

struct Identified {
  Content content = Content::Unknown;
  std::string brand;  // ISO media: the major brand of the ftyp box ("3gp6", "isom", "qt  ")

  // ISO media of the 3GP family (3GPP and 3GPP2 brands), which the handset plays as its own.
  bool Is3gp() const;
  // ISO media the handset plays as MP4: any brand but QuickTime's.
  bool IsMp4() const;
};

// How many of a file's first bytes IdentifyContent looks at (an MPEG transport stream shows its
// second packet's sync byte at 188, or 196 with the time codes of M2TS).
inline constexpr std::size_t kContentHeadBytes = 400;

Identified IdentifyContent(std::string_view head);

// What a name's extension (".jpg", any case) says the file holds; Unknown for an extension of
// no type the program knows.
Content ContentNamed(std::string_view extension);
// Whether bytes holding content may go under a name with this extension.
bool NameFits(std::string_view extension, Content content);

// The type as the user reads it in a message: "JPEG 画像", "PDF ドキュメント".
const char* ContentNoun(Content content);

}  // namespace sdmate
