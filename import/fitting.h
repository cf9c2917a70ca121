// Fitting files of the computer to what the handset shows and plays: the interfaces of the
// picture and movie fitters (the program's main hands the session real ones, tests may hand it
// fakes) and the limits a fitted file keeps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sdmate {

class ScratchFolder;

// A standby image: JPEG of at most maxBytes within maxWidth x maxHeight. The quality is searched
// down to minQuality; below that the picture is made smaller.
struct PictureLimits {
  std::int64_t maxBytes = 102400;
  int maxWidth = 240;
  int maxHeight = 320;
  int minQuality = 30;
};

// The JPEG of the highest quality (limits.minQuality .. 100) that keeps limits.maxBytes, by
// bisection: the size grows with the quality. encode gives the picture's JPEG at a quality, or
// nothing when it cannot. Nothing when even the lowest quality is too large; failed is set when
// the encoder could not encode at all.
std::optional<std::string> HighestQualityJpeg(
    const PictureLimits& limits, const std::function<std::optional<std::string>(int)>& encode,
    bool& failed);

// A movie: 3GP of at most maxBytes, MPEG-4 video of width x height at framesPerSecond and AMR-NB
// sound at 12.2 kbit/s. A clip that does not fit at minVideoBitsPerSecond is refused.
struct MovieLimits {
  std::int64_t maxBytes = 307200;
  int width = 176;
  int height = 144;
  int framesPerSecond = 15;
  int minVideoBitsPerSecond = 24000;
};

struct FitResult {
  std::string path;      // the fitted file (a native path in the output folder); empty: not fitted
  std::string reason;    // why not, as the user reads it
  bool stopped = false;  // the user stopped it; nothing is left of the fitted file

  bool fitted() const { return !path.empty(); }
};

class PictureFitter {
 public:
  virtual ~PictureFitter() = default;
  // Writes input fitted to the limits into outputFolder (native, with its separator), under
  // input's stem with ".JPG". The input is only read.
  virtual FitResult Fit(const std::string& input, const PictureLimits& limits,
                        const std::string& outputFolder) = 0;
};

// Steps of one fitting (done of total), for the progress the user sees.
using FitProgress = std::function<void(int done, int total)>;
// Asked while a fitting runs: true once the user stopped it.
using FitStopped = std::function<bool()>;

// What a movie holds, by the names ffprobe gives: its first picture and sound streams.
struct MovieStreams {
  std::string reason;  // not empty: the clip could not be read, and why
  int videoStreams = 0;
  int audioStreams = 0;
  std::string video;  // codec and profile of the first picture stream: "mpeg4", "Simple Profile"
  std::string videoProfile;
  int width = 0;
  int height = 0;
  double framesPerSecond = 0;
  std::string audio;  // "amr_nb", "aac" with "LC"
  std::string audioProfile;
  double seconds = 0;

  bool read() const { return reason.empty(); }
};

class MovieFitter {
 public:
  virtual ~MovieFitter() = default;
  // Whether the tools the fitter runs are there at all.
  virtual bool Available() = 0;
  // The streams of a clip (a native path, only read).
  virtual MovieStreams Probe(const std::string& input) = 0;
  // Writes input fitted to the limits into outputFolder, under input's stem with ".3GP". When
  // stopped() turns true the work ends and the half-made file is removed.
  virtual FitResult Fit(const std::string& input, const MovieLimits& limits,
                        const std::string& outputFolder, const FitProgress& progress,
                        const FitStopped& stopped) = 0;
};

// What the program's main hands the session for fitting; a null fitter: that kind is staged as
// it is.
struct FitServices {
  PictureFitter* pictures = nullptr;
  MovieFitter* movies = nullptr;
  ScratchFolder* folder = nullptr;  // where fitted files wait for the commit
};

}  // namespace sdmate
