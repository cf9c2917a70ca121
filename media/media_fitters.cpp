// The fitters of this build.
#include "media/media_fitters.h"

#include "media/ffmpeg_movie_converter.h"
#include "media/ffmpeg_movie_fitter.h"
#ifdef SDMATE_HAVE_VIPS
#include "media/vips_picture_fitter.h"
#endif

namespace sdmate {

MediaFitters MakeMediaFitters(Files& files, Processes& processes,
                              const std::string& programDirectory) {
  std::vector<std::string> folders = {programDirectory};
  for (std::string& folder : ProgramSearchPath()) folders.push_back(std::move(folder));
  MediaFitters fitters;
#ifdef SDMATE_HAVE_VIPS
  fitters.pictures = std::make_unique<VipsPictureFitter>(files);
#endif
  fitters.movies = std::make_unique<FfmpegMovieFitter>(processes, files, folders);
  fitters.converter = std::make_unique<FfmpegMovieConverter>(processes, std::move(folders));
  return fitters;
}

}  // namespace sdmate
