// The check box under the add button of the image and movie pages: where it sits, that it is on
// at the start, that files are fitted without the size question while it is on (the list shows
// the fitted size) and meet today's question while it is off, and that a run without fitters
// cannot turn it on; and the window's own picture fitter on Qt (the one of a build without
// libvips, Windows) taking a PNG to the card as a baseline JPEG.
#include <QCheckBox>
#include <QImageReader>
#include <fstream>

#include "platform/native_path.h"
#include "platform/scratch_folder.h"
#include "ui/open_files_dialog.h"
#include "ui/qt_picture_fitter.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

const std::string kSizeQuestion =
    "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n";

// Writes a "fitted" file of 4321 bytes for every picture.
class SmallPictures : public PictureFitter {
 public:
  FitResult Fit(const std::string& input, const PictureLimits& /*limits*/,
                const std::string& folder) override {
    const std::string path =
        JoinNativePath(folder, std::string(StemOf(SplitNativePath(input).name)) + ".JPG");
    WriteBytes(PathFromUtf8(path), "\xFF\xD8\xFF" + std::string(4318, 'j'));
    return {path, {}};
  }
};

class FitCheckBoxTest : public WindowTest {
 protected:
  void OpenWithFitters() {
    fit_ = {&pictures_, nullptr, scratch_.get()};
    card_.Folder(MediaKind::Image, 1, "wall", {{.name = "STIL0001.JPG", .title = "one"}});
    OpenAndLoad();
    auto dialog = std::make_unique<ScriptedOpenFiles>();
    dialog_ = dialog.get();
    window().SetOpenFilesDialog(std::move(dialog));
  }
  std::string BigPhoto() {
    const fs::path path = temp_.path() / "photo.jpg";
    WriteBytes(path, "\xFF\xD8\xFF" + std::string(300000, 'p'));
    return sdmate::test::Utf8(path);
  }

  // The JPEG's first frame marker: 0xC0 is baseline.
  static int FrameMarker(const std::string& jpeg) {
    for (std::size_t at = 2; at + 4 <= jpeg.size();) {
      if (static_cast<unsigned char>(jpeg[at]) != 0xFF) return 0;
      const int marker = static_cast<unsigned char>(jpeg[at + 1]);
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
        return marker;
      at += 2 + (static_cast<std::size_t>(static_cast<unsigned char>(jpeg[at + 2])) << 8 |
                 static_cast<unsigned char>(jpeg[at + 3]));
    }
    return 0;
  }

  SmallPictures pictures_;
  std::unique_ptr<ScratchFolder> scratch_ = MakeScratchFolder("sdmate-test-fit");
  ScriptedOpenFiles* dialog_ = nullptr;
};

TEST_F(FitCheckBoxTest, SitsUnderTheAddButtonOfTheImageAndMoviePagesAndStartsOn) {
  OpenWithFitters();
  EXPECT_EQ(page(MediaKind::Document).cbFit, nullptr);
  for (MediaKind kind : {MediaKind::Image, MediaKind::Movie}) {
    QCheckBox* box = page(kind).cbFit;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName().toStdString(), std::string("cbFit") + TraitsOf(kind).controlSuffix);
    EXPECT_EQ(box->text().remove(QLatin1Char('\n')).toStdString(), "携帯電話に合わせて変換する");
    ShowPage(kind);
    // Beside the list, under the add button and above the export button.
    const QRect where = box->geometry();
    EXPECT_GT(where.left(), page(kind).sg->geometry().right());
    EXPECT_GE(where.top(), page(kind).btAdd->geometry().bottom());
    EXPECT_LE(where.bottom(), page(kind).btExport->geometry().top());
    EXPECT_TRUE(page(kind).rect().contains(where));
    EXPECT_GE(where.width(), box->sizeHint().width()) << "the caption is not cut off";
    EXPECT_GE(where.height(), box->sizeHint().height());
  }
  EXPECT_TRUE(page(MediaKind::Image).cbFit->isChecked());
  EXPECT_TRUE(page(MediaKind::Image).cbFit->isEnabled());
  // This run has no movie fitter: the movie page's box cannot be turned on.
  EXPECT_FALSE(page(MediaKind::Movie).cbFit->isChecked());
  EXPECT_FALSE(page(MediaKind::Movie).cbFit->isEnabled());
}

TEST_F(FitCheckBoxTest, OnTheFileIsFittedWithoutTheQuestionAndTheListShowsItsSize) {
  OpenWithFitters();
  const std::string photo = BigPhoto();
  dialog_->next = {photo};

  page(MediaKind::Image).btAdd->click();

  EXPECT_TRUE(feedback_.shown.empty()) << testing::PrintToString(feedback_.Texts());
  EXPECT_NE(dialog_->filters.at(0).find("*.PNG;"), std::string::npos);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_EQ(Column(MediaKind::Image, 2)[1], "4321");
  EXPECT_EQ(Column(MediaKind::Image, 3)[1], "photo.jpg");
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(FitCheckBoxTest, OffTheFileMeetsTheSizeQuestionSayingWhatTheBoxWouldDo) {
  OpenWithFitters();
  const std::string photo = BigPhoto();
  dialog_->next = {photo};
  page(MediaKind::Image).cbFit->click();
  ASSERT_FALSE(page(MediaKind::Image).cbFit->isChecked());
  feedback_.answers = {Answer::Yes};

  page(MediaKind::Image).btAdd->click();

  ASSERT_EQ(feedback_.Texts().size(), 1u);
  EXPECT_TRUE(feedback_.Texts()[0].starts_with(kSizeQuestion + photo +
                                               "\n\n「携帯電話に合わせて変換する」"))
      << feedback_.Texts()[0];
  EXPECT_EQ(dialog_->filters.at(0), "待ち受け画像データ|*.JPG;*.GIF;");
  EXPECT_EQ(Column(MediaKind::Image, 2)[1], "300003");
}

TEST_F(FitCheckBoxTest, WithoutFittersNeitherBoxCanBeTurnedOn) {
  card_.Folder(MediaKind::Image, 1, "wall", {{.name = "STIL0001.JPG", .title = "one"}});
  OpenAndLoad();
  for (MediaKind kind : {MediaKind::Image, MediaKind::Movie}) {
    EXPECT_FALSE(page(kind).cbFit->isChecked());
    EXPECT_FALSE(page(kind).cbFit->isEnabled());
    EXPECT_FALSE(window().session().FitOn(kind));
  }
}

// The fitter a build without libvips hands the window: a large PNG goes to the card as a baseline
// JPEG within the handset's box and size, and the original is only read.
TEST_F(FitCheckBoxTest, QtsFitterTakesAPngToTheCardAsABaselineJpegWithinTheBox) {
  QtPictureFitter qtPictures(*files_);
  fit_ = {&qtPictures, nullptr, scratch_.get()};
  card_.Folder(MediaKind::Image, 1, "wall", {{.name = "STIL0001.JPG", .title = "one"}});
  OpenAndLoad();
  auto dialog = std::make_unique<ScriptedOpenFiles>();
  dialog->next = {sdmate::test::Utf8(temp_.path() / "wide.png")};
  const std::string png = PictureBytes("PNG", 1200, 900);
  WriteBytes(temp_.path() / "wide.png", png);
  window().SetOpenFilesDialog(std::move(dialog));

  page(MediaKind::Image).btAdd->click();
  EXPECT_TRUE(feedback_.shown.empty()) << testing::PrintToString(feedback_.Texts());
  ASSERT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  window().btRefreshData->click();

  const std::string jpeg =
      ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG"));
  ASSERT_TRUE(jpeg.starts_with("\xFF\xD8\xFF")) << jpeg.size();
  EXPECT_LE(jpeg.size(), 102400u);
  EXPECT_EQ(FrameMarker(jpeg), 0xC0);
  QByteArray bytes(jpeg.data(), static_cast<qsizetype>(jpeg.size()));
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "jpeg");
  EXPECT_EQ(reader.size(), QSize(240, 180));
  EXPECT_EQ(ReadBytes(temp_.path() / "wide.png"), png);
}

}  // namespace
}  // namespace sdmate::test
