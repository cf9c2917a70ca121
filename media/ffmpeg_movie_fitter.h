// The movie fitter on the ffmpeg program: the clip's length and streams from ffprobe, a video
// bit rate from the length so that the 3GP keeps its limit, ffmpeg run as a child process with
// its progress read as it goes, and one more pass when the first came out too large.
#pragma once

#include <string>
#include <vector>

#include "import/fitting.h"
#include "media/ffmpeg_tools.h"
#include "platform/files.h"
#include "platform/processes.h"

namespace sdmate {

// What fits of a clip: the video bit rate that keeps the limit, or how long a clip may be.
struct MoviePlan {
  bool fits = false;
  int videoBitsPerSecond = 0;  // when it fits and has video
  int secondsThatFit = 0;      // the longest clip of these streams that fits
};

// The plan for a clip of `seconds` with the streams it has.
MoviePlan PlanMovie(double seconds, bool hasVideo, bool hasAudio, const MovieLimits& limits);

class FfmpegMovieFitter final : public MovieFitter {
 public:
  // ffmpeg and ffprobe are looked for in folders, in order (beside the program, then PATH).
  FfmpegMovieFitter(Processes& processes, Files& files, std::vector<std::string> folders);

  bool Available() override;
  MovieStreams Probe(const std::string& input) override;
  FitResult Fit(const std::string& input, const MovieLimits& limits,
                const std::string& outputFolder, const FitProgress& progress,
                const FitStopped& stopped) override;

 private:
  // One pass of ffmpeg; empty when it succeeded, else the reason. A stop removes the
  // half-made output and says so.
  std::string Encode(const std::string& input, const MovieStreams& streams, int videoBitsPerSecond,
                     const MovieLimits& limits, const std::string& output,
                     const FitProgress& progress, const FitStopped& stopped, bool& wasStopped);

  Processes& processes_;
  Files& files_;
  FfmpegPrograms programs_;
};

}  // namespace sdmate
