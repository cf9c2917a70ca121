// Looking at the card and moving things around in the window: the items' pictures in the lists
// and the preview (made off the window's thread, kept in the cache), several rows at once, a
// drag inside a list, and items moved to another folder by a drop on the folder chooser or 移動….
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QTimer>

#include "cli/sample_card.h"
#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

// Picks the folder a test names from the list of 移動…, and keeps what it offered.
class ScriptedMoveChooser : public MoveFolderChooser {
 public:
  int Choose(QWidget* /*parent*/, const std::vector<MoveTarget>& targets, QPoint /*at*/) override {
    offered.push_back(targets);
    return answer;
  }
  int answer = 0;
  std::vector<std::vector<MoveTarget>> offered;
};

class SeeMoveTest : public WindowTest {
 protected:
  void WriteCard() {
    card_.Folder(MediaKind::Image, 1, "wall",
                 {{.name = "STIL0001.JPG", .title = "one", .content = PictureBytes("JPG", 60, 80)},
                  {.name = "STIL0002.JPG", .title = "two", .content = PictureBytes("PNG", 30, 40)},
                  {.name = "STIL0003.JPG", .title = "three"},
                  {.name = "STIL0004.JPG", .title = "four"}});
    card_.Folder(MediaKind::Image, 2, "more", {{.name = "STIL0001.JPG", .title = "other"}});
    card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "clip"}});
    card_.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "doc"}});
  }
  ScriptedMoveChooser& InjectChooser(int answer) {
    auto chooser = std::make_unique<ScriptedMoveChooser>();
    chooser->answer = answer;
    ScriptedMoveChooser& scripted = *chooser;
    window().SetMoveFolderChooser(std::move(chooser));
    return scripted;
  }
  std::vector<std::string> Titles(MediaKind kind) { return Column(kind, 3); }
  // Selects rows first..last as Shift+click does.
  void SelectRows(MediaKind kind, int first, int last) {
    ClickRow(kind, first);
    QTableWidget* grid = page(kind).sg;
    const QRect cell = grid->visualItemRect(grid->item(last - 1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cell.center());
  }
  // The drag a list starts with its selected rows, dropped at a point of a widget.
  void DropSelection(MediaKind kind, QWidget* target, QPoint at) {
    std::unique_ptr<QMimeData> data(window().ListDragData(kind));
    ASSERT_NE(data, nullptr);
    const QPoint point = target->mapTo(&window(), at);
    // The drag enters the window, moves over the target and lands there.
    QDragEnterEvent enter(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window(), &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window(), &drop);
    // The drop is acted on once the drag is over.
    QCoreApplication::processEvents();
  }
  // Every picture asked for is made and the lists are drawn again.
  void PicturesMade() {
    window().thumbnails().WaitForAll();
    QTest::qWait(120);
  }
  bool HasPicture(MediaKind kind, int row) {
    QTableWidgetItem* cell = page(kind).sg->item(row - 1, 0);
    return cell != nullptr && !cell->data(Qt::DecorationRole).value<QIcon>().isNull();
  }
};

// The sample card loaded by the button, with its Japanese folder and item titles, the first
// row's title in the field and its picture in the preview (under wine this is the load that used
// to crash the window).
TEST_F(SeeMoveTest, TheLoadButtonShowsTheSampleCardWithItsJapaneseTitles) {
  Open();
  const std::string written = cli::WriteSampleCard(letter_, *files_, *codec_);
  ASSERT_TRUE(written.empty()) << written;
  window().btLoadMem->click();
  ASSERT_TRUE(window().session().model().loaded);
  EXPECT_EQ(Names(MediaKind::Image),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(Titles(MediaKind::Image)[0], "夕焼けの空");
  EXPECT_EQ(Folders(MediaKind::Image).at(0), "1");
  EXPECT_EQ(page(MediaKind::Image).edFolderTitle->text().toStdString(), "風景");
  EXPECT_EQ(page(MediaKind::Image).edTitle->text().toStdString(), "夕焼けの空");
  EXPECT_EQ(Titles(MediaKind::Movie)[9], "クリップ10");
  EXPECT_EQ(Titles(MediaKind::Document)[2], "駅からの地図");
  PicturesMade();
  EXPECT_FALSE(window().DispPrev->pixmap().isNull());
}

TEST_F(SeeMoveTest, TheSampleCardsItemsGetTheirPicturesAndTheCacheKeepsThem) {
  Open();
  const std::string written = cli::WriteSampleCard(letter_, *files_, *codec_);
  ASSERT_TRUE(written.empty()) << written;
  ShowPage(MediaKind::Image);
  window().btLoadMem->click();
  PicturesMade();
  for (MediaKind kind : kAllKinds) {
    const int rows = ModelFolder(kind, 1).visibleCount();
    ASSERT_GT(rows, 0);
    for (int row = 1; row <= rows; ++row) EXPECT_TRUE(HasPicture(kind, row)) << row;
  }
  // A photo's picture is the photo at the lists' size, not the kind's small icon.
  const QIcon photo = page(MediaKind::Image).sg->item(0, 0)->icon();
  const QSize shown = photo.actualSize(QSize(256, 256));
  EXPECT_EQ(std::max(shown.width(), shown.height()), 128);
  // Kept in the cache in freedesktop's layout, one PNG per picture that could be made.
  const fs::path normal = temp_.path() / "cache" / "thumbnails" / "normal";
  ASSERT_TRUE(fs::is_directory(normal));
  // The cache is written beside the window's work: a slow machine may still be at the last one.
  const int wanted = ModelFolder(MediaKind::Image, 1).visibleCount();
  int kept = 0;
  for (int wait = 0; wait < 100; ++wait) {
    kept = 0;
    for (const auto& entry : fs::directory_iterator(normal)) {
      EXPECT_EQ(entry.path().extension(), ".png");
      ++kept;
    }
    if (kept >= wanted) break;
    QTest::qWait(100);
  }
  EXPECT_GE(kept, wanted);

  // A document's first page in the preview, with its pages under it, where the build reads them.
  window().pcMain->setCurrentWidget(&page(MediaKind::Document));
  PicturesMade();
  if (!window().DispPrev->pixmap().isNull()) {
    EXPECT_NE(window().DispPrev->caption().indexOf(QStringLiteral("ページ")), -1);
  }
  // The movies of the sample card are no clips a player reads: the preview stays empty.
  window().pcMain->setCurrentWidget(&page(MediaKind::Movie));
  PicturesMade();
  EXPECT_TRUE(window().DispPrev->pixmap().isNull());
}

TEST_F(SeeMoveTest, AFileThatIsNoPictureGetsItsKindsIcon) {
  WriteCard();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  PicturesMade();
  // Row 3 holds bytes no reader takes; every row still has its icon.
  for (int row = 1; row <= 4; ++row) EXPECT_TRUE(HasPicture(MediaKind::Image, row)) << row;
  EXPECT_TRUE(HasPicture(MediaKind::Movie, 1));
  EXPECT_TRUE(HasPicture(MediaKind::Document, 1));
}

TEST_F(SeeMoveTest, TheGridShowsTheListsRowsAndSelection) {
  WriteCard();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  KindPage& images = page(MediaKind::Image);
  images.cbView->setCurrentIndex(1);  // 縮小版
  ASSERT_TRUE(images.lvGrid->isVisible());
  EXPECT_FALSE(images.sg->isVisible());
  EXPECT_EQ(images.lvGrid->model()->rowCount(), 4);
  PicturesMade();
  // A click and a Ctrl+click on two pictures: both rows are selected, for the buttons as for the
  // list.
  for (int row : {1, 3}) {
    const QRect cell = images.lvGrid->visualRect(images.lvGrid->model()->index(row, 0));
    QTest::mouseClick(images.lvGrid->viewport(), Qt::LeftButton,
                      row == 1 ? Qt::NoModifier : Qt::ControlModifier, cell.center());
  }
  EXPECT_EQ(images.SelectedRows(), (std::vector<int>{2, 4}));
  EXPECT_FALSE(images.edTitle->isEnabled());
  images.btDel->click();
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"one", "three"}));
  images.cbView->setCurrentIndex(0);
  EXPECT_TRUE(images.sg->isVisible());
}

TEST_F(SeeMoveTest, SeveralRowsTurnTheTitleOffAndMoveUpAsABlock) {
  WriteCard();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  KindPage& images = page(MediaKind::Image);
  SelectRows(MediaKind::Image, 2, 3);
  EXPECT_EQ(images.SelectedRows(), (std::vector<int>{2, 3}));
  EXPECT_FALSE(images.edTitle->isEnabled());
  EXPECT_TRUE(images.edTitle->text().isEmpty());
  images.btUp->click();
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"two", "three", "one", "four"}));
  // The block stays selected where it went, and one step back takes the move back.
  EXPECT_EQ(images.SelectedRows(), (std::vector<int>{1, 2}));
  images.btDown->click();
  images.btDown->click();
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"one", "four", "two", "three"}));
  window().StepBackClick();
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"one", "two", "three", "four"}));
  // One row again: the title field is back.
  ClickRow(MediaKind::Image, 4);
  EXPECT_TRUE(images.edTitle->isEnabled());
  EXPECT_EQ(images.edTitle->text(), "four");

  // Ctrl+A and Delete stage every item of the folder.
  images.sg->setFocus();
  QTest::keyClick(images.sg, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(images.sg, Qt::Key_Delete);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).visibleCount(), 0);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).deletedCount, 4);
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(SeeMoveTest, ADragInsideTheListReordersAsUpAndDownWould) {
  WriteCard();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 1);
  QTableWidget* grid = images.sg;
  DropSelection(MediaKind::Image, grid->viewport(),
                grid->visualItemRect(grid->item(2, 0)).center());
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"two", "three", "one", "four"}));
  EXPECT_EQ(images.SelectedRow(), 3);
  EXPECT_TRUE(window().btRefreshData->isEnabled());
  // A block dropped below the last row goes to the end.
  SelectRows(MediaKind::Image, 1, 2);
  DropSelection(MediaKind::Image, grid->viewport(), QPoint(10, grid->viewport()->height() - 2));
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"one", "four", "two", "three"}));
  // The names stay with their items until a renumbering.
  EXPECT_EQ(Names(MediaKind::Image)[0], "STIL0001.JPG");
}

TEST_F(SeeMoveTest, DroppedOnTheFolderChooserTheItemsGoToThePickedFolder) {
  WriteCard();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  ScriptedMoveChooser& chooser = InjectChooser(2);
  KindPage& images = page(MediaKind::Image);
  SelectRows(MediaKind::Image, 1, 2);
  DropSelection(MediaKind::Image, images.sbFolder, images.sbFolder->rect().center());
  ASSERT_EQ(chooser.offered.size(), 1u);
  ASSERT_EQ(chooser.offered[0].size(), 1u);  // the folder shown is not offered
  EXPECT_EQ(chooser.offered[0][0].folder, 2);
  EXPECT_EQ(chooser.offered[0][0].text.toStdString(), "2  more (1 件)");
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"three", "four"}));
  const FolderSlot& two = ModelFolder(MediaKind::Image, 2);
  ASSERT_EQ(two.visibleCount(), 3);
  EXPECT_EQ(VisibleItemAtRow(two, 2)->title, "one");
  EXPECT_EQ(VisibleItemAtRow(two, 2)->targetName, "STIL0002.JPG");
  EXPECT_EQ(VisibleItemAtRow(two, 3)->targetName, "STIL0003.JPG");
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  // 移動… does the same with the list of folders; picking none moves nothing.
  chooser.answer = 0;
  ClickRow(MediaKind::Image, 1);
  images.btMove->click();
  EXPECT_EQ(chooser.offered.size(), 2u);
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"three", "four"}));
  chooser.answer = 2;
  images.btMove->click();
  EXPECT_EQ(Titles(MediaKind::Image), (std::vector<std::string>{"four"}));
  EXPECT_EQ(ModelFolder(MediaKind::Image, 2).visibleCount(), 4);
  // The commit carries the files; the card read back shows them in folder 2.
  window().btRefreshDataClick();
  EXPECT_EQ(ModelFolder(MediaKind::Image, 2).visibleCount(), 4);
  EXPECT_TRUE(fs::exists(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD002\\STIL0004.JPG")));
}

}  // namespace
}  // namespace sdmate::test
