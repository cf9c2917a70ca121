// The ffmpeg movie fitter on clips the tests make with ffmpeg: a phone's MP4 becomes a 3GP the
// handset plays within its limit, a clip too long is refused with the seconds that fit and
// nothing staged, and without ffmpeg the user is told and the file goes as today.
#include <gtest/gtest.h>

#include <cstdlib>

#include "import/handset_play.h"
#include "media/ffmpeg_movie_fitter.h"
#include "media/media_fitters.h"
#include "tests/media/media_test_files.h"
#include "tests/support/content_bytes.h"
#include "tests/support/fit_rig.h"

namespace sdmate::test {
namespace {

constexpr MediaKind kMovie = MediaKind::Movie;

class MovieFitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!processes_->FindProgram("ffmpeg", ProgramSearchPath())) {
      GTEST_SKIP() << "no ffmpeg on the PATH";
    }
  }

  // A clip made by ffmpeg in the computer's folder; its path.
  std::string MakeClip(const std::string& name, const std::vector<std::string>& args) {
    const std::string path = rig_.PcPath(name);
    std::vector<std::string> all = {"-v", "error", "-y"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back(path);
    EXPECT_TRUE(RunTool(*processes_, "ffmpeg", all)) << name;
    return path;
  }
  // What ffprobe says of a file's streams, "key=value" lines.
  std::string Streams(const std::string& path) {
    std::string output;
    EXPECT_TRUE(RunTool(*processes_, "ffprobe",
                        {"-v", "error", "-show_entries",
                         "stream=codec_type,codec_name,width,height,sample_rate,channels,profile",
                         "-of", "default=noprint_wrappers=1", path},
                        &output));
    return output;
  }

  std::unique_ptr<Processes> processes_ = MakeNativeProcesses();
  FitRig rig_;
  FfmpegMovieFitter fitter_{*processes_, *rig_.files, ProgramSearchPath()};
};

TEST_F(MovieFitterTest, APhoneClipBecomesA3gpTheHandsetPlays) {
  const std::string clip =
      MakeClip("clip.mp4", {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=30", "-f", "lavfi",
                            "-i", "sine=frequency=440:sample_rate=44100", "-t", "10", "-c:v",
                            "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac"});
  ASSERT_GT(rig_.files->FileSizeOf(clip), 307200);
  std::vector<std::pair<int, int>> steps;

  const FitResult result =
      fitter_.Fit(clip, MovieLimits{}, rig_.scratch->NewFolder(),
                  [&](int done, int total) { steps.emplace_back(done, total); }, {});

  ASSERT_TRUE(result.fitted()) << result.reason;
  EXPECT_TRUE(result.path.ends_with("clip.3GP"));
  const std::int64_t size = rig_.files->FileSizeOf(result.path);
  EXPECT_LE(size, 307200);
  EXPECT_GT(size, 200000) << "the room is used, not wasted";
  EXPECT_EQ(ReadBytes(PathFromUtf8(result.path)).substr(8, 3), "3gp");
  const std::string streams = Streams(result.path);
  EXPECT_NE(streams.find("codec_name=mpeg4\nprofile=Simple Profile\ncodec_type=video\nwidth=176\n"
                         "height=144"),
            std::string::npos)
      << streams;
  EXPECT_NE(streams.find("codec_name=amr_nb"), std::string::npos) << streams;
  EXPECT_NE(streams.find("sample_rate=8000\nchannels=1"), std::string::npos) << streams;
  // Progress went forward to near the clip's length in milliseconds.
  ASSERT_FALSE(steps.empty());
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end())) << testing::PrintToString(steps);
  EXPECT_EQ(steps.back().second, 10000);
  EXPECT_GT(steps.back().first, 9000);
}

// A ten-minute clip small enough to keep the size limit is still no clip the handset plays, and
// too long to fit.
TEST_F(MovieFitterTest, AClipTooLongIsRefusedWithTheSecondsThatFitAndNothingIsStaged) {
  rig_.Start(nullptr, &fitter_);
  const std::string clip =
      MakeClip("long.mp4", {"-f", "lavfi", "-i", "color=c=gray:size=320x240:rate=1", "-t", "600",
                            "-c:v", "libx264", "-preset", "ultrafast"});
  ASSERT_LT(rig_.files->FileSizeOf(clip), 307200);
  const int fit = PlanMovie(600, true, false, MovieLimits{}).secondsThatFit;

  const BatchResult added = rig_.Add(kMovie, {clip});

  EXPECT_EQ(added.staged, 0);
  EXPECT_EQ(rig_.Folder(kMovie).itemCount(), 1);
  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
  EXPECT_NE(texts[0].find(clip), std::string::npos);
  EXPECT_NE(texts[0].find("約" + std::to_string(fit) + "秒まで"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find("約600秒"), std::string::npos) << texts[0];
}

// Through the session: an H.264 clip within the size limit is converted; a clip the handset
// plays is staged as it is and reaches the card byte for byte.
TEST_F(MovieFitterTest, WhatTheHandsetCannotPlayIsConvertedAndWhatItPlaysGoesAsItIs) {
  rig_.Start(nullptr, &fitter_);
  const std::string phone =
      MakeClip("phone.mp4", {"-f",   "lavfi", "-i",       "testsrc2=size=640x360:rate=30",
                             "-f",   "lavfi", "-i",       "sine=frequency=440:sample_rate=44100",
                             "-t",   "10",    "-c:v",     "libx264",
                             "-b:v", "60k",   "-pix_fmt", "yuv420p",
                             "-c:a", "aac",   "-b:a",     "32k"});
  ASSERT_LT(rig_.files->FileSizeOf(phone), 307200);
  const std::string handset =
      MakeClip("handset.3gp", {"-f",   "lavfi", "-i",   "testsrc2=size=176x144:rate=15",
                               "-f",   "lavfi", "-i",   "sine=frequency=440:sample_rate=8000",
                               "-t",   "5",     "-c:v", "mpeg4",
                               "-b:v", "100k",  "-c:a", "libopencore_amrnb",
                               "-ar",  "8000",  "-ac",  "1",
                               "-b:a", "12200"});
  ASSERT_LT(rig_.files->FileSizeOf(handset), 307200);
  const MovieStreams played = fitter_.Probe(handset);
  EXPECT_EQ(played.video, "mpeg4");
  EXPECT_EQ(played.videoProfile, "Simple Profile");
  EXPECT_EQ(played.width, 176);
  EXPECT_EQ(played.framesPerSecond, 15);
  EXPECT_EQ(played.audio, "amr_nb");
  EXPECT_NEAR(played.seconds, 5, 0.2);

  ASSERT_EQ(rig_.Add(kMovie, {phone, handset}).staged, 2);

  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kMovie);
  const std::string converted = folder.items[1].SourcePath();
  EXPECT_NE(converted, phone);
  const std::string streams = Streams(converted);
  EXPECT_NE(streams.find("codec_name=mpeg4\nprofile=Simple Profile\ncodec_type=video\nwidth=176\n"
                         "height=144"),
            std::string::npos)
      << streams;
  EXPECT_NE(streams.find("codec_name=amr_nb"), std::string::npos) << streams;
  EXPECT_EQ(folder.items[2].SourcePath(), handset);
  ASSERT_TRUE(rig_.session->Update().ran);
  EXPECT_EQ(ReadBytes(rig_.card.Native("\\SD_VIDEO\\PRL001\\MOL003.3GP")),
            ReadBytes(PathFromUtf8(handset)));
}

// A movie already on the card that the handset cannot play is found by the same probe.
TEST_F(MovieFitterTest, AnH264MovieOnTheCardIsJudgedNotPlayable) {
  const std::string clip =
      MakeClip("clip.mp4", {"-f", "lavfi", "-i", "testsrc2=size=176x144:rate=15", "-t", "2", "-c:v",
                            "libx264", "-preset", "ultrafast"});
  const fs::path onCard = rig_.card.Native("\\SD_VIDEO\\PRL001\\MOL001.3GP");
  WriteBytes(onCard, ReadBytes(PathFromUtf8(clip)));

  const HandsetVerdict verdict = JudgeFile(kMovie, Utf8(onCard), *rig_.files, &fitter_);

  EXPECT_TRUE(verdict.judged);
  EXPECT_FALSE(verdict.playable);
  EXPECT_NE(verdict.reason.find("h264"), std::string::npos) << verdict.reason;
}

// 中止 pressed while the second of three clips is converted: the first stays staged, nothing of
// the second is left, the third is never touched.
TEST_F(MovieFitterTest, StoppingABatchOfThreeKeepsTheFirst) {
  rig_.Start(nullptr, &fitter_);
  std::vector<std::string> clips;
  for (const char* name : {"one.mp4", "two.mp4", "three.mp4"}) {
    clips.push_back(MakeClip(name, {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=15", "-t", "4",
                                    "-c:v", "libx264", "-preset", "ultrafast"}));
  }
  rig_.feedback.cancelOnStatus = "(2/3)";

  const BatchResult added = rig_.Add(kMovie, clips);

  EXPECT_EQ(added.staged, 1);
  EXPECT_TRUE(added.cancelled);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kMovie);
  ASSERT_EQ(folder.itemCount(), 2);
  const fs::path fitted = PathFromUtf8(folder.items[1].SourcePath());
  EXPECT_EQ(fitted.filename(), "one.3GP");
  // The run's folder holds the first clip's fitted file and nothing else.
  int made = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fitted.parent_path().parent_path())) {
    if (entry.is_regular_file()) ++made;
  }
  EXPECT_EQ(made, 1);
}

TEST_F(MovieFitterTest, WhatFfmpegCannotReadIsAReasonNotACrash) {
  const std::string path = rig_.Pc("notes.mp4", "this is no movie");
  const FitResult result = fitter_.Fit(path, MovieLimits{}, rig_.scratch->NewFolder(), {}, {});
  EXPECT_FALSE(result.fitted());
  EXPECT_NE(result.reason.find("ムービーとして読み込めません"), std::string::npos) << result.reason;
}

TEST(MoviePlanTest, TheRateFollowsTheLengthAndTheLimitSaysHowLongAClipMayBe) {
  const MovieLimits limits;
  const MoviePlan ten = PlanMovie(10, true, true, limits);
  EXPECT_TRUE(ten.fits);
  EXPECT_GT(ten.videoBitsPerSecond, 150000);
  EXPECT_LE(ten.videoBitsPerSecond, 384000);
  // Room for 1600 bytes a second of sound and the boxes is kept out of the video's share.
  EXPECT_LT(10 * (ten.videoBitsPerSecond / 8 + 1600 + 400) + 4096, 307200);
  EXPECT_EQ(PlanMovie(1, true, true, limits).videoBitsPerSecond, 384000);

  const int longest = ten.secondsThatFit;
  EXPECT_GT(longest, 40);
  EXPECT_LT(longest, 70);
  EXPECT_TRUE(PlanMovie(longest, true, true, limits).fits);
  EXPECT_FALSE(PlanMovie(longest + 1, true, true, limits).fits);
  EXPECT_GE(PlanMovie(longest, true, true, limits).videoBitsPerSecond, 24000);
  // Sound alone fits far longer; a silent clip a little longer.
  EXPECT_GT(PlanMovie(600, false, true, limits).secondsThatFit, 150);
  EXPECT_GT(PlanMovie(10, true, false, limits).secondsThatFit, longest);
  EXPECT_FALSE(PlanMovie(0, true, true, limits).fits);
}

#ifndef _WIN32
// The program's own fitters with a PATH that has no ffmpeg.
TEST(MovieWithoutFfmpegTest, TheUserIsToldOnceAndTheSizeQuestionIsAsked) {
  FitRig rig;
  const char* saved = std::getenv("PATH");
  const std::string path = saved != nullptr ? saved : "";
  ::setenv("PATH", Utf8(rig.temp.path()).c_str(), 1);
  std::unique_ptr<Processes> processes = MakeNativeProcesses();
  MediaFitters fitters = MakeMediaFitters(*rig.files, *processes, rig.PcPath(""));
  ::setenv("PATH", path.c_str(), 1);
  rig.Start(fitters.pictures.get(), fitters.movies.get());
  const std::string clip = rig.Pc("clip.mp4", IsoBytes(400000, "isom"));
  const std::string other = rig.Pc("other.mov", IsoBytes(1000, "qt  "));
  rig.feedback.answers = {Answer::No, Answer::No};

  EXPECT_EQ(rig.Add(kMovie, {clip, other}).staged, 0);

  const std::vector<std::string> texts = rig.feedback.Texts();
  ASSERT_EQ(texts.size(), 3u) << testing::PrintToString(texts);
  EXPECT_NE(texts[0].find("ffmpeg が見つからない"), std::string::npos);
  EXPECT_TRUE(texts[1].ends_with(clip));
  EXPECT_TRUE(texts[2].ends_with(other));
  EXPECT_EQ(rig.feedback.shown[1].buttons, Buttons::YesNo);
}
#endif

}  // namespace
}  // namespace sdmate::test
