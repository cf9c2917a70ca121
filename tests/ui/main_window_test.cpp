// The window on loaded cards: enabled states, lists, selection and titles, item and folder
// buttons, and a whole load - edit - update cycle read back from the card.
#include <QLabel>
#include <QProgressBar>

#include "core/content_table.h"
#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

constexpr const char* kLongTitle = "あいうえおかきくけこさ";  // 22 bytes in Shift-JIS

class MainWindowTest : public WindowTest {
 protected:
  // Tables of all three kinds; two image folders.
  void WriteFullCard() {
    card_.Folder(MediaKind::Image, 1, Sjis("壁紙"),
                 {{.name = "STIL0001.JPG",
                   .title = Sjis("海の写真"),
                   .content = PictureBytes("JPG", 240, 320)},
                  {.name = "STIL0002.JPG",
                   .title = Sjis(kLongTitle),
                   .stamp = "2006:01:02 03:04:05",
                   .content = PictureBytes("PNG", 120, 160)},
                  {.name = "STIL0003.JPG", .title = Sjis("空")}});
    card_.Folder(MediaKind::Image, 2, Sjis("旅行"), {{.name = "STIL0001.GIF", .title = "trip"}});
    card_.Folder(
        MediaKind::Movie, 1, Sjis("動画"),
        {{.name = "MOL001.3GP", .title = "clip one"}, {.name = "MOL002.3GP", .title = "clip two"}});
    card_.Folder(MediaKind::Document, 1, Sjis("文書"),
                 {{.name = "PDFDC001.PDF", .title = Sjis("取扱説明書")}});
  }

  std::string NativeOnCard(const std::string& cardPath) { return card_.Native(cardPath).string(); }

  void ExpectEditingEnabled(bool updateDue) {
    int enabled = 0;
    for (MediaKind kind : kAllKinds) {
      KindPage& p = page(kind);
      for (QPushButton* button :
           {p.btUp, p.btDown, p.btRen, p.btDel, p.btAdd, p.btAddFolder, p.btDelFolder}) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        enabled += button->isEnabled() ? 1 : 0;
      }
      EXPECT_FALSE(p.btEdit->isEnabled()) << p.btEdit->objectName().toStdString();
      EXPECT_FALSE(p.btEditFolder->isEnabled()) << p.btEditFolder->objectName().toStdString();
    }
    EXPECT_TRUE(window().btBackUp->isEnabled());
    enabled += window().btBackUp->isEnabled() ? 1 : 0;
    EXPECT_EQ(enabled, 22);
    EXPECT_EQ(window().btRefreshData->isEnabled(), updateDue);
  }
};

TEST_F(MainWindowTest, LoadOfACardWithTablesEnablesEditingButNotTheUpdate) {
  WriteFullCard();
  drives_.type = DriveType::Fixed;  // a card named at start is taken without the question
  OpenAndLoad();
  EXPECT_TRUE(feedback_.shown.empty());
  ExpectEditingEnabled(false);

  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Names(MediaKind::Image),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(Column(MediaKind::Image, 1)[1], "2006:01:02 03:04:05");
  EXPECT_EQ(Column(MediaKind::Image, 2)[1], std::to_string(PictureBytes("PNG", 120, 160).size()));
  EXPECT_EQ(Column(MediaKind::Image, 3)[0], "海の写真");
  // 22 bytes are shortened for the list.
  EXPECT_EQ(Column(MediaKind::Image, 3)[1], Utf8(ShortTitle(21, Sjis(kLongTitle))));
  EXPECT_NE(Column(MediaKind::Image, 3)[1], kLongTitle);
  EXPECT_EQ(page(MediaKind::Image).edFolderTitle->text(), "壁紙");
  EXPECT_EQ(Names(MediaKind::Movie), (std::vector<std::string>{"MOL001.3GP", "MOL002.3GP"}));
  EXPECT_EQ(Names(MediaKind::Document), (std::vector<std::string>{"PDFDC001.PDF"}));
  EXPECT_EQ(page(MediaKind::Document).edFolderTitle->text(), "文書");

  // Row 1 is selected and its title shown.
  EXPECT_EQ(page(MediaKind::Image).SelectedRow(), 1);
  EXPECT_EQ(page(MediaKind::Image).edTitle->text(), "海の写真");
  EXPECT_EQ(window().stFree->text().toStdString(), FreeSpaceText(drives_.free));
  EXPECT_EQ(window().findChild<QLabel*>("StatusPanel")->text(), "");
}

TEST_F(MainWindowTest, LoadOfACardWithoutTablesGivesEachKindFolderOneAndDueUpdate) {
  card_.Directory("PRIVATE");
  drives_.free = 999 * 1024 + 1023;  // under 1000 KB: text and bar turn red
  OpenAndLoad();
  ExpectEditingEnabled(true);
  EXPECT_EQ(window().stFree->text(), "残り 999.0 KB ");
  EXPECT_TRUE(window().stFree->styleSheet().contains("#ff0000"));
  EXPECT_TRUE(window().cgDiskSpace->styleSheet().contains("#ff0000"));
  for (MediaKind kind : kAllKinds) {
    EXPECT_EQ(Folders(kind), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Names(kind), (std::vector<std::string>{""}));
    EXPECT_EQ(page(kind).edFolderTitle->text().toStdString(), DefaultFolderTitle(kind, 1));
    EXPECT_EQ(page(kind).edTitle->text(), "");
  }
}

TEST_F(MainWindowTest, RefusedLoadLeavesTheWindowAsItWas) {
  WriteFullCard();
  drives_.type = DriveType::Fixed;
  Open(false);  // chosen in the window, not named at start
  feedback_.answers = {Answer::No};
  window().btLoadMem->click();
  ASSERT_FALSE(feedback_.shown.empty());
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Warning);
  EXPECT_FALSE(window().btBackUp->isEnabled());
  EXPECT_EQ(page(MediaKind::Image).sbFolder->count(), 0);
}

TEST_F(MainWindowTest, SelectingARowShowsItsTitleWithEditOffAndPreviewsPictures) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  TypeTitle(MediaKind::Image, "typed");
  EXPECT_TRUE(images.btEdit->isEnabled());

  ClickRow(MediaKind::Image, 2);
  EXPECT_EQ(images.edTitle->text(), kLongTitle);
  EXPECT_FALSE(images.btEdit->isEnabled());
  const QString picture =
      QString::fromStdString(NativeOnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG"));
  EXPECT_EQ(window().DispPrev->shownPath(), picture);
  EXPECT_EQ(window().DispPrev->pixmap().size(), QSize(120, 160));

  // A movie selection keeps the picture.
  ClickRow(MediaKind::Movie, 2);
  EXPECT_EQ(page(MediaKind::Movie).edTitle->text(), "clip two");
  EXPECT_EQ(window().DispPrev->shownPath(), picture);

  // A large picture is scaled into the area with its aspect kept.
  ClickRow(MediaKind::Image, 1);
  EXPECT_EQ(window().DispPrev->pixmap().size(), QSize(132, 176));
}

TEST_F(MainWindowTest, EnterStoresTheTitleAndMovesOnButStaysOnTheLastRow) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 1);
  TypeTitle(MediaKind::Image, "新しい題");
  QTest::keyClick(images.edTitle, Qt::Key_Return);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).items[0].title, Sjis("新しい題"));
  EXPECT_EQ(Column(MediaKind::Image, 3)[0], "新しい題");
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), kLongTitle);
  EXPECT_FALSE(images.btEdit->isEnabled());
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  ClickRow(MediaKind::Image, 3);
  TypeTitle(MediaKind::Image, "最後");
  QTest::keyClick(images.edTitle, Qt::Key_Enter);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).items[2].title, Sjis("最後"));
  EXPECT_EQ(images.SelectedRow(), 3);
  EXPECT_EQ(images.edTitle->text(), "最後");
}

// An untouched title keeps its bytes, even those no round trip gives back.
TEST_F(MainWindowTest, EnterOnAnUntouchedTitleKeepsItsBytes) {
  const std::string nec = "\xED\x40";  // a NEC-selected IBM extension that comes back as FA5C
  card_.Folder(MediaKind::Image, 1, "f",
               {{.name = "STIL0001.JPG"}, {.name = "STIL0002.JPG", .title = nec}});
  OpenAndLoad();
  ClickRow(MediaKind::Image, 2);
  QTest::keyClick(page(MediaKind::Image).edTitle, Qt::Key_Return);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).items[1].title, nec);
}

TEST_F(MainWindowTest, EnterInTheListMovesToTheTitleFieldWhichKeepsIt) {
  WriteFullCard();
  OpenAndLoad();
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  KindPage& images = page(MediaKind::Image);
  images.sg->setFocus();
  QTest::keyClick(images.sg, Qt::Key_Return);
  EXPECT_TRUE(images.edTitle->hasFocus());
  // Enter there stores the title and the next one is ready to be typed.
  QTest::keyClick(images.edTitle, Qt::Key_Return);
  EXPECT_TRUE(images.edTitle->hasFocus());
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->selectedText(), kLongTitle);
}

TEST_F(MainWindowTest, DeleteKeepsTheRowAndShowsTheNextItem) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 2);
  const std::int64_t size = ModelFolder(MediaKind::Image, 1).items[1].size;
  images.btDel->click();
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), "空");
  EXPECT_EQ(window().stFree->text().toStdString(), FreeSpaceText(drives_.free + size));
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  // Deleting the last row leaves the selection on the new last row.
  images.btDel->click();
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG"}));
  EXPECT_EQ(images.SelectedRow(), 1);
  EXPECT_EQ(images.edTitle->text(), "海の写真");

  // The only item deleted: one blank row, an empty title, and a further delete does nothing.
  images.btDel->click();
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{""}));
  EXPECT_EQ(images.edTitle->text(), "");
  images.btDel->click();
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).deletedCount, 3);
}

TEST_F(MainWindowTest, UpDownAndRenumberFollowTheModel) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);

  // Up on row 1 changes nothing at all.
  images.btUp->click();
  EXPECT_FALSE(window().btRefreshData->isEnabled());

  images.btDown->click();
  EXPECT_EQ(Names(MediaKind::Image),
            (std::vector<std::string>{"STIL0002.JPG", "STIL0001.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), "海の写真");
  EXPECT_EQ(window().DispPrev->pixmap().size(), QSize(132, 176));
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  ClickRow(MediaKind::Image, 3);
  images.btUp->click();
  EXPECT_EQ(Names(MediaKind::Image),
            (std::vector<std::string>{"STIL0002.JPG", "STIL0003.JPG", "STIL0001.JPG"}));
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), "空");

  images.btRen->click();
  EXPECT_EQ(Names(MediaKind::Image),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(Column(MediaKind::Image, 3)[0], Utf8(ShortTitle(21, Sjis(kLongTitle))));
  EXPECT_EQ(images.SelectedRow(), 2);
}

TEST_F(MainWindowTest, FolderAddAndDeleteUpdateTheChooser) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);

  images.btAddFolder->click();
  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(images.sbFolder->currentIndex(), 2);
  EXPECT_EQ(images.edFolderTitle->text(), "SUD003");
  EXPECT_FALSE(images.btEditFolder->isEnabled());
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{""}));
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  // Picking folder 2 shows its items and title.
  images.sbFolder->setCurrentIndex(1);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.GIF"}));
  EXPECT_EQ(images.edFolderTitle->text(), "旅行");
  EXPECT_EQ(images.edTitle->text(), "trip");

  // No keeps the folder; Yes deletes it and the former folder 3 takes its number.
  images.sbFolder->setCurrentIndex(0);
  feedback_.answers = {Answer::No, Answer::Yes};
  images.btDelFolder->click();
  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2", "3"}));
  images.btDelFolder->click();
  ASSERT_EQ(feedback_.shown.size(), 2u);
  EXPECT_EQ(feedback_.shown[1].text, TraitsOf(MediaKind::Image).folderDeleteQuestion);
  EXPECT_EQ(feedback_.shown[1].kind, MessageKind::Confirmation);
  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(images.sbFolder->currentIndex(), 0);
  EXPECT_EQ(images.edFolderTitle->text(), "旅行");
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.GIF"}));

  // The last folder of a kind stays.
  KindPage& movies = page(MediaKind::Movie);
  movies.btDelFolder->click();
  EXPECT_EQ(Folders(MediaKind::Movie), (std::vector<std::string>{"1"}));
}

TEST_F(MainWindowTest, EnterInTheFolderTitleStoresIt) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& movies = page(MediaKind::Movie);
  TypeText(movies.edFolderTitle, "２");
  EXPECT_TRUE(movies.btEditFolder->isEnabled());
  QTest::keyClick(movies.edFolderTitle, Qt::Key_Return);
  EXPECT_EQ(ModelFolder(MediaKind::Movie, 1).folderTitle, Sjis("動画２"));
  EXPECT_FALSE(movies.btEditFolder->isEnabled());
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(MainWindowTest, DoubleClickAndF4OpenTheItemsFile) {
  WriteFullCard();
  OpenAndLoad();
  QTableWidget* movies = page(MediaKind::Movie).sg;
  ClickRow(MediaKind::Movie, 2);
  const QRect cell = movies->visualItemRect(movies->item(1, 0));
  QTest::mouseDClick(movies->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::keyClick(page(MediaKind::Document).sg, Qt::Key_F4);
  EXPECT_EQ(opened_, (std::vector<std::string>{
                         NativeOnCard("\\SD_VIDEO\\PRL001\\MOL002.3GP"),
                         NativeOnCard("\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD001\\PDFDC001.PDF")}));

  // A blank row opens nothing.
  page(MediaKind::Document).btDel->click();
  QTest::keyClick(page(MediaKind::Document).sg, Qt::Key_F4);
  EXPECT_EQ(opened_.size(), 2u);
}

TEST_F(MainWindowTest, UpdateWritesTheEditsAndTheWindowShowsTheCardReadBack) {
  WriteFullCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 1);
  TypeTitle(MediaKind::Image, "更新後");
  images.btEdit->click();
  ClickRow(MediaKind::Image, 2);
  images.btDel->click();
  images.btRen->click();
  page(MediaKind::Movie).btAddFolder->click();
  ASSERT_TRUE(window().btRefreshData->isEnabled());

  window().btRefreshData->click();
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  ASSERT_FALSE(feedback_.shown.empty());
  EXPECT_EQ(feedback_.shown.back().text, "メモリーカードの更新が完了しました");

  const ContentTable table = DecodeTable(
      MediaKind::Image, ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")));
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[0].FileName(), "STIL0001.JPG");
  EXPECT_EQ(table.entries[0].title, Sjis("更新後"));
  EXPECT_EQ(table.entries[1].FileName(), "STIL0002.JPG");
  EXPECT_EQ(table.entries[1].title, Sjis("空"));
  EXPECT_EQ(ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG")),
            CardBuilder::DefaultContent("STIL0003.JPG"));
  EXPECT_TRUE(fs::exists(card_.Native("\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO\\PRL002.TBL")));

  // The window shows what the card now holds.
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_EQ(Column(MediaKind::Image, 3), (std::vector<std::string>{"更新後", "空"}));
  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Folders(MediaKind::Movie), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(window().SelectedDrive(), letter_);
  ExpectEditingEnabled(false);
}

}  // namespace
}  // namespace sdmate::test
