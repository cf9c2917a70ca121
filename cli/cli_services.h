// The operating system's services as sdmate-cli's main builds them, handed to the commands.
#pragma once

#include "card/card_session.h"

namespace sdmate::cli {

struct CliServices {
  Files& files;
  Drives& drives;
  TextCodec& codec;
  Clock& clock;
  Places places;
  // The fitters of pictures and movies where this build has them, for edit --fit.
  FitServices fit = {};
  // The converter of movies for the computer where this build has it, for export --convert.
  ExportServices exporting = {};
};

}  // namespace sdmate::cli
