// Files told by their first bytes before any other rule, and the handset's play rule on a
// picture's header and a movie's streams.
#include "import/content_type.h"

#include <gtest/gtest.h>

#include "import/handset_play.h"
#include "tests/support/content_bytes.h"
#include "tests/support/fit_rig.h"

namespace sdmate {
namespace {

using test::FitRig;
using test::IsoBytes;
using test::JpegBytes;

constexpr MediaKind kImage = MediaKind::Image;
constexpr MediaKind kMovie = MediaKind::Movie;
constexpr MediaKind kDocument = MediaKind::Document;

TEST(IdentifyContent, TellsEachTypeByItsFirstBytes) {
  struct Case {
    std::string head;
    Content content;
    std::string brand;
  };
  const std::string asf("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  std::string bmp = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4);
  std::string ts(400, '\0');
  ts[0] = ts[188] = ts[376] = '\x47';
  const std::vector<Case> cases = {
      {"\xFF\xD8\xFF\xE1....Exif", Content::Jpeg, ""},
      {"GIF87a...", Content::Gif, ""},
      {"\x89PNG\r\n\x1A\n....", Content::Png, ""},
      {bmp, Content::Bmp, ""},
      {"BM this is a text", Content::Unknown, ""},
      {std::string("II*\0....", 8), Content::Tiff, ""},
      {std::string("MM\0*....", 8), Content::Tiff, ""},
      {"RIFF....WEBPVP8 ", Content::Webp, ""},
      {"RIFF....AVI LIST", Content::Avi, ""},
      {IsoBytes(40, "heic"), Content::Heif, "heic"},
      {IsoBytes(40, "3gp6"), Content::IsoMedia, "3gp6"},
      {IsoBytes(40, "M4A "), Content::IsoMedia, "M4A "},
      {std::string("\0\0\0\x08wide", 8), Content::IsoMedia, "qt  "},
      {asf, Content::Asf, ""},
      {"\x1A\x45\xDF\xA3", Content::Matroska, ""},
      {std::string("\0\0\x01\xBA", 4), Content::MpegProgram, ""},
      {ts, Content::MpegTransport, ""},
      {"FLV\x01", Content::Flv, ""},
      {"%PDF-1.4", Content::Pdf, ""},
      {"\xFF\xD8", Content::Unknown, ""},
      {"", Content::Unknown, ""},
  };
  for (const Case& c : cases) {
    const Identified identified = IdentifyContent(c.head);
    EXPECT_EQ(identified.content, c.content) << testing::PrintToString(c.head);
    EXPECT_EQ(identified.brand, c.brand) << testing::PrintToString(c.head);
  }
  EXPECT_TRUE(IdentifyContent(IsoBytes(40, "3g2a")).Is3gp());
  EXPECT_TRUE(IdentifyContent(IsoBytes(40, "isom")).IsMp4());
  EXPECT_FALSE(IdentifyContent(IsoBytes(40, "isom")).Is3gp());
  EXPECT_FALSE(IdentifyContent(IsoBytes(40, "qt  ")).IsMp4());
}

TEST(IdentifyContent, ANameFitsOnlyWhatItSays) {
  EXPECT_TRUE(NameFits(".jpeg", Content::Jpeg));
  EXPECT_TRUE(NameFits(".M4a", Content::IsoMedia));
  EXPECT_TRUE(NameFits(".SDV", Content::Asf));
  EXPECT_TRUE(NameFits(".mpg", Content::MpegTransport));
  EXPECT_FALSE(NameFits(".JPG", Content::Png));
  EXPECT_FALSE(NameFits(".MP4", Content::Heif)) << "a picture in ISO boxes is no movie";
  EXPECT_FALSE(NameFits(".PDF", Content::Unknown));
  EXPECT_FALSE(NameFits(".TXT", Content::Pdf));
  EXPECT_EQ(ContentNamed(".txt"), Content::Unknown);
  EXPECT_EQ(ContentNamed(".3gp"), Content::IsoMedia);
}

// Random bytes under a name of the kind, with fitting on and off: refused, named, and the next
// file of the batch staged.
TEST(ContentRule, BytesThatAreNotWhatTheNameSaysAreRefusedWithTheBoxOnOrOff) {
  std::string noise(5000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
  struct Case {
    MediaKind kind;
    std::string name;
    std::string good;
    std::string noun;
  };
  const std::vector<Case> cases = {
      {kImage, "noise.jpg", JpegBytes(5000), "JPEG 画像"},
      {kMovie, "noise.3gp", IsoBytes(5000), "MP4/3GP ムービー"},
      {kDocument, "noise.pdf", test::PdfBytes(5000), "PDF ドキュメント"},
  };
  for (const bool on : {false, true}) {
    for (const Case& c : cases) {
      FitRig rig;
      rig.Start(nullptr, nullptr);
      rig.session->SetFit(c.kind, on);
      const std::string bad = rig.Pc(c.name, noise);
      const std::string good = rig.Pc("good" + c.name.substr(c.name.find('.')), c.good);

      const BatchResult added = rig.Add(c.kind, {bad, good});

      EXPECT_EQ(added.staged, 1) << c.name;
      EXPECT_EQ(rig.Last(c.kind).SourcePath(), good);
      EXPECT_EQ(rig.feedback.Texts(),
                std::vector<std::string>{
                    "下記のファイルは " + c.noun +
                    " ではないため、追加できません．\n追加をスキップします．\n" + bad});
    }
  }
  // A file that holds another known type says what it holds.
  FitRig rig;
  rig.Start(nullptr, nullptr);
  const std::string png = rig.Pc("fake.JPG", test::PngBytes(300));
  EXPECT_EQ(rig.session->DropFiles(kImage, 1, {png}).staged, 0);
  EXPECT_EQ(
      rig.feedback.Texts(),
      std::vector<std::string>{"下記のファイルは JPEG 画像 ではないため、追加できません．中身は "
                               "PNG 画像 です．\n追加をスキップします．\n" +
                               png});
}

TEST(HandsetPlay, APictureIsShownAsItIsOnlyAsABaselineJpegOrGifWithinTheScreen) {
  struct Case {
    std::string name;
    std::string bytes;
    bool shown;
  };
  std::string exif = "\xFF\xD8\xFF\xE1" + std::string("\x80\x00", 2) + std::string(0x7FFE, 'e');
  exif += JpegBytes(200, 240, 320).substr(2);
  const std::vector<Case> cases = {
      {"a.jpg", JpegBytes(102400, 240, 320), true},
      {"a.jpg", exif, true},  // the frame header after a large EXIF block
      {"a.gif", test::GifBytes(500, 240, 320), true},
      {"a.jpg", JpegBytes(102401, 240, 320), false},
      {"a.jpg", JpegBytes(500, 240, 320, false), false},
      {"a.jpg", JpegBytes(500, 241, 320), false},
      {"a.gif", test::GifBytes(500, 240, 321), false},
      {"a.jpeg", JpegBytes(500), false},  // not a type of the handset
      {"a.jpg", "\xFF\xD8\xFF\xDA", false},
  };
  for (const Case& c : cases) {
    const std::string reason =
        PictureRefusal(kImage, c.name, static_cast<std::int64_t>(c.bytes.size()),
                       IdentifyContent(c.bytes), c.bytes);
    EXPECT_EQ(reason.empty(), c.shown) << c.name << " " << c.bytes.size() << " " << reason;
  }
  EXPECT_EQ(PictureRefusal(kImage, "a.jpg", 500, IdentifyContent(JpegBytes(500, 1000, 800)),
                           JpegBytes(500, 1000, 800)),
            "画像の大きさ 1000x800 が上限 240x320 を超えています．");
}

TEST(HandsetPlay, AMovieIsPlayedAsItIsOnlyWithinTheProfilesRule) {
  MovieStreams good;
  good.videoStreams = good.audioStreams = 1;
  good.video = "mpeg4";
  good.videoProfile = "Simple Profile";
  good.width = 176;
  good.height = 144;
  good.framesPerSecond = 15000.0 / 1001;
  good.audio = "amr_nb";
  good.audioProfile = "unknown";
  const Identified gp = IdentifyContent(IsoBytes(40, "3gp4"));
  auto refusal = [&](const MovieStreams& streams, const Identified& identified = {},
                     const std::string& name = "a.3gp", std::int64_t size = 307200) {
    return MovieRefusal(kMovie, name, size,
                        identified.content == Content::Unknown ? gp : identified, streams);
  };
  EXPECT_EQ(refusal(good), "");
  MovieStreams h263 = good;
  h263.video = "h263";
  h263.audio = "aac";
  h263.audioProfile = "LC";
  EXPECT_EQ(refusal(h263, IdentifyContent(IsoBytes(40, "isom")), "a.MP4"), "");
  MovieStreams silent = good;
  silent.audioStreams = 0;
  EXPECT_EQ(refusal(silent), "");

  MovieStreams h264 = good;
  h264.video = "h264";
  h264.videoProfile = "High";
  EXPECT_EQ(refusal(h264), "映像 h264 (High) は携帯電話で再生できません．");
  MovieStreams advanced = good;
  advanced.videoProfile = "Advanced Simple Profile";
  EXPECT_FALSE(refusal(advanced).empty());
  MovieStreams large = good;
  large.width = 320;
  large.height = 240;
  EXPECT_EQ(refusal(large), "映像 320x240 が上限 176x144 を超えています．");
  MovieStreams fast = good;
  fast.framesPerSecond = 30;
  EXPECT_EQ(refusal(fast), "映像 30 fps が上限 15 fps を超えています．");
  MovieStreams he = good;
  he.audio = "aac";
  he.audioProfile = "HE-AAC";
  EXPECT_EQ(refusal(he), "音声 aac (HE-AAC) は携帯電話で再生できません．");
  MovieStreams two = good;
  two.audioStreams = 2;
  EXPECT_FALSE(refusal(two).empty());
  EXPECT_FALSE(refusal(good, IdentifyContent(IsoBytes(40, "qt  ")), "a.mp4").empty());
  EXPECT_FALSE(refusal(good, {}, "a.3gp", 307201).empty());
  EXPECT_FALSE(refusal(good, {}, "a.mov").empty());
}

// What a card already holds, judged file by file.
TEST(HandsetPlay, JudgeFileSaysWhatTheHandsetMakesOfAFileAsItIs) {
  FitRig rig;
  auto judge = [&](MediaKind kind, const std::string& name, const std::string& bytes) {
    return JudgeFile(kind, rig.Pc(name, bytes), *rig.files, nullptr);
  };
  const HandsetVerdict baseline = judge(kImage, "a.jpg", JpegBytes(5000, 240, 320));
  EXPECT_TRUE(baseline.judged && baseline.playable) << baseline.reason;
  const HandsetVerdict progressive = judge(kImage, "b.jpg", JpegBytes(5000, 240, 320, false));
  EXPECT_FALSE(progressive.playable);
  EXPECT_EQ(progressive.reason, "ベースライン JPEG ではありません．");
  const HandsetVerdict noise = judge(kImage, "c.JPG", std::string(5000, 'n'));
  EXPECT_FALSE(noise.playable);
  EXPECT_EQ(noise.reason, "中身が JPEG 画像 ではありません．");
  EXPECT_TRUE(judge(kDocument, "d.pdf", test::PdfBytes(5000)).playable);
  EXPECT_FALSE(judge(kDocument, "e.pdf", test::PdfBytes(307201)).playable);
  const HandsetVerdict movie = judge(kMovie, "f.3gp", IsoBytes(5000));
  EXPECT_FALSE(movie.judged) << "no probe";
  EXPECT_FALSE(JudgeFile(kImage, rig.PcPath("missing.jpg"), *rig.files, nullptr).playable);
}

}  // namespace
}  // namespace sdmate
