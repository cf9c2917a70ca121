// Movies for the computer: H.264 (libx264) and AAC in MP4, at the clip's own picture size (an odd
// side padded by one line, which 4:2:0 pictures need), frame timing and length. The output is
// bit-exact, so the same clip converted twice gives the same bytes and a second export of it
// finds the first one's file the same.
#include "media/ffmpeg_movie_converter.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/card_layout.h"
#include "media/media_messages.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

// What players of today refuse: AMR sound, MPEG-4 Part 2 and H.263 pictures.
constexpr std::array<std::string_view, 5> kRefused = {"amr_nb", "amr_wb", "mpeg4", "h263", "h263p"};

struct Streams {
  bool refused = false;  // a stream today's players refuse
  bool any = false;      // a picture or sound stream at all
  double seconds = 0;    // 0 when unknown
};

// The tool's last line of errors without the clip's path in front, which the message already
// names.
std::string ErrorOf(std::string_view errors, const std::string& input) {
  std::string line = LastLine(errors);
  if (line.starts_with(input + ": ")) line.erase(0, input.size() + 2);
  return line;
}

Streams ParseStreams(std::string_view output) {
  Streams streams;
  ForEachLine(output, [&streams](std::string_view line) {
    if (line == "codec_type=video" || line == "codec_type=audio") streams.any = true;
    if (line.starts_with("codec_name=")) {
      const std::string_view codec = line.substr(11);
      if (std::find(kRefused.begin(), kRefused.end(), codec) != kRefused.end()) {
        streams.refused = true;
      }
    }
    if (line.starts_with("duration=")) {
      streams.seconds = std::max(0.0, ParseNumber(line.substr(9)).value_or(0));
    }
  });
  return streams;
}

}  // namespace

FfmpegMovieConverter::FfmpegMovieConverter(Processes& processes, std::vector<std::string> folders)
    : processes_(processes), programs_(processes, std::move(folders)) {}

bool FfmpegMovieConverter::Available() { return programs_.Available(); }

ConvertResult FfmpegMovieConverter::ConvertForComputer(const std::string& input,
                                                       const std::string& outputFolder,
                                                       const FitProgress& progress) {
  using Outcome = ConvertResult::Outcome;
  if (!Available()) return {Outcome::NotConverted, {}, text::kMovieToolsGone};
  const ProcessResult probed =
      RunFfprobe(processes_, programs_, "format=duration:stream=codec_type,codec_name", input);
  const Streams streams = ParseStreams(probed.output);
  if (!probed.succeeded() || !streams.any) {
    return {Outcome::NotConverted,
            {},
            text::kMovieUnreadable + ErrorOf(probed.timedOut ? "timeout" : probed.errors, input)};
  }
  if (!streams.refused) return {Outcome::AlreadyPlayable, {}, {}};

  std::string stem(StemOf(SplitNativePath(input).name));
  if (stem.empty()) stem = "movie";
  const std::string output = JoinNativePath(outputFolder, stem + ".mp4");
  ProcessRun run;
  run.program = programs_.ffmpeg();
  run.arguments = {"-nostdin", "-hide_banner", "-v", "error", "-y", "-i", input,
                   // The first picture and the first sound, whichever the clip has.
                   "-map", "0:v:0?", "-map", "0:a:0?", "-sn", "-dn", "-c:v", "libx264", "-preset",
                   "medium", "-crf", "20", "-pix_fmt", "yuv420p", "-vf",
                   "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-c:a", "aac", "-movflags", "+faststart",
                   "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact",
                   "-progress", "pipe:1", "-nostats", output};
  // A handset's clip encodes many times faster than it plays; the limit only catches a hang.
  // A clip of unknown length gets ten minutes.
  run.timeout = std::chrono::milliseconds(
      streams.seconds > 0 ? 60000 + static_cast<std::int64_t>(streams.seconds * 10000) : 600000);
  const int total = std::max(1, static_cast<int>(streams.seconds * 1000));
  run.onOutputLine = ProgressLines(progress, total);
  const ProcessResult result = processes_.Run(run);
  if (!result.started) return {Outcome::NotConverted, {}, text::kMovieToolsGone};
  if (result.timedOut) return {Outcome::NotConverted, {}, text::kMovieTimedOut};
  if (result.exitCode != 0) {
    return {Outcome::NotConverted, {}, text::kMovieFailed + ErrorOf(result.errors, input)};
  }
  return {Outcome::Converted, output, {}};
}

std::optional<MovieFrame> FfmpegMovieConverter::FrameOf(const std::string& input, int edge) {
  // The programs were looked for on the window's thread; nothing is looked up here.
  if (!programs_.Available() || edge < 1) return std::nullopt;
  constexpr auto kFrameTimeout = std::chrono::milliseconds(15000);
  MovieFrame frame;
  ProcessRun probe;
  probe.program = programs_.ffprobe();
  probe.arguments = {"-v",
                     "error",
                     "-select_streams",
                     "v:0",
                     "-show_entries",
                     "format=duration:stream=width,height",
                     "-of",
                     "default=noprint_wrappers=1",
                     input};
  probe.timeout = kFrameTimeout;
  const ProcessResult probed = processes_.Run(probe);
  if (!probed.succeeded()) return std::nullopt;
  ForEachLine(probed.output, [&frame](std::string_view line) {
    if (line.starts_with("duration=")) frame.seconds = ParseNumber(line.substr(9)).value_or(0);
    if (line.starts_with("width="))
      frame.width = static_cast<int>(ParseNumber(line.substr(6)).value_or(0));
    if (line.starts_with("height="))
      frame.height = static_cast<int>(ParseNumber(line.substr(7)).value_or(0));
  });
  if (frame.width <= 0 || frame.height <= 0) return std::nullopt;  // sound only, or no clip
  const std::string side = std::to_string(edge);
  // One second in shows more than the first picture, which is often black; a shorter clip gives
  // its first.
  for (const char* at : {"1", "0"}) {
    if (std::string(at) == "1" && frame.seconds > 0 && frame.seconds <= 1) continue;
    ProcessRun run;
    run.program = programs_.ffmpeg();
    // Smaller to fit, never larger than the clip.
    const std::string fit =
        "scale='min(iw," + side + ")':'min(ih," + side + ")':force_original_aspect_ratio=decrease";
    run.arguments = {"-nostdin", "-hide_banner", "-v",    "error",     "-ss",   at,    "-i",
                     input,      "-map",         "0:v:0", "-frames:v", "1",     "-vf", fit,
                     "-f",       "image2pipe",   "-c:v",  "png",       "pipe:1"};
    run.timeout = kFrameTimeout;
    ProcessResult result = processes_.Run(run);
    if (result.succeeded() && !result.output.empty()) {
      frame.png = std::move(result.output);
      return frame;
    }
  }
  return std::nullopt;
}

}  // namespace sdmate
