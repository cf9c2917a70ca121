// Which files the staging fits, and what the staged item and the user see, with fake fitters
// that write a file of a chosen size: the fitting itself is tested on real files under
// tests/media.
#include "import/fit_files.h"

#include <gtest/gtest.h>

#include "platform/native_path.h"
#include "tests/support/fit_rig.h"

namespace sdmate {
namespace {

using test::FitRig;
namespace fs = std::filesystem;

constexpr MediaKind kImage = MediaKind::Image;
constexpr MediaKind kMovie = MediaKind::Movie;
const std::string kJpegHead = "\xFF\xD8\xFF\xE0";
const std::string kPngHead = "\x89PNG\r\n\x1A\n";
const std::string kGifHead = "GIF89a";

std::string Bytes(const std::string& head, std::size_t size) {
  return head + std::string(size - head.size(), 'x');
}

// Writes `size` bytes under the input's stem with the fitted extension, or fails with reason.
class FakeFitter : public PictureFitter, public MovieFitter {
 public:
  std::size_t size = 1234;
  std::string reason;  // not empty: every fit fails with it
  bool available = true;
  std::vector<std::string> inputs;

  FitResult Fit(const std::string& input, const PictureLimits& limits,
                const std::string& folder) override {
    EXPECT_EQ(limits.maxBytes, 102400);
    EXPECT_EQ(limits.maxWidth, 240);
    EXPECT_EQ(limits.maxHeight, 320);
    return Write(input, folder, ".JPG");
  }
  bool Available() override { return available; }
  FitResult Fit(const std::string& input, const MovieLimits& limits, const std::string& folder,
                const FitProgress& progress) override {
    EXPECT_EQ(limits.maxBytes, 307200);
    progress(250, 1000);
    progress(999, 1000);
    return Write(input, folder, ".3GP");
  }

 private:
  FitResult Write(const std::string& input, const std::string& folder, const char* extension) {
    inputs.push_back(input);
    if (!reason.empty()) return {{}, reason};
    const std::string path =
        JoinNativePath(folder, std::string(StemOf(SplitNativePath(input).name)) + extension);
    test::WriteBytes(test::PathFromUtf8(path), Bytes(kJpegHead, size));
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
  const std::string jpeg = rig_.Pc("small.jpg", Bytes(kJpegHead, 102400));
  const std::string gif = rig_.Pc("anim.GIF", Bytes(kGifHead, 5000));

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
      rig_.Pc("big.jpg", Bytes(kJpegHead, 102401)),  // over the limit
      rig_.Pc("icon.png", Bytes(kPngHead, 300)),     // a type the handset does not show
      rig_.Pc("photo.jpeg", Bytes(kJpegHead, 300)),  // JPEG under another extension
      rig_.Pc("fake.JPG", Bytes(kPngHead, 300)),     // a PNG named as a JPEG
      rig_.Pc("写真.gif", Bytes(kJpegHead, 300)),    // a JPEG named as a GIF
  };
  fs::last_write_time(test::PathFromUtf8(paths[1]),
                      fs::last_write_time(test::PathFromUtf8(paths[1])) - std::chrono::hours(50));
  const std::string stamp = rig_.files->FileStampText(paths[1]);
  const std::int64_t before = rig_.session->model().gauge.position();

  EXPECT_EQ(rig_.Add(kImage, paths).staged, 5);

  EXPECT_EQ(fitter_.inputs, paths);
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  EXPECT_EQ(rig_.session->model().gauge.position() - before, 5 * 1234);
  const FolderSlot& folder = rig_.Folder(kImage);
  ASSERT_EQ(folder.itemCount(), 6);
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
                      "携帯電話に合わせて変換しています: icon.png"));
}

TEST_F(FitFilesTest, AFileThatCannotBeFittedIsSkippedWithAWarningAndTheBatchGoesOn) {
  rig_.Start(&fitter_, &fitter_);
  const std::string notes = rig_.Pc("notes.txt", "not a picture");
  const std::string broken = rig_.Pc("broken.png", Bytes(kPngHead, 400));
  const std::string good = rig_.Pc("good.png", Bytes(kPngHead, 400));
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
  EXPECT_NE(texts[0].find(notes), std::string::npos);
  EXPECT_NE(texts[0].find("画像として読み込めない"), std::string::npos);
  EXPECT_NE(texts[1].find(broken), std::string::npos);
  EXPECT_NE(texts[1].find("壊れています"), std::string::npos);
  EXPECT_NE(texts[2].find("規定のサイズに収まりませんでした"), std::string::npos);
  for (const test::Shown& shown : rig_.feedback.shown) {
    EXPECT_EQ(shown.kind, MessageKind::Warning);
  }
  EXPECT_EQ(rig_.Folder(kImage).itemCount(), 2);
  EXPECT_EQ(rig_.Last(kImage).size, 2000);
}

TEST_F(FitFilesTest, MoviesAreFittedWithProgressOrGoAsTheyAre) {
  rig_.Start(&fitter_, &fitter_);
  const std::string small = rig_.Pc("small.3gp", std::string(307200, 'm'));
  const std::string clip = rig_.Pc("clip.mov", std::string(1000, 'm'));
  const std::string big = rig_.Pc("big.mp4", std::string(307201, 'm'));
  rig_.feedback.progress.clear();  // the load's

  EXPECT_EQ(rig_.Add(kMovie, {small, clip, big}).staged, 3);

  EXPECT_EQ(fitter_.inputs, (std::vector<std::string>{clip, big}));
  EXPECT_TRUE(rig_.feedback.shown.empty()) << testing::PrintToString(rig_.feedback.Texts());
  const FolderSlot& folder = rig_.Folder(kMovie);
  EXPECT_EQ(folder.items[1].SourcePath(), small);
  EXPECT_EQ(folder.items[2].targetName, "MOL003.3GP");
  EXPECT_EQ(folder.items[2].title, "clip.mov");
  EXPECT_EQ(folder.items[3].targetName, "MOL004.3GP");
  EXPECT_EQ(folder.items[3].size, 1234);
  // The fitter's steps, then the end that closes the progress, for each fitted movie.
  using Step = std::pair<int, int>;
  EXPECT_EQ(rig_.feedback.progress,
            (std::vector<Step>{{25, 100}, {99, 100}, {1, 1}, {25, 100}, {99, 100}, {1, 1}}));
}

TEST_F(FitFilesTest, WithoutTheMovieToolsTheUserIsToldOnceAndTheSizeQuestionIsAsked) {
  fitter_.available = false;
  rig_.Start(&fitter_, &fitter_);
  const std::string first = rig_.Pc("first.mp4", std::string(400000, 'm'));
  const std::string second = rig_.Pc("second.mp4", std::string(400000, 'm'));
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
  const std::string mov = rig_.Pc("clip.mov", "m");
  EXPECT_EQ(rig_.session->DropFiles(kMovie, 1, {mov}).staged, 0);
  EXPECT_EQ(rig_.feedback.Texts().back(),
            "下記のファイルは非対応のムービー形式です。\n読込をスキップします。\n" + mov);
}

TEST_F(FitFilesTest, WithFittingOffTheFilesGoAsToday) {
  rig_.Start(&fitter_, &fitter_);
  rig_.session->SetFit(kImage, false);
  rig_.feedback.answers = {Answer::No, Answer::Yes};
  const std::string big = rig_.Pc("big.jpg", Bytes(kJpegHead, 102401));
  const std::string png = rig_.Pc("icon.png", Bytes(kPngHead, 300));

  EXPECT_EQ(rig_.Add(kImage, {big, png}).staged, 1);

  EXPECT_TRUE(fitter_.inputs.empty());
  EXPECT_EQ(rig_.feedback.Texts().size(), 2u);
  EXPECT_EQ(rig_.Last(kImage).targetName, "STIL0002.PNG");
  EXPECT_EQ(rig_.session->AddDialogFilter(kImage), "待ち受け画像データ|*.JPG;*.GIF;");
}

TEST_F(FitFilesTest, DropsTakeTheTypesFittingTakesWhileItIsOn) {
  rig_.Start(&fitter_, &fitter_);
  const std::string png = rig_.Pc("icon.png", Bytes(kPngHead, 300));
  const std::string notes = rig_.Pc("notes.txt", "notes");

  EXPECT_EQ(rig_.session->DropFiles(kImage, 1, {png, notes}).staged, 1);
  rig_.session->SetFit(kImage, false);
  EXPECT_EQ(rig_.session->DropFiles(kImage, 1, {png}).staged, 0);

  const std::string typeMessage =
      "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n";
  EXPECT_EQ(rig_.feedback.Texts(),
            (std::vector<std::string>{typeMessage + notes, typeMessage + png}));
}

TEST_F(FitFilesTest, FittedFilesReachTheCardAndAreRemovedAfterTheCommit) {
  rig_.Start(&fitter_, &fitter_);
  const std::string png = rig_.Pc("icon.png", Bytes(kPngHead, 300));
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
  EXPECT_EQ(test::ReadBytes(test::PathFromUtf8(png)), Bytes(kPngHead, 300));
}

TEST(SniffPicture, TellsTheTypeByTheFirstBytes) {
  const std::vector<std::pair<std::string, PictureType>> cases = {
      {"\xFF\xD8\xFF\xE1....Exif", PictureType::Jpeg},
      {"GIF87a...", PictureType::Gif},
      {"\x89PNG\r\n\x1A\n....", PictureType::Png},
      {"BM......", PictureType::Bmp},
      {std::string("II*\0....", 8), PictureType::Tiff},
      {std::string("MM\0*....", 8), PictureType::Tiff},
      {"RIFF....WEBPVP8 ", PictureType::Webp},
      {std::string("\0\0\0\x18"
                   "ftypheic",
                   12),
       PictureType::Heif},
      {std::string("\0\0\0\x18"
                   "ftypmp42",
                   12),
       PictureType::Unknown},  // a movie
      {"RIFF....AVI LIST", PictureType::Unknown},
      {"%PDF-1.4", PictureType::Unknown},
      {"\xFF\xD8", PictureType::Unknown},
      {"", PictureType::Unknown},
  };
  for (const auto& [head, type] : cases) {
    EXPECT_EQ(SniffPicture(head), type) << testing::PrintToString(head);
  }
}

}  // namespace
}  // namespace sdmate
