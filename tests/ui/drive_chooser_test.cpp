// The drive chooser's "フォルダを指定…" with a scripted folder dialog: a picked folder gets a
// letter and is selected, and a pick that gives no letter leaves the drive chosen before.
#include "ui/folder_picker.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

constexpr char kPickFolderText[] = "フォルダを指定…";

// Hands the drive chooser the folder a test picks.
class ScriptedFolderPicker : public FolderPicker {
 public:
  std::string Pick(QWidget* parent, const QString& caption, const std::string&) override {
    parents.push_back(parent);
    captions.push_back(caption.toStdString());
    return next;
  }
  std::string next;  // empty: the user cancels
  std::vector<QWidget*> parents;
  std::vector<std::string> captions;
};

class DriveChooserTest : public WindowTest {
 protected:
  ScriptedFolderPicker& InjectPicker() {
    auto picker = std::make_unique<ScriptedFolderPicker>();
    ScriptedFolderPicker& scripted = *picker;
    window().SetFolderPicker(std::move(picker));
    return scripted;
  }

  // The user moves the chooser with the keyboard: End is the folder entry, Up and Down the
  // drives beside the chosen one.
  void Press(Qt::Key key) { QTest::keyClick(window().curDrive, key); }

  std::string SelectedText() { return window().curDrive->currentText().toStdString(); }
};

TEST_F(DriveChooserTest, APickedFolderGetsALetterIsSelectedAndLoads) {
  Open();
  const int listed = window().curDrive->count();
  ScriptedFolderPicker& picker = InjectPicker();
  CardBuilder other(temp_.path() / "other");
  other.Folder(MediaKind::Movie, 1, Sjis("別のカード"), {{.name = "MOL001.3GP", .title = "x"}});
  picker.next = test::Utf8(other.root());

  Press(Qt::Key_End);

  EXPECT_EQ(picker.captions, (std::vector<std::string>{kPickFolderText}));
  EXPECT_EQ(picker.parents, (std::vector<QWidget*>{&window()}));
  const char picked = window().SelectedDrive();
  EXPECT_NE(picked, 0);
  EXPECT_NE(picked, letter_);
  EXPECT_EQ(SelectedText(), std::string(1, picked) + ": [other]");
  ASSERT_EQ(window().curDrive->count(), listed + 1);
  EXPECT_EQ(window().curDrive->itemText(listed).toStdString(), kPickFolderText);

  // The load reads the picked folder, not the card chosen before.
  window().btLoadMem->click();
  EXPECT_EQ(window().session().model().drive, picked);
  EXPECT_EQ(page(MediaKind::Movie).edFolderTitle->text(), "別のカード");
}

TEST_F(DriveChooserTest, APickThatGivesNoLetterKeepsTheDriveChosenBefore) {
  Open();
  const char second = window().MapCardFolder(test::Utf8(temp_.path() / "second"), false);
  ASSERT_NE(second, 0);
  ASSERT_EQ(window().SelectedDrive(), second);
  // The machine's own drives (Windows), the card, the second folder and the folder entry.
  const int listed = window().curDrive->count();
  // The user goes back to the card, listed just above, so that is the drive a failed pick
  // returns to.
  Press(Qt::Key_Up);
  ASSERT_EQ(window().SelectedDrive(), letter_);
  ScriptedFolderPicker& picker = InjectPicker();

  // Cancelled.
  Press(Qt::Key_End);
  EXPECT_EQ(picker.captions.size(), 1U);
  EXPECT_EQ(window().SelectedDrive(), letter_);
  EXPECT_EQ(window().curDrive->count(), listed);

  // A folder when every letter is taken.
  int taken = 0;
  while (table_.MapFolder(test::Utf8(temp_.path() / std::to_string(taken))) != 0) ++taken;
  picker.next = test::Utf8(temp_.path() / "one too many");
  Press(Qt::Key_End);
  EXPECT_EQ(picker.captions.size(), 2U);
  EXPECT_EQ(window().SelectedDrive(), letter_);
  EXPECT_EQ(window().curDrive->count(), listed);

  // Choosing a listed drive opens no dialog.
  Press(Qt::Key_Down);
  EXPECT_EQ(window().SelectedDrive(), second);
  EXPECT_EQ(picker.captions.size(), 2U);
}

}  // namespace
}  // namespace sdmate::test
