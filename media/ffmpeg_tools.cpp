// The shared parts of running ffmpeg and ffprobe.
#include "media/ffmpeg_tools.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sdmate {

bool FfmpegPrograms::Available() {
  if (!looked_) {
    ffmpeg_ = processes_.FindProgram("ffmpeg", folders_);
    ffprobe_ = processes_.FindProgram("ffprobe", folders_);
    looked_ = true;
  }
  return ffmpeg_.has_value() && ffprobe_.has_value();
}

ProcessResult RunFfprobe(Processes& processes, const FfmpegPrograms& programs,
                         const std::string& entries, const std::string& input, bool sections) {
  ProcessRun run;
  run.program = programs.ffprobe();
  run.arguments = {"-v",    "error", "-show_entries",
                   entries, "-of",   sections ? "default" : "default=noprint_wrappers=1",
                   input};
  run.timeout = std::chrono::seconds(60);
  return processes.Run(run);
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& each) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    each(line);
  }
}

std::string LastLine(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  const std::size_t start = text.find_last_of('\n');
  return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || !std::isfinite(value)) return std::nullopt;
  return value;
}

double ParseRate(std::string_view text) {
  const std::size_t slash = text.find('/');
  const double numerator = ParseNumber(text.substr(0, slash)).value_or(0);
  if (slash == std::string_view::npos) return numerator;
  const double denominator = ParseNumber(text.substr(slash + 1)).value_or(0);
  return denominator > 0 ? numerator / denominator : 0;
}

std::function<void(std::string_view)> ProgressLines(const FitProgress& progress, int total) {
  return [progress, total](std::string_view line) {
    if (!progress || !line.starts_with("out_time_us=")) return;
    if (std::optional<double> us = ParseNumber(line.substr(12))) {
      progress(std::clamp(static_cast<int>(*us / 1000), 0, total - 1), total);
    }
  };
}

}  // namespace sdmate
