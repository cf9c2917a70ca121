// Movies converted for the computer by ffmpeg on clips the tests make: a handset's 3GP (MPEG-4
// Visual or H.263 with AMR-NB) exports as an MP4 with H.264 and AAC of its own size, rate, length
// and time; a clip that is H.264 and AAC already exports byte for byte; the same clip converted
// again gives the same bytes, so a second export adds nothing.
#include <gtest/gtest.h>

#include "media/ffmpeg_movie_converter.h"
#include "tests/media/media_test_files.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

class MovieConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!processes_->FindProgram("ffmpeg", ProgramSearchPath())) {
      GTEST_SKIP() << "no ffmpeg on the PATH";
    }
  }

  // The bytes of a clip made by ffmpeg with these arguments.
  std::string MakeClip(const std::string& name, const std::vector<std::string>& args) {
    const fs::path path = clips_.path() / name;
    std::vector<std::string> all = {"-v", "error", "-y"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back(Utf8(path));
    EXPECT_TRUE(RunTool(*processes_, "ffmpeg", all)) << name;
    return ReadBytes(path);
  }
  // What ffprobe says of a file: "key=value" lines.
  std::string Probe(const fs::path& path) {
    std::string output;
    EXPECT_TRUE(RunTool(*processes_, "ffprobe",
                        {"-v", "error", "-show_entries",
                         "format=duration:stream=codec_name,width,height,r_frame_rate", "-of",
                         "default=noprint_wrappers=1", Utf8(path)},
                        &output));
    return output;
  }
  static double Seconds(const std::string& probe) {
    const std::size_t at = probe.find("duration=");
    return at == std::string::npos ? -1 : std::stod(probe.substr(at + 9));
  }

  std::unique_ptr<Processes> processes_ = MakeNativeProcesses();
  FfmpegMovieConverter converter_{*processes_, ProgramSearchPath()};
  TempDir clips_;
};

TEST_F(MovieConverterTest, HandsetClipsBecomeMp4sAndPlayableOnesStayAsTheyAre) {
  const std::vector<std::string> sources = {
      "-f", "lavfi", "-i", "testsrc=size=176x144:rate=15",
      "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000",
      "-t", "3"};
  auto with = [&sources](std::vector<std::string> codecs) {
    codecs.insert(codecs.begin(), sources.begin(), sources.end());
    return codecs;
  };
  const std::string mpeg4 =
      MakeClip("mpeg4.3gp", with({"-c:v", "mpeg4", "-c:a", "libopencore_amrnb", "-ar", "8000",
                                  "-ac", "1", "-b:a", "12.2k"}));
  const std::string h263 = MakeClip("h263.3gp", with({"-c:v", "h263", "-c:a", "libopencore_amrnb",
                                                      "-ar", "8000", "-ac", "1", "-b:a", "12.2k"}));
  const std::string h264 =
      MakeClip("h264.mp4", with({"-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac"}));
  ASSERT_FALSE(mpeg4.empty() || h263.empty() || h264.empty());

  CardRig rig;
  rig.card.Folder(MediaKind::Movie, 1, "clips",
                  {{.name = "MOL001.3GP", .title = "visual", .content = mpeg4},
                   {.name = "MOL002.3GP", .title = "h263", .content = h263},
                   {.name = "MOL003.MP4", .title = "today", .content = h264}});
  const fs::path card = rig.Native("\\SD_VIDEO\\PRL001");
  const auto stamp =
      std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1109826451)));
  for (const char* name : {"MOL001.3GP", "MOL002.3GP", "MOL003.MP4"}) {
    fs::last_write_time(card / name, stamp);
  }
  std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-test-convert");
  CardSession session(SessionServices{rig.files,
                                      rig.drives,
                                      *rig.codec,
                                      rig.clock,
                                      rig.feedback,
                                      TestPlaces(rig.temp()),
                                      {},
                                      ExportServices{&converter_, scratch.get()}});
  ASSERT_TRUE(session.Load(CardRig::kDrive).loaded);
  ASSERT_TRUE(session.CanConvertMovies());
  const fs::path out = rig.base() / "out";

  const ExportResult result =
      session.ExportFolder(MediaKind::Movie, 1, Utf8(out), {.convertMovies = true});
  EXPECT_TRUE(result.failed.empty());
  EXPECT_TRUE(result.asIs.empty());
  EXPECT_EQ(result.converted, 2);
  EXPECT_EQ(ListTree(out), (std::vector<std::string>{"h263.mp4", "today.MP4", "visual.mp4"}));
  const double length = Seconds(Probe(card / "MOL001.3GP"));
  for (const char* name : {"visual.mp4", "h263.mp4"}) {
    const std::string probe = Probe(out / name);
    EXPECT_NE(probe.find("codec_name=h264\nwidth=176\nheight=144\nr_frame_rate=15/1"),
              std::string::npos)
        << name << "\n"
        << probe;
    EXPECT_NE(probe.find("codec_name=aac"), std::string::npos) << probe;
    EXPECT_NEAR(Seconds(probe), length, 0.1) << name;
    EXPECT_EQ(fs::last_write_time(out / name), stamp) << name;
    EXPECT_EQ(ReadBytes(out / name).substr(4, 4), "ftyp");
  }
  EXPECT_EQ(ReadBytes(out / "today.MP4"), h264);
  EXPECT_EQ(fs::last_write_time(out / "today.MP4"), stamp);

  // Converted again, the clips give the same bytes: nothing is added.
  const auto first = SnapshotTree(out);
  const ExportResult again =
      session.ExportFolder(MediaKind::Movie, 1, Utf8(out), {.convertMovies = true});
  EXPECT_TRUE(again.written.empty());
  EXPECT_EQ(again.same.size(), 3U);
  EXPECT_EQ(SnapshotTree(out), first);
}

TEST_F(MovieConverterTest, WhatFfprobeCannotReadGoesAsItIsWithTheReason) {
  const fs::path notes = clips_.path() / "notes.3gp";
  WriteBytes(notes, "this is no movie");
  const ConvertResult result =
      converter_.ConvertForComputer(Utf8(notes), Utf8(clips_.path()) + "/", {});
  EXPECT_EQ(result.outcome, ConvertResult::Outcome::NotConverted);
  EXPECT_NE(result.reason.find("ムービーとして読み込めません"), std::string::npos) << result.reason;
}

// A clip's picture for the lists and the preview: one second in, within the size asked, with
// the clip's length and size; a clip shorter than a second gives its first picture; a file that
// is no clip, or sound alone, gives none.
TEST_F(MovieConverterTest, AFrameOneSecondInWithTheClipsLengthAndSize) {
  const std::string clip = MakeClip(
      "clip.3gp", {"-f", "lavfi", "-i", "testsrc=size=176x144:rate=15", "-t", "3", "-c:v", "h263"});
  const std::string blink = MakeClip(
      "blink.mp4",
      {"-f", "lavfi", "-i", "color=c=red:size=64x48:rate=10", "-t", "0.5", "-c:v", "mpeg4"});
  const std::string sound =
      MakeClip("sound.3gp", {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=8000", "-t", "2",
                             "-c:a", "libopencore_amrnb", "-ar", "8000", "-ac", "1"});
  ASSERT_FALSE(clip.empty() || blink.empty() || sound.empty());
  ASSERT_TRUE(converter_.Available());

  const std::optional<MovieFrame> frame = converter_.FrameOf(Utf8(clips_.path() / "clip.3gp"), 128);
  ASSERT_TRUE(frame.has_value());
  EXPECT_TRUE(frame->png.starts_with("\x89PNG"));
  EXPECT_NEAR(frame->seconds, 3.0, 0.2);
  EXPECT_EQ(frame->width, 176);
  EXPECT_EQ(frame->height, 144);
  // 176 × 144 within 128 pixels a side: 128 wide. The PNG header holds width and height.
  ASSERT_GE(frame->png.size(), 24u);
  auto number = [&frame](std::size_t at) {
    return (static_cast<unsigned char>(frame->png[at]) << 24) |
           (static_cast<unsigned char>(frame->png[at + 1]) << 16) |
           (static_cast<unsigned char>(frame->png[at + 2]) << 8) |
           static_cast<unsigned char>(frame->png[at + 3]);
  };
  EXPECT_EQ(number(16), 128);
  EXPECT_LE(number(20), 128);

  const std::optional<MovieFrame> first =
      converter_.FrameOf(Utf8(clips_.path() / "blink.mp4"), 128);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->width, 64);

  EXPECT_FALSE(converter_.FrameOf(Utf8(clips_.path() / "sound.3gp"), 128).has_value());
  const fs::path notes = clips_.path() / "notes.3gp";
  WriteBytes(notes, "this is no movie");
  EXPECT_FALSE(converter_.FrameOf(Utf8(notes), 128).has_value());
  EXPECT_FALSE(converter_.FrameOf(Utf8(clips_.path() / "missing.3gp"), 128).has_value());
}

}  // namespace
}  // namespace sdmate::test
