// The camera pictures' page and the export dialog in the real window: the pictures listed by
// folder with their shot times, the page read-only, the preview and the opener following the
// selection, and the exports of a selection, a folder and the whole card that the dialog chooses.
#include "ui/camera_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <chrono>

#include "card/export_messages.h"
#include "tests/support/exif_jpeg.h"
#include "ui/folder_picker.h"
#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class DestinationPicker : public FolderPicker {
 public:
  std::string Pick(QWidget*, const QString& caption, const std::string&) override {
    captions.push_back(caption.toStdString());
    return next;
  }
  std::string next;
  std::vector<std::string> captions;
};

class CameraPageTest : public WindowTest {
 protected:
  CameraPageTest()
      : first_(CameraJpeg({.width = 640, .height = 480, .data = "first"})),
        plain_(PictureBytes("JPG", 200, 150)),
        third_(CameraJpeg({.data = "third, the same second"})) {}

  void SetUp() override {
    card_.Folder(MediaKind::Image, 1, "f", {{.name = "STIL0001.JPG", .title = "sun"}});
    card_.File("DCIM/100NECDT/NEC_0001.JPG", first_)
        .File("DCIM/100NECDT/NEC_0002.JPG", plain_)
        .File("DCIM/100NECDT/NEC_0003.JPG", third_)
        .File("DCIM/100NECDT/MEMO.TXT", "not a camera picture")
        .File("DCIM/101NECDT/NEC_0001.JPG", CameraJpeg({.shot = "2005:04:01 09:00:00"}));
    // 2005-03-03 14:08:31 in Japan: the picture without EXIF is listed at its file's time.
    fs::last_write_time(card_.root() / "DCIM/100NECDT/NEC_0002.JPG",
                        std::chrono::file_clock::from_sys(
                            std::chrono::sys_seconds(std::chrono::seconds(1109826511))));
  }

  void OpenWithPicker() {
    OpenAndLoad();
    auto picker = std::make_unique<DestinationPicker>();
    picker_ = picker.get();
    window().SetExportFolderPicker(std::move(picker));
  }
  CameraPage& camera() { return window().cameraPage(); }
  void ShowCameraTab() { window().pcMain->setCurrentWidget(&camera()); }

  std::vector<std::string> CameraColumn(int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < camera().sg->rowCount(); ++row) {
      QTableWidgetItem* cell = camera().sg->item(row, column);
      cells.push_back(cell == nullptr ? std::string() : cell->text().toStdString());
    }
    return cells;
  }
  void ClickCameraRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    QTableWidget* grid = camera().sg;
    const QRect cell = grid->visualItemRect(grid->item(row - 1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
  }
  std::string Native(const char* relative) {
    return Utf8((card_.root() / relative).make_preferred());
  }

  std::string first_;
  std::string plain_;
  std::string third_;
  DestinationPicker* picker_ = nullptr;
};

TEST_F(CameraPageTest, ThePicturesAreListedByFolderWithShotTimesSizesAndPixels) {
  OpenWithPicker();
  ASSERT_EQ(window().pcMain->count(), 4);
  EXPECT_EQ(window().pcMain->tabText(3).trimmed().toStdString(), "カメラ画像");
  EXPECT_EQ(camera().sbFolder->count(), 0) << "read from the card only when the page is shown";

  ShowCameraTab();
  ASSERT_EQ(camera().sbFolder->count(), 2);
  EXPECT_EQ(camera().sbFolder->itemText(0).toStdString(), "100NECDT");
  EXPECT_EQ(camera().sbFolder->itemText(1).toStdString(), "101NECDT");
  EXPECT_EQ(CameraColumn(0),
            (std::vector<std::string>{"NEC_0001.JPG", "NEC_0002.JPG", "NEC_0003.JPG"}));
  EXPECT_EQ(CameraColumn(1), (std::vector<std::string>{"2005:03:03 14:07:31", "2005:03:03 14:08:31",
                                                       "2005:03:03 14:07:31"}));
  EXPECT_EQ(CameraColumn(2),
            (std::vector<std::string>{std::to_string(first_.size()), std::to_string(plain_.size()),
                                      std::to_string(third_.size())}));
  EXPECT_EQ(CameraColumn(3), (std::vector<std::string>{"640×480", "200×150", "160×120"}));
  // Only the time that is not the camera's own says where it comes from.
  EXPECT_TRUE(camera().sg->item(0, 1)->toolTip().isEmpty());
  EXPECT_FALSE(camera().sg->item(1, 1)->toolTip().isEmpty());

  // Read-only: one line says why, and the export is the page's only control besides the chooser.
  EXPECT_EQ(camera().lbNote->text().toStdString(),
            "カメラ画像は携帯電話が独自の一覧で管理しているため、ここでは変更できません．");
  EXPECT_TRUE(camera().findChildren<QLineEdit*>().isEmpty());
  EXPECT_EQ(camera().findChildren<QPushButton*>(), QList<QPushButton*>{camera().btExport});
  EXPECT_TRUE(camera().btExport->isEnabled());
  EXPECT_FALSE(camera().lbEmpty->isVisibleTo(&camera()));

  // The preview and the opener follow the selection.
  ClickCameraRow(2);
  EXPECT_EQ(window().DispPrev->shownPath().toStdString(), Native("DCIM/100NECDT/NEC_0002.JPG"));
  QTest::keyClick(camera().sg, Qt::Key_Return);
  EXPECT_EQ(opened_, std::vector<std::string>{Native("DCIM/100NECDT/NEC_0002.JPG")});

  camera().sbFolder->setCurrentIndex(1);
  EXPECT_EQ(CameraColumn(0), std::vector<std::string>{"NEC_0001.JPG"});
  EXPECT_EQ(CameraColumn(1), std::vector<std::string>{"2005:04:01 09:00:00"});
  QTest::keyClick(camera().sg, Qt::Key_F4);
  EXPECT_EQ(opened_.back(), Native("DCIM/101NECDT/NEC_0001.JPG"));

  // Back on the standby images, the preview is theirs again, and the camera's on return.
  window().pcMain->setCurrentIndex(0);
  EXPECT_TRUE(window().DispPrev->shownPath().isEmpty()) << "the standby image is no picture";
  camera().sbFolder->setCurrentIndex(0);
  ClickCameraRow(2);
  window().pcMain->setCurrentIndex(1);
  ShowCameraTab();
  EXPECT_EQ(window().DispPrev->shownPath().toStdString(), Native("DCIM/100NECDT/NEC_0002.JPG"));
}

TEST_F(CameraPageTest, SelectedPicturesAndTheFolderAreExportedUnderTheirShotTimes) {
  OpenWithPicker();
  ShowCameraTab();
  ClickCameraRow(1);
  ClickCameraRow(3, Qt::ControlModifier);
  ASSERT_EQ(camera().SelectedRows(), (std::vector<int>{1, 3}));

  const fs::path picked = temp_.path() / "picked";
  picker_->next = Utf8(picked);
  exportDialog_->answer = ExportChoice{.scope = ExportScope::Selection};
  camera().btExport->click();
  ASSERT_EQ(exportDialog_->offers.size(), 1U);
  const ExportOffer& offer = exportDialog_->offers[0];
  EXPECT_EQ(offer.selectionText.toStdString(), "選んでいる画像だけ（2 枚）");
  EXPECT_EQ(offer.folderText.toStdString(), "表示しているフォルダ（100NECDT、3 枚）");
  EXPECT_EQ(offer.initial, ExportScope::Selection) << "pictures picked one by one";
  EXPECT_FALSE(offer.folderHasMovies);
  EXPECT_EQ(picker_->captions, std::vector<std::string>{"書き出し先のフォルダ"});
  EXPECT_EQ(SnapshotTree(picked),
            (std::map<std::string, std::string>{{"2005-03-03 14-07-31.jpg", first_},
                                                {"2005-03-03 14-07-31 (2).jpg", third_}}));

  // The whole folder, twice into one place: the second run adds nothing.
  const fs::path folder = temp_.path() / "folder";
  picker_->next = Utf8(folder);
  exportDialog_->answer = ExportChoice{.scope = ExportScope::Folder};
  camera().btExport->click();
  EXPECT_EQ(ListTree(folder),
            (std::vector<std::string>{"2005-03-03 14-07-31 (2).jpg", "2005-03-03 14-07-31.jpg",
                                      "2005-03-03 14-08-31.jpg"}));
  EXPECT_EQ(ReadBytes(folder / "2005-03-03 14-08-31.jpg"), plain_);
  camera().btExport->click();
  EXPECT_EQ(ListTree(folder).size(), 3U);
  EXPECT_TRUE(feedback_.Texts().back().starts_with(text::kExportNothingNew))
      << feedback_.Texts().back();
  EXPECT_EQ(feedback_.busyDepth, 0);
}

TEST_F(CameraPageTest, ClosingEitherDialogExportsNothing) {
  OpenWithPicker();
  ShowCameraTab();
  picker_->next = Utf8(temp_.path() / "out");
  exportDialog_->answer = std::nullopt;
  camera().btExport->click();
  page(MediaKind::Image).btExport->click();
  EXPECT_TRUE(picker_->captions.empty()) << "no folder is asked for after the dialog is closed";
  exportDialog_->answer = ExportChoice{};
  picker_->next.clear();
  camera().btExport->click();
  EXPECT_EQ(picker_->captions.size(), 1U);
  EXPECT_FALSE(fs::exists(temp_.path() / "out"));
  EXPECT_TRUE(feedback_.shown.empty());
}

TEST_F(CameraPageTest, TheWholeCardGoesIntoAFolderPerKindAndFolder) {
  card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "walk"}});
  OpenWithPicker();
  const fs::path out = temp_.path() / "all";
  picker_->next = Utf8(out);
  // Started from a kind's page, before the camera page was ever shown. Without ffmpeg the movies
  // go as they are, after one message.
  exportDialog_->answer = ExportChoice{.scope = ExportScope::Card, .convertMovies = true};
  page(MediaKind::Image).btExport->click();
  EXPECT_EQ(ListTree(out), (std::vector<std::string>{
                               "カメラ画像/100NECDT/2005-03-03 14-07-31 (2).jpg",
                               "カメラ画像/100NECDT/2005-03-03 14-07-31.jpg",
                               "カメラ画像/100NECDT/2005-03-03 14-08-31.jpg",
                               "カメラ画像/101NECDT/2005-04-01 09-00-00.jpg",
                               "ムービー/001 clips/walk.3GP",
                               "待受け画像/001 f/sun.JPG",
                           }));
  const std::vector<std::string> texts = feedback_.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(text::kExportNoConverter)), 1);

  // Unticked, nothing is said about ffmpeg; from the camera page the card goes the same way.
  feedback_.shown.clear();
  exportDialog_->answer = ExportChoice{.scope = ExportScope::Card, .convertMovies = false};
  ShowCameraTab();
  camera().btExport->click();
  ASSERT_EQ(feedback_.Texts().size(), 1U);
  EXPECT_TRUE(feedback_.Texts()[0].starts_with(text::kExportNothingNew)) << feedback_.Texts()[0];
}

TEST_F(CameraPageTest, AKindPageOffersItsSelectedItemAndSaysWhetherItHoldsMovies) {
  card_.Folder(MediaKind::Movie, 1, "clips",
               {{.name = "MOL001.3GP", .title = "walk"},
                {.name = "MOL002.3GP", .title = "run"},
                {.name = "MOL003.3GP", .title = ""}});
  OpenWithPicker();
  const fs::path out = temp_.path() / "one";
  picker_->next = Utf8(out);
  exportDialog_->answer = ExportChoice{.scope = ExportScope::Selection, .convertMovies = false};
  ClickRow(MediaKind::Movie, 2);
  page(MediaKind::Movie).btExport->click();
  ASSERT_EQ(exportDialog_->offers.size(), 1U);
  EXPECT_EQ(exportDialog_->offers[0].selectionText.toStdString(), "選んでいる項目だけ（run）");
  EXPECT_EQ(exportDialog_->offers[0].folderText.toStdString(),
            "表示しているフォルダ（フォルダ 1、3 件）");
  EXPECT_EQ(exportDialog_->offers[0].initial, ExportScope::Folder);
  EXPECT_TRUE(exportDialog_->offers[0].folderHasMovies);
  EXPECT_EQ(ListTree(out), std::vector<std::string>{"run.3GP"});

  page(MediaKind::Image).btExport->click();
  EXPECT_FALSE(exportDialog_->offers.back().folderHasMovies);
  // An item without a title is offered under its file's name.
  exportDialog_->answer = std::nullopt;
  ClickRow(MediaKind::Movie, 3);
  page(MediaKind::Movie).btExport->click();
  EXPECT_EQ(exportDialog_->offers.back().selectionText.toStdString(),
            "選んでいる項目だけ（MOL003.3GP）");
}

TEST_F(CameraPageTest, ACardWithoutCameraPicturesSaysSoAndTheNextLoadReadsThemAgain) {
  fs::remove_all(card_.root() / "DCIM");
  OpenWithPicker();
  ShowCameraTab();
  EXPECT_EQ(camera().sbFolder->count(), 0);
  EXPECT_EQ(camera().sg->rowCount(), 0);
  EXPECT_TRUE(camera().lbEmpty->isVisibleTo(&camera()));
  EXPECT_FALSE(camera().btExport->isEnabled());
  camera().btExport->click();
  EXPECT_TRUE(exportDialog_->offers.empty());

  // Loaded again while the page is shown, the card's new pictures are listed at once.
  card_.File("DCIM/100NECDT/NEC_0001.JPG", first_);
  window().btLoadMem->click();
  EXPECT_EQ(CameraColumn(0), std::vector<std::string>{"NEC_0001.JPG"});
  EXPECT_FALSE(camera().lbEmpty->isVisibleTo(&camera()));
  EXPECT_TRUE(camera().btExport->isEnabled());
}

TEST(ExportChoiceDialogTest, TheConvertBoxAppliesOnlyWhereMoviesGo) {
  ExportChoiceDialog pictures({.folderText = QStringLiteral("folder")});
  EXPECT_EQ(pictures.rbSelection, nullptr) << "nothing selected, nothing offered";
  EXPECT_TRUE(pictures.rbFolder->isChecked());
  EXPECT_TRUE(pictures.cbConvert->isChecked()) << "on at the start";
  EXPECT_FALSE(pictures.cbConvert->isEnabled());
  EXPECT_EQ(pictures.rbCard->text().toStdString(), "カードのすべて");
  EXPECT_EQ(pictures.cbConvert->text().toStdString(), "パソコンで再生できる形式に変換する");
  pictures.rbCard->setChecked(true);
  EXPECT_TRUE(pictures.cbConvert->isEnabled()) << "the card holds movies";
  pictures.cbConvert->setChecked(false);
  EXPECT_EQ(pictures.choice().scope, ExportScope::Card);
  EXPECT_FALSE(pictures.choice().convertMovies);

  ExportChoiceDialog movies({.selectionText = QStringLiteral("one"),
                             .folderText = QStringLiteral("folder"),
                             .folderHasMovies = true,
                             .initial = ExportScope::Selection});
  ASSERT_NE(movies.rbSelection, nullptr);
  EXPECT_TRUE(movies.rbSelection->isChecked());
  EXPECT_TRUE(movies.cbConvert->isEnabled());
  EXPECT_EQ(movies.choice().scope, ExportScope::Selection);
  EXPECT_TRUE(movies.choice().convertMovies);
  movies.rbFolder->setChecked(true);
  EXPECT_EQ(movies.choice().scope, ExportScope::Folder);
}

}  // namespace
}  // namespace sdmate::test
