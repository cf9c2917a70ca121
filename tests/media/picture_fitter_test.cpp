// The picture fitters, on libvips and (where the window is built) on Qt, on pictures the tests
// make: orientation, the box, baseline 4:2:0 JPEG without metadata, the size limit by quality and
// then by size, transparency on white, the first frame of an animation; and through the session,
// the picture that goes as it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "media/vips_picture_fitter.h"
#include "platform/native_path.h"
#include "platform/system_pictures.h"
#include "tests/media/media_test_files.h"
#include "tests/support/fit_rig.h"
#ifdef SDMATE_TEST_QT_FITTER
#include <QColor>
#include <QColorSpace>
#include <QColorTransform>

#include "ui/qt_picture_fitter.h"
#endif

#ifdef __SANITIZE_ADDRESS__
// The HEIC encoder (x265) that makes the test's HEIC keeps a block for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libx265.so\n"; }
#endif

namespace sdmate::test {
namespace {

constexpr MediaKind kImage = MediaKind::Image;

bool IsRed(std::array<int, 3> rgb) { return rgb[0] > 180 && rgb[1] < 80 && rgb[2] < 80; }
bool IsWhite(std::array<int, 3> rgb) { return rgb[0] > 245 && rgb[1] > 245 && rgb[2] > 245; }

// One fitter under test: how it is made, its bytes-to-JPEG step, and whether it reads HEIC here.
struct FitterKind {
  const char* name;
  std::unique_ptr<PictureFitter> (*make)(Files& files);
  std::optional<std::string> (*fitBytes)(const std::string& bytes, const PictureLimits& limits);
  bool (*readsHeic)();
};

bool Always() { return true; }

// Shown (and named in ctest) by its name.
void PrintTo(const FitterKind& kind, std::ostream* out) { *out << kind.name; }

template <typename Fitter>
std::unique_ptr<PictureFitter> Make(Files& files) {
  return std::make_unique<Fitter>(files);
}
template <typename Fitter>
std::optional<std::string> FitBytes(const std::string& bytes, const PictureLimits& limits) {
  auto encoded = Fitter::FitBytes(bytes, limits);
  EXPECT_TRUE(encoded.jpeg) << encoded.reason;
  return encoded.jpeg;
}

class PictureFitterTest : public ::testing::TestWithParam<FitterKind> {
 protected:
  PictureFitterTest() { StartVips(); }

  // The fitter run on a file of the computer; the fitted file's bytes.
  std::string FitFile(const std::string& name, const std::string& bytes) {
    const std::string path = rig_.Pc(name, bytes);
    const std::string folder = rig_.scratch->NewFolder();
    const FitResult result = fitter_->Fit(path, PictureLimits{}, folder);
    EXPECT_TRUE(result.fitted()) << result.reason;
    if (!result.fitted()) return {};
    EXPECT_EQ(SplitNativePath(result.path).directory, folder);
    EXPECT_EQ(ReadBytes(PathFromUtf8(path)), bytes) << "the original is only read";
    return ReadBytes(PathFromUtf8(result.path));
  }

  FitRig rig_;
  std::unique_ptr<PictureFitter> fitter_ = GetParam().make(*rig_.files);
};

TEST_P(PictureFitterTest, APhoneJpegTurnedByItsOrientationBecomesABaselinePortrait) {
  std::optional<std::string> photo = SavePicture(MarkedPicture(4000, 3000), "jpeg", 92, 6);
  ASSERT_TRUE(photo);
  ASSERT_GT(photo->size(), 1000000u);
  ASSERT_TRUE(ReadJpegFrame(*photo)->metadata) << "the photo carries its EXIF orientation";

  const std::string fitted = FitFile("IMG_0001.jpg", *photo);

  ASSERT_LE(fitted.size(), 102400u);
  const std::optional<JpegFrame> frame = ReadJpegFrame(fitted);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->marker, 0xC0) << "baseline, not progressive";
  EXPECT_EQ(frame->width, 240);
  EXPECT_EQ(frame->height, 320);
  EXPECT_EQ(frame->sampling, (std::vector<int>{0x22, 0x11, 0x11})) << "4:2:0";
  EXPECT_FALSE(frame->metadata);
  // Orientation 6 is shown turned a quarter clockwise: the stored top-left corner is the top
  // right of the picture the user saw.
  const std::optional<Decoded> seen = DecodePicture(fitted);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(IsRed(seen->Rgb(200, 40)));
  EXPECT_FALSE(IsRed(seen->Rgb(40, 40)));
  EXPECT_FALSE(IsRed(seen->Rgb(200, 280)));
}

TEST_P(PictureFitterTest, AWidePictureBecomes240WideAndASmallOneIsNeverEnlarged) {
  std::optional<Decoded> wide =
      DecodePicture(FitFile("wide.png", *SavePicture(MarkedPicture(1200, 400), "png")));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->width, 240);
  EXPECT_EQ(wide->height, 80);

  std::optional<Decoded> small =
      DecodePicture(FitFile("small.webp", *SavePicture(MarkedPicture(120, 90), "webp")));
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width, 120);
  EXPECT_EQ(small->height, 90);
}

TEST_P(PictureFitterTest, TransparencyBecomesWhite) {
  Pixels pixels(200, 100, 4);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      unsigned char* p = pixels.at(x, y);
      p[0] = 200;  // a red that must not show where the picture is clear
      p[1] = 0;
      p[2] = 0;
      p[3] = x < 100 ? 0 : 255;
    }
  }
  const std::optional<Decoded> fitted =
      DecodePicture(FitFile("logo.png", *SavePicture(pixels, "png")));
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->bands, 3);
  EXPECT_TRUE(IsWhite(fitted->Rgb(30, 50)));
  EXPECT_TRUE(IsRed(fitted->Rgb(170, 50)));
}

TEST_P(PictureFitterTest, TheHighestQualityThatKeepsTheLimitAndThenASmallerPicture) {
  const std::string noise = *SavePicture(NoisePicture(240, 320), "png");
  const std::optional<std::string> best = GetParam().fitBytes(noise, PictureLimits{});
  ASSERT_TRUE(best);
  EXPECT_LE(best->size(), 102400u);
  // Noise at the highest quality is far larger: the search stopped close below the limit.
  EXPECT_GT(best->size(), 90000u);
  EXPECT_EQ(ReadJpegFrame(*best)->width, 240);

  PictureLimits tight;
  tight.maxBytes = 8000;
  const std::optional<std::string> smaller = GetParam().fitBytes(noise, tight);
  ASSERT_TRUE(smaller);
  EXPECT_LE(smaller->size(), 8000u);
  const std::optional<JpegFrame> frame = ReadJpegFrame(*smaller);
  EXPECT_LT(frame->width, 240);
  EXPECT_LT(frame->height, 320);
  EXPECT_EQ(frame->marker, 0xC0);
}

TEST_P(PictureFitterTest, AnAnimatedGifOverTheLimitBecomesItsFirstFrame) {
  Pixels red(300, 300, 3);
  for (std::size_t i = 0; i < red.bytes.size(); i += 3) red.bytes[i] = 220;
  const std::optional<std::string> gif =
      SaveAnimatedGif({red, NoisePicture(300, 300, 2), NoisePicture(300, 300, 3)});
  ASSERT_TRUE(gif);
  ASSERT_GT(gif->size(), 102400u);

  const std::optional<Decoded> fitted = DecodePicture(FitFile("anim.gif", *gif));
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->width, 240);
  EXPECT_EQ(fitted->height, 240);
  EXPECT_TRUE(IsRed(fitted->Rgb(120, 120)));
  EXPECT_TRUE(IsRed(fitted->Rgb(10, 230)));
}

// A HEIC whose EXIF block says "a quarter turn" but which has no irot box: HEIF shows it as
// stored, and the EXIF orientation (which only repeats the irot box's turn) is not applied.
TEST_P(PictureFitterTest, HeicIsReadWhereTheLibraryCanWriteAndReadIt) {
  const std::optional<std::string> heic = SavePicture(MarkedPicture(640, 480), "heif", 90, 6);
  if (!heic || !DecodePicture(*heic)) GTEST_SKIP() << "this libvips has no HEIC encoder";
  if (!GetParam().readsHeic()) {
    GTEST_SKIP() << GetParam().name << " reads no HEIC here: the system has no HEIF decoder";
  }
  const std::string fitted = FitFile("IMG_0002.HEIC", *heic);
  const std::optional<JpegFrame> frame = ReadJpegFrame(fitted);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->marker, 0xC0);
  EXPECT_FALSE(frame->metadata);
  const std::optional<Decoded> seen = DecodePicture(fitted);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->width, 240);
  EXPECT_EQ(seen->height, 180);
  // (the right half's red rises from left to right, its green from top to bottom)
  EXPECT_TRUE(IsRed(seen->Rgb(40, 40)));
  EXPECT_FALSE(IsRed(seen->Rgb(40, 150)));
  EXPECT_FALSE(IsRed(seen->Rgb(200, 150)));
}

// A HEIC cut short, or with its coded picture overwritten, is refused with the reason, and no
// file is left.
TEST_P(PictureFitterTest, ADamagedHeicGivesAReasonAndNoFile) {
  const std::optional<std::string> heic = SavePicture(MarkedPicture(320, 240), "heif");
  if (!heic || !DecodePicture(*heic)) GTEST_SKIP() << "this libvips has no HEIC encoder";
  std::string cut = *heic;
  cut.resize(cut.size() / 3);
  std::string scrambled = *heic;
  for (std::size_t i = scrambled.size() / 2; i < scrambled.size(); ++i) {
    scrambled[i] = static_cast<char>(scrambled[i] * 37 + 11);
  }
  for (const std::string* damaged : {&cut, &scrambled}) {
    const std::string path = rig_.Pc(damaged == &cut ? "CUT.HEIC" : "SCRAMBLED.HEIC", *damaged);
    const std::string folder = rig_.scratch->NewFolder();
    const FitResult result = fitter_->Fit(path, PictureLimits{}, folder);
    if (result.fitted()) {
      // (a decoder may show a scrambled picture as some picture, but never a cut one)
      EXPECT_NE(damaged, &cut) << "a picture from a third of the file";
      continue;
    }
    EXPECT_TRUE(result.reason.starts_with("画像として読み込めません")) << result.reason;
    if (std::string(GetParam().name) == "Qt") {
      EXPECT_NE(result.reason.find(GetParam().readsHeic() ? "HEIF (HEIC) の画像が壊れているか"
                                                          : "HEIF (HEIC) の画像を読み込む機能"),
                std::string::npos)
          << result.reason;
    }
    EXPECT_TRUE(fs::is_empty(PathFromUtf8(folder)));
  }
}

// The system's decoder on a HEIC from libvips: the pixels as stored (no irot box; the EXIF
// orientation is not applied), within the pixel limit only; a cut file gives nothing.
TEST(SystemHeifTest, TheSystemDecodesAHeicAsStored) {
  StartVips();
  const std::optional<std::string> heic = SavePicture(MarkedPicture(640, 480), "heif", 90, 6);
  if (!heic || !DecodePicture(*heic)) GTEST_SKIP() << "this libvips has no HEIC encoder";
  if (!SystemDecodesHeif()) GTEST_SKIP() << "built without libheif: no HEIF decoder";
  const std::optional<SystemPicture> decoded = DecodeWithSystem(*heic, 640 * 480);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 640);
  EXPECT_EQ(decoded->height, 480);
  auto at = [&](int x, int y) {
    const unsigned char* p = decoded->rgba.data() + (y * 640 + x) * 4;
    return std::array<int, 3>{p[0], p[1], p[2]};
  };
  EXPECT_TRUE(IsRed(at(100, 100)));
  EXPECT_FALSE(IsRed(at(100, 400)));
  EXPECT_FALSE(IsRed(at(500, 400)));
  EXPECT_EQ(decoded->rgba[3], 255) << "opaque";

  EXPECT_FALSE(DecodeWithSystem(*heic, 640 * 480 - 1));
  EXPECT_FALSE(DecodeWithSystem(heic->substr(0, heic->size() / 2), 640 * 480));
}

TEST_P(PictureFitterTest, WhatIsNoPictureGivesAReasonAndNoFile) {
  const std::string path = rig_.Pc("broken.png", "\x89PNG\r\n\x1A\n and then nothing");
  const std::string folder = rig_.scratch->NewFolder();
  const FitResult result = fitter_->Fit(path, PictureLimits{}, folder);
  EXPECT_FALSE(result.fitted());
  EXPECT_NE(result.reason.find("画像として読み込めません"), std::string::npos) << result.reason;
  EXPECT_TRUE(fs::is_empty(PathFromUtf8(folder)));
  EXPECT_FALSE(fitter_->Fit(rig_.PcPath("missing.png"), PictureLimits{}, folder).fitted());
}

// Through the session: a baseline JPEG within the limit and the screen is staged and written
// byte for byte; a larger photo, a progressive JPEG and a JPEG larger than the screen (both
// within the size limit) are fitted, and the list's size is the fitted file's.
TEST_P(PictureFitterTest, OnlyABaselineJpegWithinTheLimitAndTheScreenGoesToTheCardByteForByte) {
  rig_.Start(fitter_.get(), nullptr);
  std::string jpeg = *SavePicture(MarkedPicture(240, 180), "jpeg", 90);
  jpeg.resize(90 * 1024, '\0');  // what follows the end marker is no part of the picture
  const std::string small = rig_.Pc("small.jpg", jpeg);
  const std::string photo = rig_.Pc("photo.jpg", *SavePicture(MarkedPicture(2000, 1500), "jpeg"));
  const std::string progressive = *SavePicture(MarkedPicture(200, 150), "progressive-jpeg", 80);
  ASSERT_EQ(ReadJpegFrame(progressive)->marker, 0xC2);
  ASSERT_LT(progressive.size(), 102400u);
  Pixels smooth(1000, 800, 3);
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 1000; ++x) {
      unsigned char* p = smooth.at(x, y);
      p[0] = static_cast<unsigned char>(x / 4);
      p[1] = static_cast<unsigned char>(y / 4);
      p[2] = 128;
    }
  }
  const std::string wide = *SavePicture(smooth, "jpeg", 75);
  ASSERT_LT(wide.size(), 102400u);

  ASSERT_EQ(
      rig_.Add(kImage, {small, photo, rig_.Pc("web.jpg", progressive), rig_.Pc("wide.jpg", wide)})
          .staged,
      4);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kImage);
  EXPECT_EQ(folder.items[1].SourcePath(), small);
  EXPECT_EQ(folder.items[1].size, 90 * 1024);
  EXPECT_LT(folder.items[2].size, 102400);
  EXPECT_EQ(folder.items[2].size, rig_.files->FileSizeOf(folder.items[2].SourcePath()));
  ASSERT_TRUE(rig_.session->Update().ran);

  const std::string still = "\\PRIVATE\\DOCOMO\\STILL\\SUD001\\";
  EXPECT_EQ(ReadBytes(rig_.card.Native(still + "STIL0002.JPG")), jpeg);
  struct Fitted {
    const char* name;
    int width;
    int height;
  };
  for (const Fitted& expected : {Fitted{"STIL0003.JPG", 240, 180}, Fitted{"STIL0004.JPG", 200, 150},
                                 Fitted{"STIL0005.JPG", 240, 192}}) {
    const std::string bytes = ReadBytes(rig_.card.Native(still + expected.name));
    const std::optional<JpegFrame> fitted = ReadJpegFrame(bytes);
    ASSERT_TRUE(fitted) << expected.name;
    EXPECT_EQ(fitted->marker, 0xC0) << expected.name;
    EXPECT_EQ(fitted->width, expected.width) << expected.name;
    EXPECT_EQ(fitted->height, expected.height) << expected.name;
    EXPECT_LE(bytes.size(), 102400u);
  }
}

// With the box off a small PNG is refused for its type, not its size.
TEST_P(PictureFitterTest, WithTheBoxOffASmallPngMeetsTheTypeMessage) {
  rig_.Start(fitter_.get(), nullptr);
  rig_.session->SetFit(kImage, false);
  const std::optional<std::string> png = SavePicture(MarkedPicture(40, 30), "png");
  ASSERT_TRUE(png);
  ASSERT_LT(png->size(), 10000u);
  const std::string path = rig_.Pc("icon.png", *png);

  EXPECT_EQ(rig_.Add(kImage, {path}).staged, 0);

  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_TRUE(texts[0].starts_with(
      "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n" + path))
      << texts[0];
  EXPECT_EQ(texts[0].find("サイズ"), std::string::npos);
  EXPECT_NE(texts[0].find("携帯電話に合わせて変換する"), std::string::npos);
}

#ifdef SDMATE_TEST_QT_FITTER
// A HEIC in Display P3 (a phone's camera) is shown on the handset in the same colours: its pixels
// are converted from the HEIC's ICC profile to sRGB, not taken as sRGB numbers.
TEST(QtFitterHeifTest, AHeicInDisplayP3KeepsItsColours) {
  if (!SystemDecodesHeif()) GTEST_SKIP() << "built without libheif: no HEIF decoder";
  StartVips();
  const QColor p3(200, 110, 90);
  Pixels flat(64, 64, 3);
  for (std::size_t i = 0; i < flat.bytes.size(); i += 3) {
    flat.bytes[i] = static_cast<unsigned char>(p3.red());
    flat.bytes[i + 1] = static_cast<unsigned char>(p3.green());
    flat.bytes[i + 2] = static_cast<unsigned char>(p3.blue());
  }
  VipsImage* image = vips_image_new_from_memory(flat.bytes.data(), flat.bytes.size(), 64, 64, 3,
                                                VIPS_FORMAT_UCHAR);
  ASSERT_NE(image, nullptr);
  const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
  ASSERT_FALSE(icc.isEmpty());
  vips_image_set_blob_copy(image, "icc-profile-data", icc.constData(),
                           static_cast<std::size_t>(icc.size()));
  void* buffer = nullptr;
  std::size_t length = 0;
  const int failed = vips_heifsave_buffer(image, &buffer, &length, "Q", 95, nullptr);
  g_object_unref(image);
  if (failed != 0) GTEST_SKIP() << "this libvips has no HEIC encoder";
  const std::string heic(static_cast<const char*>(buffer), length);
  g_free(buffer);
  const std::optional<SystemPicture> decoded = DecodeWithSystem(heic, 64 * 64);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->iccProfile.size(), static_cast<std::size_t>(icc.size()));

  const QColor srgb =
      QColorSpace(QColorSpace::DisplayP3).transformationToColorSpace(QColorSpace::SRgb).map(p3);
  ASSERT_GT(std::abs(srgb.red() - p3.red()) + std::abs(srgb.green() - p3.green()), 12)
      << "the two spaces tell this colour apart";
  const QtPictureFitter::Encoded fitted = QtPictureFitter::FitBytes(heic, PictureLimits{});
  ASSERT_TRUE(fitted.jpeg) << fitted.reason;
  const std::optional<Decoded> seen = DecodePicture(*fitted.jpeg);
  ASSERT_TRUE(seen);
  const std::array<int, 3> rgb = seen->Rgb(32, 32);
  EXPECT_NEAR(rgb[0], srgb.red(), 5);
  EXPECT_NEAR(rgb[1], srgb.green(), 5);
  EXPECT_NEAR(rgb[2], srgb.blue(), 5);
}
#endif

// The fitters under test: libvips, and Qt's where the window is built.
const FitterKind kFitters[] = {
    {"Vips", Make<VipsPictureFitter>, FitBytes<VipsPictureFitter>, Always},
#ifdef SDMATE_TEST_QT_FITTER
    // The Qt fitter reads HEIC through the system's decoder, where there is one.
    {"Qt", Make<QtPictureFitter>, FitBytes<QtPictureFitter>, SystemDecodesHeif},
#endif
};

std::string FitterName(const ::testing::TestParamInfo<FitterKind>& kind) { return kind.param.name; }

INSTANTIATE_TEST_SUITE_P(Fitters, PictureFitterTest, ::testing::ValuesIn(kFitters), FitterName);

}  // namespace
}  // namespace sdmate::test
