// Movies fitted by the ffmpeg program: 3GP with MPEG-4 Part 2 Simple Profile video (no B-frames,
// no quarter-pel: what ffmpeg's mpeg4 encoder writes as Simple Profile) padded to the handset's
// frame, and AMR-NB sound at 8 kHz mono 12.2 kbit/s.
#include "media/ffmpeg_movie_fitter.h"

#include <algorithm>
#include <cmath>
#include <map>
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

MovieStreams FfmpegMovieFitter::Probe(const std::string& input) {
  MovieStreams streams;
  if (!Available()) {
    streams.reason = text::kMovieToolsGone;
    return streams;
  }
  const ProcessResult result = RunFfprobe(processes_, programs_,
                                          "format=duration:stream=codec_type,codec_name,profile,"
                                          "width,height,avg_frame_rate,r_frame_rate:"
                                          "stream_disposition=attached_pic",
                                          input, true);
  if (!result.succeeded()) {
    streams.reason = text::kMovieUnreadable + LastLine(result.timedOut ? "timeout" : result.errors);
    return streams;
  }
  // Each stream's lines, then the first picture and the first sound of the clip are kept. A
  // cover picture of a sound file is no picture stream.
  std::map<std::string, std::string, std::less<>> fields;
  auto endStream = [&streams, &fields] {
    const std::string& type = fields["codec_type"];
    if (fields["DISPOSITION:attached_pic"] == "1") return;
    if (type == "video" && ++streams.videoStreams == 1) {
      streams.video = fields["codec_name"];
      streams.videoProfile = fields["profile"];
      streams.width = static_cast<int>(ParseNumber(fields["width"]).value_or(0));
      streams.height = static_cast<int>(ParseNumber(fields["height"]).value_or(0));
      streams.framesPerSecond = ParseRate(fields["avg_frame_rate"]);
      if (streams.framesPerSecond <= 0) streams.framesPerSecond = ParseRate(fields["r_frame_rate"]);
    }
    if (type == "audio" && ++streams.audioStreams == 1) {
      streams.audio = fields["codec_name"];
      streams.audioProfile = fields["profile"];
    }
  };
  ForEachLine(result.output, [&](std::string_view line) {
    if (line == "[STREAM]") fields.clear();
    if (line == "[/STREAM]") endStream();
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      fields[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
    }
    if (line.starts_with("duration=")) {
      streams.seconds = ParseNumber(line.substr(9)).value_or(0);
    }
  });
  if (streams.videoStreams + streams.audioStreams == 0) {
    streams.reason = text::kMovieUnreadable + LastLine(result.errors);
  }
  return streams;
}

std::string FfmpegMovieFitter::Encode(const std::string& input, const MovieStreams& streams,
                                      int videoBitsPerSecond, const MovieLimits& limits,
                                      const std::string& output, const FitProgress& progress,
                                      const FitStopped& stopped, bool& wasStopped) {
  ProcessRun run;
  run.program = programs_.ffmpeg();
  run.arguments = {"-nostdin", "-hide_banner", "-v", "error", "-y", "-i", input};
  if (streams.videoStreams > 0) {
    // Without a buffer of one second the rate control overshoots a busy clip by a fifth.
    const std::string rate = std::to_string(videoBitsPerSecond);
    run.arguments.insert(
        run.arguments.end(),
        {"-map", "0:v:0", "-vf", FrameFilter(limits), "-c:v", "mpeg4", "-b:v", rate, "-maxrate",
         rate, "-bufsize", rate, "-bf", "0", "-g", std::to_string(limits.framesPerSecond * 3)});
  }
  if (streams.audioStreams > 0) {
    run.arguments.insert(run.arguments.end(), {"-map", "0:a:0", "-c:a", "libopencore_amrnb", "-ar",
                                               "8000", "-ac", "1", "-b:a", "12200"});
  }
  run.arguments.insert(run.arguments.end(),
                       {"-map_metadata", "-1", "-map_chapters", "-1", "-sn", "-dn", "-f", "3gp",
                        "-progress", "pipe:1", "-nostats", output});
  // A small frame encodes many times faster than it plays; the limit only catches a hang.
  run.timeout =
      std::chrono::milliseconds(30000 + static_cast<std::int64_t>(streams.seconds * 5000));
  const int total = std::max(1, static_cast<int>(streams.seconds * 1000));
  run.onOutputLine = ProgressLines(progress, total);
  run.stopWhen = stopped;
  const ProcessResult result = processes_.Run(run);
  if (!result.started) return text::kMovieToolsGone;
  if (result.stopped) {
    files_.ShellDelete(output);
    wasStopped = true;
    return text::kMovieStopped;
  }
  if (result.timedOut) return text::kMovieTimedOut;
  if (result.exitCode != 0) return text::kMovieFailed + LastLine(result.errors);
  return {};
}

FitResult FfmpegMovieFitter::Fit(const std::string& input, const MovieLimits& limits,
                                 const std::string& outputFolder, const FitProgress& progress,
                                 const FitStopped& stopped) {
  if (!Available()) return {{}, text::kMovieToolsGone};
  const MovieStreams probe = Probe(input);
  if (!probe.read()) return {{}, probe.reason};
  if (probe.seconds <= 0) return {{}, text::kMovieNoLength};
  const bool hasVideo = probe.videoStreams > 0;
  const MoviePlan plan = PlanMovie(probe.seconds, hasVideo, probe.audioStreams > 0, limits);
  if (!plan.fits) {
    return {
        {},
        text::kMovieTooLongBefore + std::to_string(plan.secondsThatFit) + text::kMovieTooLongAfter +
            std::to_string(static_cast<int>(std::lround(probe.seconds))) + text::kMovieTooLongEnd};
  }
  std::string stem(StemOf(SplitNativePath(input).name));
  if (stem.empty()) stem = "movie";
  const std::string output = JoinNativePath(outputFolder, stem + ".3GP");

  int rate = plan.videoBitsPerSecond;
  // The first pass is measured; one that came out too large is done again at a rate lowered by
  // as much as it overshot.
  for (int pass = 0; pass < 2; ++pass) {
    bool wasStopped = false;
    const std::string reason =
        Encode(input, probe, rate, limits, output, progress, stopped, wasStopped);
    if (!reason.empty()) return {{}, reason, wasStopped};
    const std::int64_t size = files_.FileSizeOf(output);
    if (size <= 0) return {{}, text::kMovieFailed + output};
    if (size <= limits.maxBytes) return {output, {}};
    if (!hasVideo) break;
    rate = static_cast<int>(rate * static_cast<double>(limits.maxBytes) /
                            static_cast<double>(size) * kRateMargin);
    if (rate < limits.minVideoBitsPerSecond / 2) break;
  }
  return {{}, text::kMovieStillTooLarge};
}

}  // namespace sdmate
