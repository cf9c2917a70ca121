// Cards that come and go while the window runs, through the test's drives and a poll called by
// the test instead of the clock: an inserted card is offered (and chosen while none is loaded),
// a loaded card that disappears is noticed, and the eject button makes a card safe to pull out.
#include "window_fixture.h"

namespace sdmate::test {
namespace {

constexpr char kRemoved[] =
    "読み込んだメモリカードが取り外されました．\n"
    "メモリカードを読み込み直すまで、メモリカードの更新などの操作はできません．";

class DriveEventsTest : public WindowTest {
 protected:
  DriveEventsTest() : inserted_(temp_.path() / "media" / "CARD") {
    card_.Folder(MediaKind::Image, 1, "mine", {{.name = "STIL0001.JPG", .title = "a"}});
    inserted_.Folder(MediaKind::Movie, 1, "inserted", {{.name = "MOL001.3GP", .title = "m"}});
  }
  std::string InsertedRoot() { return Utf8(inserted_.root()); }
  void Insert() {
    drives_.mounts.push_back(InsertedRoot());
    drives_.labels[InsertedRoot()] = "NO NAME";
    window().PollDrives();
  }
  void PullOut() {
    drives_.mounts.clear();
    fs::remove_all(inserted_.root());
    window().PollDrives();
  }
  std::vector<std::string> ChooserEntries() {
    std::vector<std::string> entries;
    for (int i = 0; i < window().curDrive->count(); ++i)
      entries.push_back(window().curDrive->itemText(i).toStdString());
    return entries;
  }
  bool CardOperationsEnabled() {
    return page(MediaKind::Image).isEnabled() && window().btBackUp->isEnabled();
  }

  CardBuilder inserted_;
};

TEST_F(DriveEventsTest, AnInsertedCardIsChosenAndNoticedWhenItIsPulledOut) {
  Open();
  window().PollDrives();  // nothing changed: nothing happens
  EXPECT_EQ(window().SelectedDrive(), letter_);
  Insert();
  const char card = window().SelectedDrive();
  EXPECT_NE(card, letter_) << "a card with the handset's folders is chosen while none is loaded";
  EXPECT_EQ(window().curDrive->currentText().toStdString(), std::string(1, card) + ": [NO NAME]");

  window().btLoadMem->click();
  ASSERT_TRUE(window().session().cardPresent());
  EXPECT_EQ(page(MediaKind::Movie).edFolderTitle->text(), "inserted");
  page(MediaKind::Movie).btRen->click();
  EXPECT_TRUE(window().btRefreshData->isEnabled());
  EXPECT_TRUE(feedback_.shown.empty() || feedback_.Texts().back() != kRemoved);

  PullOut();
  EXPECT_EQ(feedback_.Texts().back(), kRemoved);
  EXPECT_EQ(feedback_.shown.back().kind, MessageKind::Warning);
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  EXPECT_FALSE(CardOperationsEnabled());
  for (const std::string& entry : ChooserEntries()) EXPECT_NE(entry[0], card) << entry;
  // Said once.
  const std::size_t shown = feedback_.shown.size();
  window().PollDrives();
  EXPECT_EQ(feedback_.shown.size(), shown);

  // The next load brings the operations back.
  window().btLoadMem->click();
  EXPECT_TRUE(window().session().cardPresent());
  EXPECT_TRUE(CardOperationsEnabled());
}

TEST_F(DriveEventsTest, OnlyACardWithTheHandsetsFoldersIsChosenAndOnlyWhileNoneIsLoaded) {
  Open();
  // The card and the folder entry, and on Windows the machine's own drives.
  const std::size_t listed = ChooserEntries().size();
  CardBuilder stick(temp_.path() / "media" / "STICK");
  fs::create_directories(stick.root() / "music");
  drives_.mounts.push_back(Utf8(stick.root()));
  window().PollDrives();
  EXPECT_EQ(ChooserEntries().size(), listed + 1);
  EXPECT_EQ(window().SelectedDrive(), letter_);

  window().btLoadMem->click();
  Insert();
  EXPECT_EQ(ChooserEntries().size(), listed + 2);
  EXPECT_EQ(window().SelectedDrive(), letter_) << "the loaded card stays chosen";
}

TEST_F(DriveEventsTest, TheEjectButtonAsksForUnwrittenEditsAndSaysWhenTheCardMayBePulled) {
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  // In the right-hand column, beside the card check.
  EXPECT_EQ(window().btEject->parentWidget()->objectName(), "SidePanel");
  EXPECT_EQ(window().btEject->geometry().top(), window().btCheck->geometry().top());
  EXPECT_GT(window().btEject->geometry().left(), window().btCheck->geometry().right());
  EXPECT_EQ(window().btEject->text(), "取り外し(&J)");
  page(MediaKind::Image).btRen->click();  // an edit not written to the card
  // What the chooser keeps once the card is gone: the folder entry, and on Windows the
  // machine's own drives.
  std::vector<std::string> withoutTheCard = ChooserEntries();
  std::erase_if(withoutTheCard, [this](const std::string& entry) { return entry[0] == letter_; });
  ASSERT_EQ(withoutTheCard.size() + 1, ChooserEntries().size());

  feedback_.answers = {Answer::No};
  window().btEject->click();
  EXPECT_TRUE(drives_.ejected.empty());
  EXPECT_TRUE(window().session().cardPresent());

  drives_.ejectResult = {false, true, "Error unmounting: target is busy"};
  feedback_.answers = {Answer::Yes};
  window().btEject->click();
  EXPECT_EQ(drives_.ejected, std::vector<char>{letter_});
  EXPECT_EQ(feedback_.shown.back().kind, MessageKind::Error);
  EXPECT_EQ(feedback_.Texts().back(),
            "メモリカードを取り外せる状態にできませんでした．\nError unmounting: target is busy");
  EXPECT_TRUE(CardOperationsEnabled());

  drives_.ejectResult = {true, true, {}};
  feedback_.answers = {Answer::Yes};
  window().btEject->click();
  EXPECT_EQ(feedback_.Texts().back(), "メモリカードを安全に取り外せます．");
  EXPECT_FALSE(CardOperationsEnabled());
  EXPECT_FALSE(window().btRefreshData->isEnabled());
  EXPECT_EQ(ChooserEntries(), withoutTheCard);
  EXPECT_EQ(withoutTheCard.back(), "フォルダを指定…");
  // Ejected is not pulled out: no second message.
  const std::size_t shown = feedback_.shown.size();
  window().PollDrives();
  EXPECT_EQ(feedback_.shown.size(), shown);

  drives_.ejectResult = {false, false, {}};
  const char other = window().MapCardFolder(Utf8(temp_.path() / "disk"), false);
  ASSERT_NE(other, 0);
  window().btEject->click();
  EXPECT_EQ(feedback_.Texts().back(), "選択したドライブは取り外せるドライブではありません．");
}

}  // namespace
}  // namespace sdmate::test
