// Pictures fitted with libvips. vips_thumbnail_buffer decodes no more than the box needs (a JPEG
// is shrunk by its DCT scaling while it loads) and turns the picture upright by its EXIF
// orientation; the result is made 8-bit sRGB on white and kept in memory, so the quality search
// only encodes.
#include "media/vips_picture_fitter.h"

#include <vips/vips.h>

#include <utility>

#include "core/card_layout.h"
#include "media/media_messages.h"
#include "platform/native_path.h"

namespace sdmate {
namespace {

// A libvips image reference, released on every way out.
class Image {
 public:
  Image() = default;
  explicit Image(VipsImage* image) : image_(image) {}
  ~Image() { Reset(); }
  Image(Image&& other) noexcept : image_(std::exchange(other.image_, nullptr)) {}
  Image& operator=(Image&& other) noexcept {
    if (this != &other) {
      Reset();
      image_ = std::exchange(other.image_, nullptr);
    }
    return *this;
  }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  VipsImage* get() const { return image_; }
  // The place an operation writes its result to; the old image is released first.
  VipsImage** out() {
    Reset();
    return &image_;
  }

 private:
  void Reset() {
    if (image_ != nullptr) g_object_unref(image_);
    image_ = nullptr;
  }
  VipsImage* image_ = nullptr;
};

// libvips's own words for the last failure, first line only, and the buffer cleared.
std::string VipsReason() {
  std::string reason = vips_error_buffer();
  vips_error_clear();
  const std::size_t end = reason.find('\n');
  if (end != std::string::npos) reason.resize(end);
  return reason;
}

// 8-bit sRGB with three bands, transparency on white, computed once into memory.
bool MakeOpaqueSrgb(Image& image) {
  if (vips_image_get_interpretation(image.get()) != VIPS_INTERPRETATION_sRGB) {
    Image converted;
    if (vips_colourspace(image.get(), converted.out(), VIPS_INTERPRETATION_sRGB, nullptr) == 0) {
      image = std::move(converted);
    } else {
      vips_error_clear();  // an unusual interpretation is saved as its bands are
    }
  }
  if (vips_image_hasalpha(image.get())) {
    VipsArrayDouble* white = vips_array_double_newv(3, 255.0, 255.0, 255.0);
    Image flat;
    const int failed = vips_flatten(image.get(), flat.out(), "background", white, nullptr);
    vips_area_unref(&white->area);
    if (failed != 0) return false;
    image = std::move(flat);
  }
  Image bytes;
  if (vips_cast_uchar(image.get(), bytes.out(), nullptr) != 0) return false;
  Image memory(vips_image_copy_memory(bytes.get()));
  if (memory.get() == nullptr) return false;
  image = std::move(memory);
  return true;
}

// A baseline JPEG, 4:2:0 (libvips would drop the subsampling from quality 90 on), no metadata.
std::optional<std::string> Encode(VipsImage* image, int quality) {
  void* buffer = nullptr;
  std::size_t length = 0;
  if (vips_jpegsave_buffer(image, &buffer, &length, "Q", quality, "interlace", FALSE, "strip", TRUE,
                           "subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON, "optimize_coding", TRUE,
                           nullptr) != 0) {
    return std::nullopt;
  }
  std::string bytes(static_cast<const char*>(buffer), length);
  g_free(buffer);
  return bytes;
}

}  // namespace

bool StartVips() {
  static const bool started = [] {
    if (vips_init("sdmate") != 0) return false;
    // Each picture is fitted once: nothing is worth keeping between the calls.
    vips_cache_set_max(0);
    return true;
  }();
  return started;
}

VipsPictureFitter::VipsPictureFitter(Files& files) : files_(files) { StartVips(); }

VipsPictureFitter::Encoded VipsPictureFitter::FitBytes(std::string bytes,
                                                       const PictureLimits& limits) {
  if (!StartVips()) return {std::nullopt, text::kPictureUndecodable + VipsReason()};
  Image image;
  // Never enlarged; the first frame of an animation.
  if (vips_thumbnail_buffer(bytes.data(), bytes.size(), image.out(), limits.maxWidth, "height",
                            limits.maxHeight, "size", VIPS_SIZE_DOWN, nullptr) != 0 ||
      !MakeOpaqueSrgb(image)) {
    return {std::nullopt, text::kPictureUndecodable + VipsReason()};
  }
  // Below the lowest quality the picture is made smaller, a fifth at a time.
  for (;;) {
    bool failed = false;
    std::optional<std::string> jpeg = HighestQualityJpeg(
        limits, [&](int quality) { return Encode(image.get(), quality); }, failed);
    if (failed) return {std::nullopt, text::kPictureUnencodable + VipsReason()};
    if (jpeg) return {std::move(jpeg), {}};
    if (vips_image_get_width(image.get()) < 16 || vips_image_get_height(image.get()) < 16) {
      return {std::nullopt, text::kPictureTooLarge};
    }
    Image smaller;
    if (vips_resize(image.get(), smaller.out(), 0.8, nullptr) != 0) {
      return {std::nullopt, text::kPictureUnencodable + VipsReason()};
    }
    Image memory(vips_image_copy_memory(smaller.get()));
    if (memory.get() == nullptr) return {std::nullopt, text::kPictureUnencodable + VipsReason()};
    image = std::move(memory);
  }
}

FitResult VipsPictureFitter::Fit(const std::string& input, const PictureLimits& limits,
                                 const std::string& outputFolder) {
  std::optional<std::string> bytes = files_.ReadFile(input);
  if (!bytes) return {{}, text::kPictureUnreadable};
  Encoded encoded = FitBytes(std::move(*bytes), limits);
  if (!encoded.jpeg) return {{}, encoded.reason};
  std::string stem(StemOf(SplitNativePath(input).name));
  if (stem.empty()) stem = "picture";
  const std::string output = JoinNativePath(outputFolder, stem + ".JPG");
  if (!files_.WriteFileReplacing(output, *encoded.jpeg)) {
    return {{}, text::kFittedUnwritable + output};
  }
  return {output, {}};
}

}  // namespace sdmate
