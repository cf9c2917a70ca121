// The per-model configuration of a handset: five content areas, each with its table path
// template, data directory, file name prefix, number width and accepted file types.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sdmate {

struct FileTypeRule {
  std::string extension;  // upper case, with the dot: ".JPG"
  std::int64_t maxBytes = 0;
};

// A codec by the names ffprobe gives it ("mpeg4", "Simple Profile"); an empty profile: any.
struct CodecRule {
  std::string codec;
  std::string profile;
};

// What the handset shows or plays of an area's files as they are, beside the size rules of their
// types; a file outside it is fitted before it reaches the card. Empty: no such limits.
struct PlayRule {
  // Pictures: "baseline-jpeg", "gif"; movies: the boxes, "3gp", "mp4".
  std::vector<std::string> formats;
  int maxWidth = 0;
  int maxHeight = 0;
  int maxFramesPerSecond = 0;
  // A movie's picture and sound: one stream of each at most, of these codecs.
  std::vector<CodecRule> video;
  std::vector<CodecRule> audio;

  bool empty() const { return formats.empty(); }
};

struct ContentArea {
  std::string tablePathTemplate;    // "\PRIVATE\DOCOMO\TABLE\STILL\SUD#3F.TBL"
  std::string dataDirectory;        // "\PRIVATE\DOCOMO\STILL\"; empty: the handset lacks the area
  std::string prefix;               // data file name prefix: "STIL"
  int width = 0;                    // digits after the prefix
  std::vector<FileTypeRule> rules;  // at most kMaxFileTypeRules
  PlayRule play;
};

inline constexpr std::size_t kMaxFileTypeRules = 16;

// The five areas of a handset, always in this order.
enum class AreaIndex { StandbyImage = 0, RingTone, Movie, CameraPicture, Document };

struct HandsetProfile {
  std::array<ContentArea, 5> areas;
  const ContentArea& area(AreaIndex index) const { return areas[static_cast<std::size_t>(index)]; }
};

// The one handset the program knows.
HandsetProfile N901iSProfile();

// The directory that holds an area's numbered folders: the data directory up to the part with
// the number field ("\DCIM\" of "\DCIM\#3FNECDT\"); the data directory itself when it has
// none.
std::string AreaRootOf(const ContentArea& area);

}  // namespace sdmate
