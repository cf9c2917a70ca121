// The fitters the program's main hands the session where this build has them.
#pragma once

#include <memory>
#include <string>

#include "import/fitting.h"
#include "platform/files.h"
#include "platform/processes.h"

namespace sdmate {

struct MediaFitters {
  std::unique_ptr<PictureFitter> pictures;
  std::unique_ptr<MovieFitter> movies;
};

// libvips for pictures; for movies ffmpeg beside the program, else on the PATH.
MediaFitters MakeMediaFitters(Files& files, Processes& processes,
                              const std::string& programDirectory);

}  // namespace sdmate
