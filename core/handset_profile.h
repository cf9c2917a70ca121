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

struct ContentArea {
  std::string tablePathTemplate;    // "\PRIVATE\DOCOMO\TABLE\STILL\SUD#3F.TBL"
  std::string dataDirectory;        // "\PRIVATE\DOCOMO\STILL\"; empty: the handset lacks the area
  std::string prefix;               // data file name prefix: "STIL"
  int width = 0;                    // digits after the prefix
  std::vector<FileTypeRule> rules;  // at most kMaxFileTypeRules
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
