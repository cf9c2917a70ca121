// Whether the handset shows or plays a file as it is, against the play rule of its area in the
// handset profile: a picture by its own header, a movie by the streams the movie fitter's probe
// found. Each answer is a reason as the user reads it; empty: the handset takes the file as it
// is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/kind_traits.h"
#include "import/content_type.h"
#include "import/fitting.h"

namespace sdmate {

// The pixel size of a JPEG or GIF and whether a JPEG is baseline, from the file's bytes.
struct PictureShape {
  bool read = false;  // the header was found
  bool baseline = false;
  int width = 0;
  int height = 0;
};
PictureShape ReadPictureShape(Content content, std::string_view bytes);

// A picture named name, of size bytes (all of them when the size keeps the limit).
std::string PictureRefusal(MediaKind kind, std::string_view name, std::int64_t size,
                           const Identified& identified, std::string_view bytes);
// A movie named name of size bytes, with the streams its probe found.
std::string MovieRefusal(MediaKind kind, std::string_view name, std::int64_t size,
                         const Identified& identified, const MovieStreams& streams);

}  // namespace sdmate
