// Movies made playable on today's computers for an export: the handset's clips carry sound and
// pictures (AMR, MPEG-4 Visual, H.263) that many players and every browser refuse. The program's
// main hands the session the converter where this build has one; tests may hand it a fake.
#pragma once

#include <optional>
#include <string>

#include "import/fitting.h"

namespace sdmate {

struct ConvertResult {
  enum class Outcome {
    Converted,        // path holds the converted file
    AlreadyPlayable,  // nothing today's players refuse: the file goes as it is
    NotConverted,     // reason says why; the file goes as it is
  };
  Outcome outcome = Outcome::NotConverted;
  std::string path;    // the converted file, a native path in the output folder
  std::string reason;  // as the user reads it
};

// A picture of a clip for its thumbnail and preview.
struct MovieFrame {
  std::string png;     // the frame, PNG bytes, no larger than asked
  double seconds = 0;  // the clip's length; 0 when unknown
  int width = 0;       // the clip's picture size
  int height = 0;
};

class MovieConverter {
 public:
  virtual ~MovieConverter() = default;
  // Whether the tools the converter runs are there at all.
  virtual bool Available() = 0;
  // A clip (a native path, only read) whose picture or sound today's players refuse, written as
  // an MP4 with H.264 and AAC of its own picture size, frame rate and length into outputFolder
  // (native, with its separator), under its stem with ".mp4".
  virtual ConvertResult ConvertForComputer(const std::string& input,
                                           const std::string& outputFolder,
                                           const FitProgress& progress) = 0;
  // The picture one second into a clip (its first for a shorter one), at most edge pixels a side,
  // with the clip's length and size; nullopt for a clip without a picture, a file that is no
  // clip, or without the tools. Runs on any thread once Available() was asked.
  virtual std::optional<MovieFrame> FrameOf(const std::string& /*input*/, int /*edge*/) {
    return std::nullopt;
  }
};

}  // namespace sdmate
