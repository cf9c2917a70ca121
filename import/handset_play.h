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
#include "platform/files.h"

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

// What the handset makes of a file as it is.
struct HandsetVerdict {
  bool judged = false;    // false: the tools to look into the file are missing
  bool playable = false;  // the handset shows or plays it as it is
  std::string reason;     // why not, or why it could not be judged
};

// A file of the kind (a native path, read through files; a movie is probed through movies)
// against the handset's rules: its first bytes against its name, its type, size and play rule.
// Documents have no play rule beyond their type and size.
HandsetVerdict JudgeFile(MediaKind kind, const std::string& path, Files& files,
                         MovieFitter* movies);

}  // namespace sdmate
