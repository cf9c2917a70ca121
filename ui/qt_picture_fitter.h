// The picture fitter on Qt's image reader and writer, for a build without libvips (Windows):
// the EXIF orientation applied, never enlarged, transparency on white, and the baseline JPEG of
// the highest quality that keeps the limit.
#pragma once

#include <optional>
#include <string>

#include "import/fitting.h"

namespace sdmate {

class Files;

class QtPictureFitter final : public PictureFitter {
 public:
  // The file is read and the JPEG written through files; Qt only ever sees bytes.
  explicit QtPictureFitter(Files& files);

  FitResult Fit(const std::string& input, const PictureLimits& limits,
                const std::string& outputFolder) override;

  // The JPEG bytes of a picture's bytes fitted to the limits, or the reason it cannot be.
  struct Encoded {
    std::optional<std::string> jpeg;
    std::string reason;
  };
  static Encoded FitBytes(const std::string& bytes, const PictureLimits& limits);

 private:
  Files& files_;
};

}  // namespace sdmate
