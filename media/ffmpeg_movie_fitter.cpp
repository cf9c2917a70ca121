// Movies fitted by the ffmpeg program: 3GP with MPEG-4 Part 2 Simple Profile video (no B-frames,
// no quarter-pel: what ffmpeg's mpeg4 encoder writes as Simple Profile) padded to the handset's
// frame, and AMR-NB sound at 8 kHz mono 12.2 kbit/s.
#include "media/ffmpeg_movie_fitter.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/card_layout.h"
#include "media/ffmpeg_tools.h"
#include "media/media_messages.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

// AMR-NB at 12.2 kbit/s stores 32 bytes for every 20 ms.
constexpr double kAudioBytesPerSecond = 1600;
// The 3GP's boxes: a fixed part and the sample tables, which grow with the length.
constexpr double kContainerBytes = 4096;
constexpr double kContainerBytesPerSecond = 400;
// The encoder's rate control lands within a few per cent of the rate asked for; the rest of the
// room is kept for that.
constexpr double kRateMargin = 0.9;
// Simple Profile level 3, the most a handset of this age decodes.
constexpr int kMaxVideoBitsPerSecond = 384000;

std::string FrameFilter(const MovieLimits& limits) {
  const std::string w = std::to_string(limits.width);
  const std::string h = std::to_string(limits.height);
  return "fps=" + std::to_string(limits.framesPerSecond) + ",scale=" + w + ":" + h +
         ":force_original_aspect_ratio=decrease:force_divisible_by=2,pad=" + w + ":" + h +
         ":(ow-iw)/2:(oh-ih)/2:color=black,setsar=1,format=yuv420p";
}

}  // namespace

MoviePlan PlanMovie(double seconds, bool hasVideo, bool hasAudio, const MovieLimits& limits) {
  const double audio = hasAudio ? kAudioBytesPerSecond : 0;
  const double leastVideo = hasVideo ? limits.minVideoBitsPerSecond / 8.0 / kRateMargin : 0;
  const double room = static_cast<double>(limits.maxBytes) - kContainerBytes;
  MoviePlan plan;
  plan.secondsThatFit =
      static_cast<int>(std::floor(room / (audio + kContainerBytesPerSecond + leastVideo)));
  if (seconds <= 0 || room <= 0) return plan;
  const double videoBytes = room - seconds * (audio + kContainerBytesPerSecond);
  if (!hasVideo) {
    plan.fits = videoBytes >= 0;
    return plan;
  }
  const double rate = videoBytes * 8 / seconds * kRateMargin;
  plan.fits = rate >= limits.minVideoBitsPerSecond;
  if (plan.fits) {
    plan.videoBitsPerSecond = std::min(static_cast<int>(rate), kMaxVideoBitsPerSecond);
  }
  return plan;
}

FfmpegMovieFitter::FfmpegMovieFitter(Processes& processes, Files& files,
                                     std::vector<std::string> folders)
    : processes_(processes), files_(files), programs_(processes, std::move(folders)) {}

bool FfmpegMovieFitter::Available() { return programs_.Available(); }

std::optional<FfmpegMovieFitter::Probe> FfmpegMovieFitter::ProbeClip(const std::string& input,
                                                                     std::string& reason) {
  const ProcessResult result =
      RunFfprobe(processes_, programs_, "format=duration:stream=codec_type", input);
  if (!result.succeeded()) {
    reason = text::kMovieUnreadable + LastLine(result.timedOut ? "timeout" : result.errors);
    return std::nullopt;
  }
  Probe probe;
  std::optional<double> seconds;
  ForEachLine(result.output, [&probe, &seconds](std::string_view line) {
    if (line == "codec_type=video") probe.hasVideo = true;
    if (line == "codec_type=audio") probe.hasAudio = true;
    if (line.starts_with("duration=")) seconds = ParseNumber(line.substr(9));
  });
  if (!probe.hasVideo && !probe.hasAudio) {
    reason = text::kMovieUnreadable + LastLine(result.errors);
    return std::nullopt;
  }
  if (!seconds || *seconds <= 0) {
    reason = text::kMovieNoLength;
    return std::nullopt;
  }
  probe.seconds = *seconds;
  return probe;
}

std::string FfmpegMovieFitter::Encode(const std::string& input, const Probe& probe,
                                      int videoBitsPerSecond, const MovieLimits& limits,
                                      const std::string& output, const FitProgress& progress) {
  ProcessRun run;
  run.program = programs_.ffmpeg();
  run.arguments = {"-nostdin", "-hide_banner", "-v", "error", "-y", "-i", input};
  if (probe.hasVideo) {
    // Without a buffer of one second the rate control overshoots a busy clip by a fifth.
    const std::string rate = std::to_string(videoBitsPerSecond);
    run.arguments.insert(
        run.arguments.end(),
        {"-map", "0:v:0", "-vf", FrameFilter(limits), "-c:v", "mpeg4", "-b:v", rate, "-maxrate",
         rate, "-bufsize", rate, "-bf", "0", "-g", std::to_string(limits.framesPerSecond * 3)});
  }
  if (probe.hasAudio) {
    run.arguments.insert(run.arguments.end(), {"-map", "0:a:0", "-c:a", "libopencore_amrnb", "-ar",
                                               "8000", "-ac", "1", "-b:a", "12200"});
  }
  run.arguments.insert(run.arguments.end(),
                       {"-map_metadata", "-1", "-map_chapters", "-1", "-sn", "-dn", "-f", "3gp",
                        "-progress", "pipe:1", "-nostats", output});
  // A small frame encodes many times faster than it plays; the limit only catches a hang.
  run.timeout = std::chrono::milliseconds(30000 + static_cast<std::int64_t>(probe.seconds * 5000));
  const int total = std::max(1, static_cast<int>(probe.seconds * 1000));
  run.onOutputLine = ProgressLines(progress, total);
  const ProcessResult result = processes_.Run(run);
  if (!result.started) return text::kMovieToolsGone;
  if (result.timedOut) return text::kMovieTimedOut;
  if (result.exitCode != 0) return text::kMovieFailed + LastLine(result.errors);
  return {};
}

FitResult FfmpegMovieFitter::Fit(const std::string& input, const MovieLimits& limits,
                                 const std::string& outputFolder, const FitProgress& progress) {
  if (!Available()) return {{}, text::kMovieToolsGone};
  std::string reason;
  const std::optional<Probe> probe = ProbeClip(input, reason);
  if (!probe) return {{}, reason};
  const MoviePlan plan = PlanMovie(probe->seconds, probe->hasVideo, probe->hasAudio, limits);
  if (!plan.fits) {
    return {
        {},
        text::kMovieTooLongBefore + std::to_string(plan.secondsThatFit) + text::kMovieTooLongAfter +
            std::to_string(static_cast<int>(std::lround(probe->seconds))) + text::kMovieTooLongEnd};
  }
  std::string stem(StemOf(SplitNativePath(input).name));
  if (stem.empty()) stem = "movie";
  const std::string output = JoinNativePath(outputFolder, stem + ".3GP");

  int rate = plan.videoBitsPerSecond;
  // The first pass is measured; one that came out too large is done again at a rate lowered by
  // as much as it overshot.
  for (int pass = 0; pass < 2; ++pass) {
    reason = Encode(input, *probe, rate, limits, output, progress);
    if (!reason.empty()) return {{}, reason};
    const std::int64_t size = files_.FileSizeOf(output);
    if (size <= 0) return {{}, text::kMovieFailed + output};
    if (size <= limits.maxBytes) return {output, {}};
    if (!probe->hasVideo) break;
    rate = static_cast<int>(rate * static_cast<double>(limits.maxBytes) /
                            static_cast<double>(size) * kRateMargin);
    if (rate < limits.minVideoBitsPerSecond / 2) break;
  }
  return {{}, text::kMovieStillTooLarge};
}

}  // namespace sdmate
