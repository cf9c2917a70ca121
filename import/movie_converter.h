// Movies made playable on today's computers for an export: the handset's clips carry sound and
// pictures (AMR, MPEG-4 Visual, H.263) that many players and every browser refuse. The program's
// main hands the session the converter where this build has one; tests may hand it a fake.
#pragma once

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
};

}  // namespace sdmate
