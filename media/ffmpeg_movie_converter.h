// The converter of movies for the computer on the ffmpeg program: ffprobe names the streams'
// codecs, and a clip with one that today's players refuse is encoded again by ffmpeg, as a child
// process with a time limit from its length.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/movie_converter.h"
#include "media/ffmpeg_tools.h"
#include "platform/processes.h"

namespace sdmate {

class FfmpegMovieConverter final : public MovieConverter {
 public:
  // ffmpeg and ffprobe are looked for in folders, in order (beside the program, then PATH).
  FfmpegMovieConverter(Processes& processes, std::vector<std::string> folders);

  bool Available() override;
  ConvertResult ConvertForComputer(const std::string& input, const std::string& outputFolder,
                                   const FitProgress& progress) override;
  std::optional<MovieFrame> FrameOf(const std::string& input, int edge) override;

 private:
  Processes& processes_;
  FfmpegPrograms programs_;
};

}  // namespace sdmate
