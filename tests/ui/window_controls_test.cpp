// The window before any card is loaded: its controls, names, texts, fonts and limits.
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>

#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

// Buttons of a kind page by the names of the standby-image tab.
const char* const kPageButtons[] = {"btEdit%1Folder", "btAdd%1Folder", "btDel%1Folder",
                                    "btEdit%1",       "btUp%1",        "btDown%1",
                                    "btRen%1",        "btDel%1",       "btAdd%1"};

QString NameFor(const char* pattern, MediaKind kind) {
  return QString::fromLatin1(pattern).arg(QString::fromLatin1(TraitsOf(kind).controlSuffix));
}

class WindowControlsTest : public WindowTest {};

TEST_F(WindowControlsTest, StartsWithOnlyLoadHelpEndAndTheDriveChooserUsable) {
  Open();
  EXPECT_EQ(window().windowTitle(), "Sdmate");
  // The arrangement of the Parts is the first size and the smallest; the window grows.
  EXPECT_EQ(window().size(), window().minimumSize());
  EXPECT_GE(window().width(), 697);
  EXPECT_LT(window().height(), 700);
  EXPECT_GT(window().maximumSize().width(), 2000);
  for (const char* name : {"btLoadMem", "btHelp", "btEnd", "curDrive"}) {
    auto* control = window().findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_TRUE(control->isEnabled()) << name;
  }
  for (const char* name : {"btRefreshData", "btBackUp"}) {
    auto* button = window().findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    EXPECT_FALSE(button->isEnabled()) << name;
  }
  int pageButtons = 0;
  for (MediaKind kind : kAllKinds) {
    for (const char* pattern : kPageButtons) {
      auto* button = window().findChild<QPushButton*>(NameFor(pattern, kind));
      ASSERT_NE(button, nullptr) << NameFor(pattern, kind).toStdString();
      EXPECT_FALSE(button->isEnabled()) << NameFor(pattern, kind).toStdString();
      ++pageButtons;
    }
    for (const char* pattern : {"sb%1Folder", "ed%1FolderTitle", "ed%1Title", "sg%1", "ts%1"}) {
      auto* control = window().findChild<QWidget*>(NameFor(pattern, kind));
      ASSERT_NE(control, nullptr) << NameFor(pattern, kind).toStdString();
      EXPECT_TRUE(control->isEnabled());
    }
    EXPECT_EQ(page(kind).sbFolder->count(), 0);
  }
  EXPECT_EQ(pageButtons, 27);
  EXPECT_EQ(window().stFree->text(), "残り 0.0 KB ");
  EXPECT_TRUE(window().stFree->alignment() & Qt::AlignRight);
  for (const char* name :
       {"cgDiskSpace", "DispPrev", "StaticText1", "Panel5", "Image3", "StatusBar", "pcMain"}) {
    EXPECT_NE(window().findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
}

TEST_F(WindowControlsTest, TabsAndListsCarryTheirTextsAndWidths) {
  Open();
  const QStringList tabs = {QStringLiteral("\u3000待受け画像\u3000\u3000"),
                            QStringLiteral("\u3000ムービー\u3000\u3000\u3000"),
                            QStringLiteral("\u3000ドキュメント\u3000"),
                            QStringLiteral("\u3000カメラ画像\u3000\u3000")};
  ASSERT_EQ(window().pcMain->count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window().pcMain->tabText(i), tabs[i]);

  const QStringList headings = {"ファイル名", "時刻", "サイズ", "タイトル"};
  for (MediaKind kind : kAllKinds) {
    QTableWidget* grid = page(kind).sg;
    ASSERT_EQ(grid->columnCount(), 4);
    // The first column holds the item's picture beside its name.
    const int widths[] = {KindPage::kFirstColumn, 119, 55, 134};
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(grid->columnWidth(column), widths[column]);
      EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), headings[column]);
    }
    // Until the first load: 64 rows, the heading row included.
    EXPECT_EQ(grid->rowCount() + 1, 64);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(page(kind).sbFolder->isEditable());
  }
}

TEST_F(WindowControlsTest, FontsAreTwelvePixelJapaneseGothics) {
  Open();
  const QFontInfo window_font(window().font());
  EXPECT_EQ(window_font.pixelSize(), 12);
  EXPECT_TRUE(window_font.family().contains("Gothic") || window_font.family().contains("ゴシック"))
      << window_font.family().toStdString();
  const QFontInfo list_font(page(MediaKind::Image).sg->font());
  EXPECT_EQ(list_font.pixelSize(), 12);
  EXPECT_TRUE(list_font.fixedPitch() || list_font.family() == "IPAGothic")
      << list_font.family().toStdString();
}

TEST_F(WindowControlsTest, DriveChooserListsLettersAndThePickFolderEntry) {
  Open();
  QComboBox* drives = window().curDrive;
  // The card's letter, and the folder entry last; a machine with drives of its own (Windows)
  // lists them too.
  const int listed = drives->count();
  ASSERT_GE(listed, 2);
  EXPECT_GE(drives->findText(QString(QChar::fromLatin1(letter_)) + ":", Qt::MatchStartsWith), 0);
  EXPECT_EQ(drives->itemText(listed - 1), "フォルダを指定…");
  EXPECT_EQ(window().SelectedDrive(), letter_);

  // A second folder gets the next letter and is selected.
  const fs::path other = temp_.path() / "other";
  fs::create_directories(other);
  const char second = window().MapCardFolder(Utf8(other), false);
  EXPECT_NE(second, letter_);
  EXPECT_EQ(drives->count(), listed + 1);
  EXPECT_EQ(window().SelectedDrive(), second);
}

// Where the controls of the right-hand column sit in the window, whatever holds them; each
// lies wholly inside every widget around it, so none is cut off.
TEST_F(WindowControlsTest, RightColumnControlsKeepTheirPlacesAndAreNotClipped) {
  Open();
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  // The places in the smallest arrangement, 697 pixels wide. Where the style gives the tabs more
  // room (Windows) the window is that much wider, and the column keeps its distance from the
  // window's right edge.
  const int wider = window().width() - 697;
  ASSERT_GE(wider, 0);
  struct Place {
    const char* name;
    QRect inWindow;
  };
  const Place places[] = {
      {"Panel5", {522, 4, 171, 60}},        {"Image4", {528, 18, 32, 32}},
      {"Label6", {566, 8, 120, 18}},        {"Label7", {566, 26, 124, 16}},
      {"Label8", {566, 42, 120, 16}},       {"lbDrive", {522, 70, 171, 16}},
      {"curDrive", {522, 86, 171, 22}},     {"btLoadMem", {522, 114, 171, 28}},
      {"lbDiskSpace", {522, 148, 171, 16}}, {"cgDiskSpace", {522, 164, 171, 16}},
      {"stFree", {522, 182, 171, 16}},      {"btRefreshData", {522, 202, 171, 28}},
  };
  for (const Place& place : places) {
    auto* control = window().findChild<QWidget*>(QString::fromLatin1(place.name));
    ASSERT_NE(control, nullptr) << place.name;
    const QRect inWindow(control->mapTo(&window(), QPoint(0, 0)), control->size());
    EXPECT_EQ(inWindow, place.inWindow.translated(wider, 0)) << place.name;
    for (QWidget* around = control->parentWidget(); around != nullptr;
         around = around->parentWidget()) {
      const QRect inAround(control->mapTo(around, QPoint(0, 0)), control->size());
      EXPECT_TRUE(around->rect().contains(inAround))
          << place.name << " in " << around->objectName().toStdString();
    }
  }
  // Below the update button the column goes on in this order, the preview at least the
  // handset's size.
  int below = window().btRefreshData->mapTo(&window(), QPoint(0, 0)).y();
  for (QWidget* control : std::initializer_list<QWidget*>{
           window().btUndo, window().StaticText1, window().btBackUp, window().btRestore,
           window().btCheck, window().btHelp, window().Label9}) {
    const int top = control->mapTo(&window(), QPoint(0, 0)).y();
    EXPECT_GT(top, below) << control->objectName().toStdString();
    below = top;
    EXPECT_TRUE(
        window().rect().contains(QRect(control->mapTo(&window(), QPoint(0, 0)), control->size())))
        << control->objectName().toStdString();
  }
  EXPECT_GE(window().DispPrev->width(), 144);
  EXPECT_GE(window().DispPrev->height(), 176);
}

// The fields count Shift-JIS bytes: a double-byte character takes two.
TEST_F(WindowControlsTest, TitleFieldsRefuseTypingPastTheirByteLimits) {
  Open();
  struct Case {
    QLineEdit* field;
    int limit;
  };
  KindPage& movies = page(MediaKind::Movie);
  for (const Case& c : {Case{movies.edTitle, 64}, Case{movies.edFolderTitle, 48}}) {
    TypeText(c.field, QString(40, QChar(u'あ')));
    EXPECT_EQ(c.field->text(), QString(c.limit / 2, QChar(u'あ')));
    c.field->clear();
    TypeText(c.field, QString(c.limit - 1, QChar('a')) + "ああb");
    EXPECT_EQ(c.field->text(), QString(c.limit - 1, QChar('a')) + "b");
  }
  // A longer title set from the model may still be shortened.
  movies.edTitle->setText(QString(40, QChar(u'あ')));
  movies.edTitle->setFocus();
  movies.edTitle->end(false);
  QTest::keyClick(movies.edTitle, Qt::Key_Backspace);
  EXPECT_EQ(movies.edTitle->text().size(), 39);
}

TEST_F(WindowControlsTest, TypingATitleEnablesItsEditButton) {
  Open();
  KindPage& documents = page(MediaKind::Document);
  TypeText(documents.edTitle, "x");
  EXPECT_TRUE(documents.btEdit->isEnabled());
  TypeText(documents.edFolderTitle, "x");
  EXPECT_TRUE(documents.btEditFolder->isEnabled());
  // Before a load there is nothing to store the title on; the button goes off again.
  documents.btEdit->click();
  EXPECT_FALSE(documents.btEdit->isEnabled());
  EXPECT_FALSE(window().btRefreshData->isEnabled());
}

TEST_F(WindowControlsTest, PreviewReadsThePictureTypesWhateverTheCase) {
  for (const char* name : {"a.bmp", "a.JPG", "a.Png", "a.tif", "a.gif"}) {
    EXPECT_TRUE(Preview::IsPicture(QString::fromLatin1(name))) << name;
  }
  for (const char* name : {"a.jpeg", "a.3gp", "a.pdf", "jpg", "a.tiff"}) {
    EXPECT_FALSE(Preview::IsPicture(QString::fromLatin1(name))) << name;
  }
  const fs::path picture = temp_.path() / "wide.png";
  WriteBytes(picture, PictureBytes("PNG", 600, 300));
  Preview preview;
  ASSERT_TRUE(preview.ShowFile(QString::fromStdString(picture.string())));
  EXPECT_EQ(preview.pixmap().size(), QSize(144, 72));
  const fs::path broken = temp_.path() / "broken.png";
  WriteBytes(broken, "not a picture");
  EXPECT_FALSE(preview.ShowFile(QString::fromStdString(broken.string())));
  EXPECT_TRUE(preview.pixmap().isNull());
}

}  // namespace
}  // namespace sdmate::test
