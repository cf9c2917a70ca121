// HEIF pictures through libheif where the build found it; without it no picture is decoded.
// libheif applies the transformations of the file (irot, imir, clap) while it decodes.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/system_pictures.h"

#ifdef SDMATE_HAVE_LIBHEIF
#include <libheif/heif.h>
#endif

namespace sdmate {

#ifdef SDMATE_HAVE_LIBHEIF
namespace {

// No real ICC profile is larger; a larger one is left out rather than copied.
constexpr std::size_t kMaxIccBytes = 4 << 20;

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

}  // namespace

std::optional<SystemPicture> DecodeWithSystem(std::string_view bytes, std::uint64_t maxPixels) {
  std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  if (!context) return std::nullopt;
  // The bytes stay the caller's for the whole call.
  if (heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(), nullptr)
          .code != heif_error_Ok) {
    return std::nullopt;
  }
  heif_image_handle* primary = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
  // The size as shown (a quarter turn swaps the sides, the pixel count stays).
  const int width = heif_image_handle_get_width(handle.get());
  const int height = heif_image_handle_get_height(handle.get());
  if (width <= 0 || height <= 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels) {
    return std::nullopt;
  }
  std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  if (!options) return std::nullopt;
  options->ignore_transformations = 0;
  const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  heif_image* decoded = nullptr;
  if (heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB,
                        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                        options.get())
          .code != heif_error_Ok) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image, ImageRelease> image(decoded);
  const int bands = alpha ? 4 : 3;
  if (heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
    return std::nullopt;
  }
  int stride = 0;
  const uint8_t* plane =
      heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  const int planeWidth = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int planeHeight = heif_image_get_height(image.get(), heif_channel_interleaved);
  if (plane == nullptr || planeWidth <= 0 || planeHeight <= 0 || stride < planeWidth * bands ||
      static_cast<std::uint64_t>(planeWidth) * static_cast<std::uint64_t>(planeHeight) >
          maxPixels) {
    return std::nullopt;
  }
  SystemPicture picture;
  picture.width = planeWidth;
  picture.height = planeHeight;
  picture.rgba.resize(static_cast<std::size_t>(planeWidth) * static_cast<std::size_t>(planeHeight) *
                      4);
  unsigned char* out = picture.rgba.data();
  for (int y = 0; y < planeHeight; ++y) {
    const uint8_t* row = plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
    if (alpha) {
      std::memcpy(out, row, static_cast<std::size_t>(planeWidth) * 4);
      out += static_cast<std::size_t>(planeWidth) * 4;
      continue;
    }
    for (const uint8_t* pixel = row; pixel != row + static_cast<std::ptrdiff_t>(planeWidth) * 3;
         pixel += 3) {
      *out++ = pixel[0];
      *out++ = pixel[1];
      *out++ = pixel[2];
      *out++ = 255;
    }
  }
  // An ICC profile (phones' photos are often Display P3) goes with the pixels.
  const heif_color_profile_type profile = heif_image_handle_get_color_profile_type(handle.get());
  const std::size_t profileSize = heif_image_handle_get_raw_color_profile_size(handle.get());
  if ((profile == heif_color_profile_type_prof || profile == heif_color_profile_type_rICC) &&
      profileSize > 0 && profileSize <= kMaxIccBytes) {
    std::string icc(profileSize, '\0');
    if (heif_image_handle_get_raw_color_profile(handle.get(), icc.data()).code == heif_error_Ok) {
      picture.iccProfile = std::move(icc);
    }
  }
  return picture;
}

bool SystemDecodesHeif() { return heif_have_decoder_for_format(heif_compression_HEVC) != 0; }

#else

std::optional<SystemPicture> DecodeWithSystem(std::string_view, std::uint64_t) {
  return std::nullopt;
}

bool SystemDecodesHeif() { return false; }

#endif

}  // namespace sdmate
