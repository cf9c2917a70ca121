// The ffmpeg movie fitter on clips the tests make with ffmpeg: a phone's MP4 becomes a 3GP the
// handset plays within its limit, a clip too long is refused with the seconds that fit and
// nothing staged, and without ffmpeg the user is told and the file goes as today.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/ffmpeg_movie_fitter.h"
#include "media/media_fitters.h"
#include "tests/media/media_test_files.h"
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
                  [&](int done, int total) { steps.emplace_back(done, total); });

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

TEST_F(MovieFitterTest, AClipTooLongIsRefusedWithTheSecondsThatFitAndNothingIsStaged) {
  rig_.Start(nullptr, &fitter_);
  const std::string clip =
      MakeClip("long.mov", {"-f", "lavfi", "-i", "color=c=gray:size=64x48:rate=2", "-f", "lavfi",
                            "-i", "anullsrc=r=8000:cl=mono", "-t", "600", "-c:v", "libx264",
                            "-preset", "ultrafast", "-c:a", "aac"});
  const int fit = PlanMovie(600, true, true, MovieLimits{}).secondsThatFit;

  const BatchResult added = rig_.Add(kMovie, {clip});

  EXPECT_EQ(added.staged, 0);
  EXPECT_EQ(rig_.Folder(kMovie).itemCount(), 1);
  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
  EXPECT_NE(texts[0].find(clip), std::string::npos);
  EXPECT_NE(texts[0].find("約" + std::to_string(fit) + "秒まで"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find("約600秒"), std::string::npos) << texts[0];
}

TEST_F(MovieFitterTest, WhatFfmpegCannotReadIsAReasonNotACrash) {
  const std::string path = rig_.Pc("notes.mp4", "this is no movie");
  const FitResult result = fitter_.Fit(path, MovieLimits{}, rig_.scratch->NewFolder(), {});
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
  const std::string clip = rig.Pc("clip.mp4", std::string(400000, 'm'));
  const std::string other = rig.Pc("other.mov", std::string(1000, 'm'));
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
