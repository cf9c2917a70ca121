// The selected row, the title field and the preview agree on every page after every load,
// edit, add, commit, undo and page switch.
#include <QComboBox>
#include <QTabWidget>

#include "ui/preview.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class SelectionTest : public WindowTest {
 protected:
  SelectionTest() : pc_(temp_.path() / "pc") { fs::create_directories(pc_); }

  void WriteCard() {
    card_.Folder(MediaKind::Image, 1, "wall",
                 {{.name = "STIL0001.JPG", .title = "one", .content = PictureBytes("JPG", 60, 80)},
                  {.name = "STIL0002.JPG", .title = "two", .content = PictureBytes("PNG", 30, 40)},
                  {.name = "STIL0003.JPG", .title = "broken", .content = "not a picture"}});
    card_.Folder(MediaKind::Movie, 1, "clips", {{.name = "MOL001.3GP", .title = "clip"}});
    card_.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "doc"}});
  }

  std::string OnCard(const char* cardPath) { return card_.Native(cardPath).string(); }
  std::string Previewed() { return window().DispPrev->shownPath().toStdString(); }
  bool PreviewEmpty() {
    return window().DispPrev->shownPath().isEmpty() && window().DispPrev->pixmap().isNull();
  }
  void Front(MediaKind kind) { window().pcMain->setCurrentWidget(&page(kind)); }

  ScriptedOpenFiles& InjectDialog() {
    auto dialog = std::make_unique<ScriptedOpenFiles>();
    ScriptedOpenFiles& scripted = *dialog;
    window().SetOpenFilesDialog(std::move(dialog));
    return scripted;
  }

  fs::path pc_;
};

TEST_F(SelectionTest, PreviewFollowsTheFrontPageThroughLoadSwitchAndEmptyFolders) {
  WriteCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  // The load selects row 1 of each page: its title, and its picture on the front page.
  EXPECT_EQ(images.SelectedRow(), 1);
  EXPECT_EQ(images.edTitle->text(), "one");
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG"));

  // A movie or a document page in front shows no picture; back on the images, it returns.
  Front(MediaKind::Movie);
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ(page(MediaKind::Movie).edTitle->text(), "clip");
  Front(MediaKind::Document);
  EXPECT_TRUE(PreviewEmpty());
  Front(MediaKind::Image);
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG"));

  // A file that is no picture shows nothing, not the picture before it.
  ClickRow(MediaKind::Image, 3);
  EXPECT_EQ(images.edTitle->text(), "broken");
  EXPECT_TRUE(PreviewEmpty());

  // A new, empty folder: a blank row, no title, no picture.
  images.btAddFolder->click();
  EXPECT_EQ(images.edTitle->text(), "");
  EXPECT_TRUE(PreviewEmpty());
  // Back in folder 1, row 1 again.
  images.sbFolder->setCurrentIndex(0);
  EXPECT_EQ(images.edTitle->text(), "one");
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG"));
}

TEST_F(SelectionTest, ClickOnTheSelectedRowShowsItsStoredTitleAgain) {
  WriteCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 2);
  TypeTitle(MediaKind::Image, "typed, not stored");
  window().DispPrev->ShowNothing();
  ClickRow(MediaKind::Image, 2);
  EXPECT_EQ(images.edTitle->text(), "two");
  EXPECT_FALSE(images.btEdit->isEnabled());
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG"));
}

TEST_F(SelectionTest, AnAddIntoAnEmptyFolderShowsTheAddedItemAndDeletesClearIt) {
  WriteCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  images.btAddFolder->click();
  const std::string photo = test::Utf8(pc_ / "photo.jpg");
  WriteBytes(pc_ / "photo.jpg", PictureBytes("JPG", 20, 20));
  InjectDialog().next = {photo};
  images.btAdd->click();
  ASSERT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0001.JPG"}));
  EXPECT_EQ(images.SelectedRow(), 1);
  EXPECT_EQ(images.edTitle->text(), "photo.jpg");
  // A file not yet on the card previews from the computer.
  EXPECT_EQ(Previewed(), photo);

  images.btDel->click();
  EXPECT_EQ(images.edTitle->text(), "");
  EXPECT_TRUE(PreviewEmpty());
}

TEST_F(SelectionTest, AfterMovesACommitAndAnUndoTheRowTitleAndPictureAgree) {
  WriteCard();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  images.btDown->click();  // one goes to row 2
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), "one");
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG"));

  ClickRow(MediaKind::Image, 3);
  window().btRefreshData->click();
  // The card read back: row 1 selected, its title and its picture.
  EXPECT_EQ(images.SelectedRow(), 1);
  EXPECT_EQ(images.edTitle->text(), "two");
  EXPECT_EQ(Previewed(), OnCard("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG"));
  EXPECT_EQ(window().DispPrev->pixmap().size(), QSize(30, 40));

  feedback_.answers = {Answer::Yes};
  ClickRow(MediaKind::Image, 2);
  window().btUndo->click();
  EXPECT_EQ(images.SelectedRow(), 1);
  EXPECT_EQ(images.edTitle->text(), "one");
  EXPECT_EQ(window().DispPrev->pixmap().size(), QSize(60, 80));
}

// A folder named at start is loaded at once when it is a card; an empty one only stays chosen,
// with nothing to update.
TEST_F(SelectionTest, ACardNamedAtStartIsLoadedAndAnEmptyFolderIsNot) {
  Open();
  window().LoadNamedCard(letter_);
  EXPECT_FALSE(window().session().model().loaded);
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  EXPECT_EQ(window().SelectedDrive(), letter_);

  WriteCard();
  window().LoadNamedCard(letter_);
  EXPECT_TRUE(window().session().model().loaded);
  EXPECT_EQ(page(MediaKind::Image).edTitle->text(), "one");
  EXPECT_FALSE(window().btRefreshData->isEnabled());
}

// Another drive chosen: the loaded card cannot be edited until it is chosen again.
TEST_F(SelectionTest, ChoosingAnotherDriveHoldsTheLoadedCardsEditing) {
  WriteCard();
  OpenAndLoad();
  page(MediaKind::Image).btRen->click();
  page(MediaKind::Image).btDown->click();
  ASSERT_TRUE(window().btRefreshData->isEnabled());
  const fs::path other = temp_.path() / "other";
  fs::create_directories(other);
  window().MapCardFolder(other.string(), false);
  EXPECT_FALSE(page(MediaKind::Image).isEnabled());
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  EXPECT_FALSE(window().btBackUp->isEnabled());

  window().curDrive->setCurrentIndex(window().curDrive->findData(static_cast<int>(letter_)));
  EXPECT_TRUE(page(MediaKind::Image).isEnabled());
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

}  // namespace
}  // namespace sdmate::test
