// The picture fitter on libvips: shrink on load with the EXIF orientation applied, transparency
// on white, and the baseline JPEG of the highest quality that keeps the limit.
#pragma once

#include <optional>
#include <string>

#include "import/fitting.h"
#include "platform/files.h"

namespace sdmate {

class VipsPictureFitter final : public PictureFitter {
 public:
  // The file is read and the JPEG written through files; libvips only ever sees bytes.
  explicit VipsPictureFitter(Files& files);

  FitResult Fit(const std::string& input, const PictureLimits& limits,
                const std::string& outputFolder) override;

  // The JPEG bytes of a picture's bytes fitted to the limits, or the reason it cannot be.
  struct Encoded {
    std::optional<std::string> jpeg;
    std::string reason;
  };
  static Encoded FitBytes(std::string bytes, const PictureLimits& limits);

 private:
  Files& files_;
};

// libvips started once for the process (further calls do nothing); false when it cannot start.
bool StartVips();

}  // namespace sdmate
