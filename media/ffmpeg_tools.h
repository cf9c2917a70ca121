// What the movie fitter and the movie converter share of running ffmpeg and ffprobe: finding the
// two programs once, the last line of a tool's errors for a message, numbers of its output, and
// its progress lines turned into steps.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/fitting.h"
#include "platform/processes.h"

namespace sdmate {

class FfmpegPrograms {
 public:
  // Looked for in folders, in order (beside the program, then PATH), at the first ask.
  FfmpegPrograms(Processes& processes, std::vector<std::string> folders)
      : processes_(processes), folders_(std::move(folders)) {}
  // Whether both programs are there.
  bool Available();
  // Their native paths; only when Available().
  const std::string& ffmpeg() const { return *ffmpeg_; }
  const std::string& ffprobe() const { return *ffprobe_; }

 private:
  Processes& processes_;
  std::vector<std::string> folders_;
  bool looked_ = false;
  std::optional<std::string> ffmpeg_;
  std::optional<std::string> ffprobe_;
};

// ffprobe's answer on a clip: the entries asked ("format=duration:stream=codec_type") as
// "key=value" lines in the result's output; with sections, each stream's lines between
// "[STREAM]" and "[/STREAM]".
ProcessResult RunFfprobe(Processes& processes, const FfmpegPrograms& programs,
                         const std::string& entries, const std::string& input,
                         bool sections = false);
// Each line of a tool's output, without its line break.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& each);
// The last line of a tool's output, without its line break.
std::string LastLine(std::string_view text);
// A finite number at the start of text.
std::optional<double> ParseNumber(std::string_view text);
// A rate as ffprobe writes it ("30000/1001", "15/1"); 0 when it has none ("0/0").
double ParseRate(std::string_view text);
// A handler of ffmpeg's "-progress pipe:1" lines that reports the time encoded in milliseconds of
// total (kept below total until ffmpeg has ended).
std::function<void(std::string_view)> ProgressLines(const FitProgress& progress, int total);

}  // namespace sdmate
