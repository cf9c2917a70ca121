// The fitters the program's main hands the session where this build has them.
#pragma once

#include <memory>
#include <string>

#include "import/fitting.h"
#include "import/movie_converter.h"
#include "platform/files.h"
#include "platform/processes.h"

namespace sdmate {

struct MediaFitters {
  std::unique_ptr<PictureFitter> pictures;
  std::unique_ptr<MovieFitter> movies;
  // Movies of the card converted for the computer as they are exported.
  std::unique_ptr<MovieConverter> converter;
};

// libvips for pictures where this build has it (else no picture fitter: the window brings its
// own); for movies (fitting and converting) ffmpeg beside the program, else on
// the PATH.
MediaFitters MakeMediaFitters(Files& files, Processes& processes,
                              const std::string& programDirectory);

}  // namespace sdmate
