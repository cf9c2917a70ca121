// The window from the keyboard: Tab leaves a list, the shortcuts run the buttons' handlers,
// access keys, and the staged edits taken back and forth with Ctrl+Z and Ctrl+Y.
#include <QAction>
#include <QLabel>
#include <QTabWidget>

#include "core/content_table.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

// What the model holds of every kind, folder and item, in a form to compare.
std::string Picture(const CardModel& model) {
  std::string text;
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      text += "[" + std::to_string(n) + " " + folder.folderTitle + "]";
      for (int slot = 0; slot < folder.itemCount(); ++slot) {
        const ItemRow& item = folder.items[static_cast<std::size_t>(slot)];
        text += " " + std::to_string(item.order) + ":" + item.targetName + ":" + item.title +
                (item.deleted ? ":deleted" : "");
      }
      text += "\n";
    }
  }
  return text + "free " + std::to_string(model.gauge.freeBytes());
}

class KeyboardTest : public WindowTest {
 protected:
  void LoadAndShow() {
    OpenAndLoad();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }
  void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(target, key, modifiers);
  }
  std::string Model() { return Picture(window().session().model()); }
};

TEST_F(KeyboardTest, TabLeavesTheListAndShortcutsReachTheirControls) {
  WriteThreeKinds();
  LoadAndShow();
  KindPage& images = page(MediaKind::Image);
  images.sg->setFocus();
  // Arrows move inside the list; one Tab leaves it.
  Key(images.sg, Qt::Key_Down);
  EXPECT_EQ(images.SelectedRow(), 2);
  EXPECT_EQ(images.edTitle->text(), "two");
  Key(images.sg, Qt::Key_Tab);
  EXPECT_FALSE(images.sg->hasFocus());
  EXPECT_EQ(QApplication::focusWidget(), images.btUp);

  // F2 goes to the title field with the title selected; Enter stores it and stays.
  Key(images.btUp, Qt::Key_F2);
  EXPECT_TRUE(images.edTitle->hasFocus());
  EXPECT_EQ(images.edTitle->selectedText(), "two");
  TypeText(images.edTitle, "second");
  Key(images.edTitle, Qt::Key_Return);
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).items[1].title, "second");
  EXPECT_TRUE(images.edTitle->hasFocus());
  // Delete in a text field deletes text, not an item.
  Key(images.edTitle, Qt::Key_Delete);
  EXPECT_EQ(Names(MediaKind::Image).size(), 3u);

  // Ctrl+S updates the card, read back from disk.
  Key(images.edTitle, Qt::Key_S, Qt::ControlModifier);
  const ContentTable table = DecodeTable(
      MediaKind::Image, ReadBytes(card_.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")));
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(table.entries[1].title, "second");
  EXPECT_FALSE(window().btRefreshData->isEnabled());

  // Access keys press the buttons (with the button's short animation): Alt+F adds a folder.
  Key(&window(), Qt::Key_F, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Folders(MediaKind::Image).size() == 2; }));
}

TEST_F(KeyboardTest, DeleteAndCtrlADeleteTheSelectedItemsAsOneEdit) {
  WriteThreeKinds();
  LoadAndShow();
  KindPage& images = page(MediaKind::Image);
  const std::string loaded = Model();
  ClickRow(MediaKind::Image, 1);
  QTest::mouseClick(images.sg->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    images.sg->visualItemRect(images.sg->item(2, 0)).center());
  EXPECT_EQ(images.SelectedRows(), (std::vector<int>{1, 3}));
  Key(images.sg, Qt::Key_Delete);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{"STIL0002.JPG"}));
  EXPECT_EQ(images.edTitle->text(), "two");
  EXPECT_TRUE(window().btRefreshData->isEnabled());

  // One step back brings both back, with the update off again.
  Key(images.sg, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Model(), loaded);
  EXPECT_EQ(Names(MediaKind::Image).size(), 3u);
  EXPECT_FALSE(window().btRefreshData->isEnabled());

  // Ctrl+A and Delete: the folder is empty.
  Key(images.sg, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(images.SelectedRows(), (std::vector<int>{1, 2, 3}));
  Key(images.sg, Qt::Key_Delete);
  EXPECT_EQ(Names(MediaKind::Image), (std::vector<std::string>{""}));
  EXPECT_EQ(images.edTitle->text(), "");
}

TEST_F(KeyboardTest, CtrlZAndCtrlYStepThroughTheStagedEditsThenOfferTheUndoOfTheCommit) {
  WriteThreeKinds();
  LoadAndShow();
  KindPage& images = page(MediaKind::Image);
  std::vector<std::string> states{Model()};
  images.btDown->click();
  states.push_back(Model());
  ClickRow(MediaKind::Image, 3);
  TypeTitle(MediaKind::Image, "third");
  images.btEdit->click();
  states.push_back(Model());
  page(MediaKind::Movie).btAddFolder->click();
  states.push_back(Model());
  QWidget* focus = images.sg;

  for (int back = 2; back >= 0; --back) {
    Key(focus, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Model(), states[static_cast<std::size_t>(back)]) << back;
  }
  EXPECT_EQ(Folders(MediaKind::Movie), (std::vector<std::string>{"1"}));
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  // Nothing staged and no commit yet: Ctrl+Z asks nothing.
  Key(focus, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(feedback_.shown.empty());

  Key(focus, Qt::Key_Y, Qt::ControlModifier);
  Key(focus, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Model(), states[2]);
  EXPECT_EQ(Column(MediaKind::Image, 3)[2], "third");
  EXPECT_TRUE(window().btRefreshData->isEnabled());
  // A new edit drops the steps ahead.
  images.btRen->click();
  Key(focus, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Folders(MediaKind::Movie), (std::vector<std::string>{"1"}));

  // After the commit Ctrl+Z is the undo of the commit, with its question.
  window().btRefreshData->click();
  feedback_.shown.clear();
  feedback_.answers = {Answer::No};
  Key(focus, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(feedback_.shown.size(), 1u);
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Confirmation);
}

// Renumbering a folder whose names are in order already is no edit.
TEST_F(KeyboardTest, RenumberOfAFolderInOrderLeavesTheUpdateOff) {
  WriteThreeKinds();
  LoadAndShow();
  page(MediaKind::Image).btRen->click();
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  page(MediaKind::Image).btAddFolder->click();
  window().btRefreshData->click();
  page(MediaKind::Image).btRen->click();  // the new, empty folder
  EXPECT_FALSE(window().btRefreshData->isEnabled());
}

// An emoji that is none of the handset's pictographs is refused as it is typed, and named;
// one of them is taken.
TEST_F(KeyboardTest, ACharacterTheHandsetLacksIsRefusedAndNamed) {
  WriteThreeKinds();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  TypeTitle(MediaKind::Image, QStringLiteral("ab"));
  // A unicorn, committed whole as an input method does.
  QKeyEvent unicorn(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                    QStringLiteral("\U0001F984"));
  QApplication::sendEvent(images.edTitle, &unicorn);
  EXPECT_EQ(images.edTitle->text(), "ab");
  EXPECT_TRUE(window().findChild<QLabel*>("StatusPanel")->text().contains(u"\U0001F984"));
  TypeText(images.edTitle, QStringLiteral("☀"));
  EXPECT_EQ(images.edTitle->text(), "ab☀");
  QApplication::sendEvent(images.edFolderTitle, &unicorn);
  EXPECT_EQ(images.edFolderTitle->text(), "wall");
}

}  // namespace
}  // namespace sdmate::test
