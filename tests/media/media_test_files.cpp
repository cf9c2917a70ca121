// Making and reading back the media tests' pictures and clips.
#include "tests/media/media_test_files.h"

#include <cstdint>
#include <random>

namespace sdmate::test {
namespace {

class Image {
 public:
  explicit Image(VipsImage* image = nullptr) : image_(image) {}
  ~Image() {
    if (image_ != nullptr) g_object_unref(image_);
  }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  VipsImage* get() const { return image_; }
  VipsImage** out() { return &image_; }

 private:
  VipsImage* image_;
};

std::optional<std::string> Taken(void* buffer, std::size_t length, int failed) {
  if (failed != 0) {
    vips_error_clear();
    return std::nullopt;
  }
  std::string bytes(static_cast<const char*>(buffer), length);
  g_free(buffer);
  return bytes;
}

}  // namespace

Pixels MarkedPicture(int width, int height) {
  Pixels pixels(width, height, 3);
  std::uint32_t grain = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = pixels.at(x, y);
      // A sensor's grain, which makes the JPEG as large as a phone's.
      grain = grain * 1664525u + 1013904223u;
      const int noise = static_cast<int>(grain >> 28);
      if (x < width / 2 && y < height / 2) {
        p[0] = 230;
        p[1] = 20;
        p[2] = 20;
      } else {
        p[0] = static_cast<unsigned char>(x * 239 / width + noise);
        p[1] = static_cast<unsigned char>(y * 239 / height + noise);
        p[2] = static_cast<unsigned char>(((x / 7) ^ (y / 5)) & 0xEF);
      }
    }
  }
  return pixels;
}

Pixels NoisePicture(int width, int height, unsigned seed) {
  Pixels pixels(width, height, 3);
  std::mt19937 random(seed);
  for (unsigned char& byte : pixels.bytes) byte = static_cast<unsigned char>(random() & 0xFF);
  return pixels;
}

std::optional<std::string> SavePicture(const Pixels& pixels, const char* format, int quality,
                                       int orientation) {
  Image image(vips_image_new_from_memory(pixels.bytes.data(), pixels.bytes.size(), pixels.width,
                                         pixels.height, pixels.bands, VIPS_FORMAT_UCHAR));
  if (image.get() == nullptr) return std::nullopt;
  if (orientation != 0) vips_image_set_int(image.get(), "orientation", orientation);
  void* buffer = nullptr;
  std::size_t length = 0;
  const std::string name = format;
  int failed = -1;
  if (name == "jpeg") {
    failed = vips_jpegsave_buffer(image.get(), &buffer, &length, "Q", quality, nullptr);
  } else if (name == "progressive-jpeg") {
    failed = vips_jpegsave_buffer(image.get(), &buffer, &length, "Q", quality, "interlace", TRUE,
                                  nullptr);
  } else if (name == "png") {
    failed = vips_pngsave_buffer(image.get(), &buffer, &length, nullptr);
  } else if (name == "webp") {
    failed = vips_webpsave_buffer(image.get(), &buffer, &length, "Q", quality, nullptr);
  } else if (name == "heif") {
    failed = vips_heifsave_buffer(image.get(), &buffer, &length, "Q", quality, nullptr);
  } else if (name == "gif") {
    failed = vips_gifsave_buffer(image.get(), &buffer, &length, nullptr);
  }
  return Taken(buffer, length, failed);
}

std::optional<std::string> SaveAnimatedGif(const std::vector<Pixels>& frames) {
  std::vector<unsigned char> stacked;
  for (const Pixels& frame : frames) {
    stacked.insert(stacked.end(), frame.bytes.begin(), frame.bytes.end());
  }
  const Pixels& first = frames.front();
  Image image(vips_image_new_from_memory(stacked.data(), stacked.size(), first.width,
                                         first.height * static_cast<int>(frames.size()),
                                         first.bands, VIPS_FORMAT_UCHAR));
  if (image.get() == nullptr) return std::nullopt;
  vips_image_set_int(image.get(), "page-height", first.height);
  void* buffer = nullptr;
  std::size_t length = 0;
  return Taken(buffer, length, vips_gifsave_buffer(image.get(), &buffer, &length, nullptr));
}

std::array<int, 3> Decoded::Rgb(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                          static_cast<std::size_t>(x)) *
                         static_cast<std::size_t>(bands);
  return {bytes[at], bytes[at + 1], bytes[at + 2]};
}

std::optional<Decoded> DecodePicture(const std::string& bytes) {
  Image image(vips_image_new_from_buffer(bytes.data(), bytes.size(), "", nullptr));
  if (image.get() == nullptr) {
    vips_error_clear();
    return std::nullopt;
  }
  Image srgb;
  if (vips_colourspace(image.get(), srgb.out(), VIPS_INTERPRETATION_sRGB, nullptr) != 0) {
    vips_error_clear();
    return std::nullopt;
  }
  Decoded decoded;
  decoded.width = vips_image_get_width(srgb.get());
  decoded.height = vips_image_get_height(srgb.get());
  decoded.bands = vips_image_get_bands(srgb.get());
  std::size_t size = 0;
  void* memory = vips_image_write_to_memory(srgb.get(), &size);
  if (memory == nullptr) return std::nullopt;
  decoded.bytes.assign(static_cast<unsigned char*>(memory),
                       static_cast<unsigned char*>(memory) + size);
  g_free(memory);
  return decoded;
}

std::optional<JpegFrame> ReadJpegFrame(const std::string& bytes) {
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
  if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
  JpegFrame frame;
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (byte(at) != 0xFF) return std::nullopt;
    const int marker = byte(at + 1);
    const std::size_t length = static_cast<std::size_t>(byte(at + 2) << 8 | byte(at + 3));
    if (marker == 0xE1 || marker == 0xE2 || marker == 0xED) frame.metadata = true;
    const bool isFrame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (at + 10 > bytes.size()) return std::nullopt;
      frame.marker = marker;
      frame.height = byte(at + 5) << 8 | byte(at + 6);
      frame.width = byte(at + 7) << 8 | byte(at + 8);
      const int components = byte(at + 9);
      for (int c = 0; c < components && at + 12 + 3 * static_cast<std::size_t>(c) <= bytes.size();
           ++c) {
        frame.sampling.push_back(byte(at + 11 + 3 * static_cast<std::size_t>(c)));
      }
      return frame;
    }
    at += 2 + length;
  }
  return std::nullopt;
}

bool RunTool(Processes& processes, const std::string& name, const std::vector<std::string>& args,
             std::string* output) {
  const std::optional<std::string> program = processes.FindProgram(name, ProgramSearchPath());
  if (!program) return false;
  ProcessRun run;
  run.program = *program;
  run.arguments = args;
  run.timeout = std::chrono::seconds(120);
  const ProcessResult result = processes.Run(run);
  if (output != nullptr) *output = result.output;
  return result.succeeded();
}

}  // namespace sdmate::test
