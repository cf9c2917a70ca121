// Which files the staging fits, and what the staged item and the user see, with fake fitters
// that write a file of a chosen size and a movie probe the test sets: the fitting itself is
// tested on real files under tests/media.
#include "import/fit_files.h"

#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "tests/support/content_bytes.h"
#include "tests/support/fit_rig.h"

namespace sdmate {
namespace {

using test::FitRig;
using test::GifBytes;
using test::IsoBytes;
using test::JpegBytes;
using test::PngBytes;
namespace fs = std::filesystem;

constexpr MediaKind kImage = MediaKind::Image;
constexpr MediaKind kMovie = MediaKind::Movie;

// A clip the handset plays: MPEG-4 Simple Profile at QCIF and 15 frames, AMR-NB.
MovieStreams PlayableStreams() {
  MovieStreams streams;
  streams.videoStreams = 1;
  streams.audioStreams = 1;
  streams.video = "mpeg4";
  streams.videoProfile = "Simple Profile";
  streams.width = 176;
  streams.height = 144;
  streams.framesPerSecond = 15;
  streams.audio = "amr_nb";
  streams.seconds = 10;
  return streams;
}

// Writes `size` bytes under the input's stem with the fitted extension, or fails with reason.
class FakeFitter : public PictureFitter, public MovieFitter {
 public:
  std::size_t size = 1234;
  std::string reason;  // not empty: every fit fails with it
  bool available = true;
  MovieStreams streams = PlayableStreams();  // what every probe finds
  std::vector<std::string> inputs;
  std::vector<std::string> probed;

  FitResult Fit(const std::string& input, const PictureLimits& limits,
                const std::string& folder) override {
    EXPECT_EQ(limits.maxBytes, 102400);
    EXPECT_EQ(limits.maxWidth, 240);
    EXPECT_EQ(limits.maxHeight, 320);
    return Write(input, folder, ".JPG");
  }
  bool Available() override { return available; }
  MovieStreams Probe(const std::string& input) override {
    probed.push_back(input);
    return streams;
  }
  FitResult Fit(const std::string& input, const MovieLimits& limits, const std::string& folder,
                const FitProgress& progress, const FitStopped& stopped) override {
    EXPECT_EQ(limits.maxBytes, 307200);
    EXPECT_EQ(limits.width, 176);
    EXPECT_EQ(limits.framesPerSecond, 15);
    progress(250, 1000);
    if (stopped()) {
      inputs.push_back(input);
      return {{}, "stopped", true};
    }
    progress(999, 1000);
    return Write(input, folder, ".3GP");
  }

 private:
  FitResult Write(const std::string& input, const std::string& folder, const char* extension) {
    inputs.push_back(input);
    if (!reason.empty()) return {{}, reason};
    const std::string path =
        JoinNativePath(folder, std::string(StemOf(SplitNativePath(input).name)) + extension);
    test::WriteBytes(test::PathFromUtf8(path), JpegBytes(size));
    return {path, {}};
  }
};

class FitFilesTest : public ::testing::Test {
 protected:
  FitRig rig_;
  FakeFitter fitter_;
};

TEST_F(FitFilesTest, PicturesTheHandsetShowsGoAsTheyAre) {
  rig_.Start(&fitter_, &fitter_);
  const std::string jpeg = rig_.Pc("small.jpg", JpegBytes(102400, 240, 320));
  const std::string gif = rig_.Pc("anim.GIF", GifBytes(5000, 16, 16));

  EXPECT_EQ(rig_.Add(kImage, {jpeg, gif}).staged, 2);
  EXPECT_TRUE(fitter_.inputs.empty());
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kImage);
  EXPECT_EQ(folder.items[1].SourcePath(), jpeg);
  EXPECT_EQ(folder.items[1].size, 102400);
  EXPECT_EQ(folder.items[2].SourcePath(), gif);
  EXPECT_EQ(folder.items[2].targetName, "STIL0003.GIF");
}

TEST_F(FitFilesTest, OtherPicturesAreFittedWithoutTheSizeQuestion) {
  rig_.Start(&fitter_, &fitter_);
  const std::vector<std::string> paths = {
      rig_.Pc("big.jpg", JpegBytes(102401)),                 // over the limit
      rig_.Pc("icon.png", PngBytes(300)),                    // a type the handset does not show
      rig_.Pc("photo.jpeg", JpegBytes(300)),                 // JPEG under another extension
      rig_.Pc("web.JPG", JpegBytes(3000, 200, 100, false)),  // progressive
      rig_.Pc("写真.gif", GifBytes(300, 320, 240)),          // wider than the screen
      rig_.Pc("wide.jpg", JpegBytes(90000, 1000, 800)),      // within the size, not the screen
  };
  fs::last_write_time(test::PathFromUtf8(paths[1]),
                      fs::last_write_time(test::PathFromUtf8(paths[1])) - std::chrono::hours(50));
  const std::string stamp = rig_.files->FileStampText(paths[1]);
  const std::int64_t before = rig_.session->model().gauge.position();

  EXPECT_EQ(rig_.Add(kImage, paths).staged, 6);

  EXPECT_EQ(fitter_.inputs, paths);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  EXPECT_EQ(rig_.session->model().gauge.position() - before, 6 * 1234);
  const FolderSlot& folder = rig_.Folder(kImage);
  ASSERT_EQ(folder.itemCount(), 7);
  const ItemRow& icon = folder.items[2];
  EXPECT_EQ(icon.targetName, "STIL0003.JPG");
  EXPECT_EQ(icon.sourceName, "icon.JPG");
  EXPECT_EQ(icon.title, "icon.png");
  EXPECT_EQ(icon.stamp, stamp) << "the original's time";
  EXPECT_EQ(icon.size, 1234);
  EXPECT_NE(icon.sourceDir, SplitNativePath(paths[1]).directory);
  EXPECT_TRUE(fs::exists(test::PathFromUtf8(icon.SourcePath())));
  EXPECT_EQ(folder.items[5].title, rig_.codec->FromUtf8("写真.gif"));
  EXPECT_EQ(folder.items[5].targetName, "STIL0006.JPG");
  // Each fit has a folder of its own, so equal names never meet.
  EXPECT_NE(folder.items[1].sourceDir, folder.items[3].sourceDir);
  EXPECT_NE(rig_.feedback.statuses.end(),
            std::find(rig_.feedback.statuses.begin(), rig_.feedback.statuses.end(),
                      "携帯電話に合わせて変換しています (2/6): icon.png"));
}

TEST_F(FitFilesTest, AFileThatCannotBeFittedIsSkippedWithAWarningAndTheBatchGoesOn) {
  rig_.Start(&fitter_, &fitter_);
  const std::string notes = rig_.Pc("notes.txt", "not a picture");
  const std::string broken = rig_.Pc("broken.png", PngBytes(400));
  const std::string good = rig_.Pc("good.png", PngBytes(400));
  fitter_.reason = "壊れています";
  EXPECT_EQ(rig_.Add(kImage, {notes, broken}).staged, 0);
  fitter_.reason.clear();
  fitter_.size = 102401;  // a fitter that breaks its limit
  EXPECT_EQ(rig_.Add(kImage, {good}).staged, 0);
  fitter_.size = 2000;
  const BatchResult last = rig_.Add(kImage, {good});

  EXPECT_EQ(last.staged, 1);
  EXPECT_TRUE(last.ranToEnd);
  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 3u) << testing::PrintToString(texts);
  EXPECT_EQ(texts[0],
            "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n" + notes);
  EXPECT_NE(texts[1].find(broken), std::string::npos);
  EXPECT_NE(texts[1].find("壊れています"), std::string::npos);
  EXPECT_NE(texts[2].find("規定のサイズに収まりませんでした"), std::string::npos);
  for (const test::Shown& shown : rig_.feedback.shown) {
    EXPECT_EQ(shown.kind, MessageKind::Warning);
  }
  EXPECT_EQ(rig_.Folder(kImage).itemCount(), 2);
  EXPECT_EQ(rig_.Last(kImage).size, 2000);
}

TEST_F(FitFilesTest, MoviesTheHandsetPlaysGoAsTheyAreAndTheOthersAreFittedWithProgress) {
  rig_.Start(&fitter_, &fitter_);
  const std::string small = rig_.Pc("small.3gp", IsoBytes(307200));
  const std::string clip = rig_.Pc("clip.mov", IsoBytes(1000, "qt  "));
  const std::string big = rig_.Pc("big.mp4", IsoBytes(307201, "isom"));
  rig_.feedback.progress.clear();  // the load's

  EXPECT_EQ(rig_.Add(kMovie, {small, clip, big}).staged, 3);

  EXPECT_EQ(fitter_.inputs, (std::vector<std::string>{clip, big}));
  EXPECT_EQ(fitter_.probed, std::vector<std::string>{small}) << "only a candidate is probed";
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kMovie);
  EXPECT_EQ(folder.items[1].SourcePath(), small);
  EXPECT_EQ(folder.items[2].targetName, "MOL003.3GP");
  EXPECT_EQ(folder.items[2].title, "clip.mov");
  EXPECT_EQ(folder.items[3].targetName, "MOL004.3GP");
  EXPECT_EQ(folder.items[3].size, 1234);
  // Per cent of the batch: each file a third, the fitter's steps within it, then the end that
  // closes the progress.
  using Step = std::pair<int, int>;
  EXPECT_EQ(rig_.feedback.progress, (std::vector<Step>{{0, 100},
                                                       {33, 100},
                                                       {33, 100},
                                                       {41, 100},
                                                       {66, 100},
                                                       {66, 100},
                                                       {66, 100},
                                                       {75, 100},
                                                       {99, 100},
                                                       {1, 1}}));
  EXPECT_EQ(rig_.feedback.statuses[rig_.feedback.statuses.size() - 2],
            "携帯電話に合わせて変換しています (3/3): big.mp4");
}

TEST_F(FitFilesTest, AMovieWithinTheLimitIsFittedWhenTheHandsetCannotPlayIt) {
  rig_.Start(&fitter_, &fitter_);
  const std::string phone = rig_.Pc("phone.mp4", IsoBytes(157000, "isom"));
  const std::string asf = rig_.Pc(
      "old.asf",
      test::Filled(
          std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16),
          5000));
  fitter_.streams.video = "h264";
  fitter_.streams.videoProfile = "High";

  EXPECT_EQ(rig_.Add(kMovie, {phone, asf}).staged, 2);

  EXPECT_EQ(fitter_.inputs, (std::vector<std::string>{phone, asf}));
  EXPECT_EQ(rig_.Last(kMovie).targetName, "MOL003.3GP");
}

TEST_F(FitFilesTest, StoppingABatchKeepsWhatWasStagedAndStagesNothingMore) {
  rig_.Start(&fitter_, &fitter_);
  const std::vector<std::string> clips = {rig_.Pc("one.mov", IsoBytes(1000, "qt  ")),
                                          rig_.Pc("two.mov", IsoBytes(1000, "qt  ")),
                                          rig_.Pc("three.mov", IsoBytes(1000, "qt  "))};
  rig_.feedback.progress.clear();
  // 中止 after the first clip's steps: the start, the status, two of the fitter's.
  rig_.feedback.cancelAfter = 4;

  const BatchResult stopped = rig_.Add(kMovie, clips);

  EXPECT_EQ(stopped.staged, 1);
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(fitter_.inputs, std::vector<std::string>{clips[0]});
  EXPECT_EQ(rig_.Folder(kMovie).itemCount(), 2);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  EXPECT_EQ(rig_.feedback.cancellable, 0) << "the guard ended";
  EXPECT_EQ(rig_.feedback.progress.back(), (std::pair<int, int>{1, 1}));
  EXPECT_TRUE(rig_.session->updateDue()) << "what was staged waits for the update";

  // A stop in the middle of a fitting leaves nothing of that file.
  rig_.feedback.progress.clear();
  rig_.feedback.cancelAfter = 2;
  fitter_.inputs.clear();
  const BatchResult middle = rig_.Add(kMovie, {clips[1], clips[2]});
  EXPECT_EQ(middle.staged, 0);
  EXPECT_TRUE(middle.cancelled);
  EXPECT_EQ(fitter_.inputs, std::vector<std::string>{clips[1]});
  EXPECT_EQ(rig_.Folder(kMovie).itemCount(), 2);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
}

TEST_F(FitFilesTest, WithoutTheMovieToolsTheUserIsToldOnceAndTheSizeQuestionIsAsked) {
  fitter_.available = false;
  rig_.Start(&fitter_, &fitter_);
  const std::string first = rig_.Pc("first.mp4", IsoBytes(400000, "isom"));
  const std::string second = rig_.Pc("second.mp4", IsoBytes(400000, "isom"));
  rig_.feedback.answers = {Answer::Yes, Answer::No};

  EXPECT_EQ(rig_.Add(kMovie, {first, second}).staged, 1);

  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 3u) << testing::PrintToString(texts);
  EXPECT_NE(texts[0].find("ffmpeg が見つからない"), std::string::npos);
  EXPECT_EQ(texts[1],
            "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n" + first);
  EXPECT_EQ(texts[2].substr(texts[2].size() - second.size()), second);
  EXPECT_TRUE(fitter_.inputs.empty());
  EXPECT_EQ(rig_.Last(kMovie).SourcePath(), first);
  EXPECT_EQ(rig_.Last(kMovie).targetName, "MOL002.MP4");

  // A dropped type only fitting takes meets today's type message.
  const std::string mov = rig_.Pc("clip.mov", IsoBytes(100, "qt  "));
  EXPECT_EQ(rig_.session->DropFiles(kMovie, 1, {mov}).staged, 0);
  EXPECT_EQ(rig_.feedback.Texts().back(),
            "下記のファイルは非対応のムービー形式です。\n読込をスキップします。\n" + mov);
}

TEST_F(FitFilesTest, WithFittingOffTheTypeAndSizeMessagesSayWhatFittingWouldDo) {
  rig_.Start(&fitter_, &fitter_);
  rig_.session->SetFit(kImage, false);
  rig_.session->SetFit(kMovie, false);
  rig_.feedback.answers = {Answer::No, Answer::No};
  const std::string big = rig_.Pc("big.jpg", JpegBytes(102401));
  const std::string png = rig_.Pc("icon.png", PngBytes(5000));
  const std::string clip = rig_.Pc("clip.mp4", IsoBytes(400000, "isom"));
  const std::string notes = rig_.Pc("notes.txt", "notes");

  EXPECT_EQ(rig_.Add(kImage, {big, png, notes}).staged, 0);
  EXPECT_EQ(rig_.Add(kMovie, {clip}).staged, 0);

  EXPECT_TRUE(fitter_.inputs.empty());
  const std::string pictureHint =
      "\n\n「携帯電話に合わせて変換する」をオンにすると、携帯電話で表示できる JPEG に変換して追加"
      "します．";
  const std::string movieHint =
      "\n\n「携帯電話に合わせて変換する」をオンにすると、携帯電話で再生できる 3GP に変換して追加"
      "します．";
  const std::string typeMessage =
      "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n";
  EXPECT_EQ(rig_.feedback.Texts(),
            (std::vector<std::string>{
                "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n" + big +
                    pictureHint,
                typeMessage + png + pictureHint, typeMessage + notes,
                "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n" + clip +
                    movieHint}));
  EXPECT_EQ(rig_.feedback.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(rig_.feedback.shown[1].buttons, Buttons::Ok);
  EXPECT_EQ(rig_.session->AddDialogFilter(kImage), "待ち受け画像データ|*.JPG;*.GIF;");

  // Without a fitter there is nothing to say of fitting.
  FitRig plain;
  plain.Start(nullptr, nullptr);
  EXPECT_EQ(plain.Add(kImage, {plain.Pc("icon.png", PngBytes(5000))}).staged, 0);
  EXPECT_EQ(plain.feedback.Texts(),
            std::vector<std::string>{typeMessage + plain.PcPath("icon.png")});
}

TEST_F(FitFilesTest, DropsTakeTheTypesFittingTakesWhileItIsOn) {
  rig_.Start(&fitter_, &fitter_);
  const std::string png = rig_.Pc("icon.png", PngBytes(300));
  const std::string notes = rig_.Pc("notes.txt", "notes");

  EXPECT_EQ(rig_.session->DropFiles(kImage, 1, {png, notes}).staged, 1);
  rig_.session->SetFit(kImage, false);
  EXPECT_EQ(rig_.session->DropFiles(kImage, 1, {png}).staged, 0);

  const std::string typeMessage =
      "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n";
  const std::vector<std::string> texts = rig_.feedback.Texts();
  ASSERT_EQ(texts.size(), 2u) << testing::PrintToString(texts);
  EXPECT_EQ(texts[0], typeMessage + notes);
  EXPECT_TRUE(texts[1].starts_with(typeMessage + png + "\n\n")) << texts[1];
}

TEST_F(FitFilesTest, FittedFilesReachTheCardAndAreRemovedAfterTheCommit) {
  rig_.Start(&fitter_, &fitter_);
  const std::string png = rig_.Pc("icon.png", PngBytes(300));
  ASSERT_EQ(rig_.Add(kImage, {png}).staged, 1);
  const fs::path fitted = test::PathFromUtf8(rig_.Last(kImage).SourcePath());
  const std::string fittedBytes = test::ReadBytes(fitted);

  const UpdateResult update = rig_.session->Update();

  ASSERT_TRUE(update.ran);
  EXPECT_TRUE(update.failures.empty());
  EXPECT_EQ(test::ReadBytes(rig_.card.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG")),
            fittedBytes);
  EXPECT_FALSE(fs::exists(fitted));
  EXPECT_FALSE(fs::exists(fitted.parent_path().parent_path())) << "the run's folder is gone";
  EXPECT_EQ(test::ReadBytes(test::PathFromUtf8(png)), PngBytes(300));
}

}  // namespace
}  // namespace sdmate
