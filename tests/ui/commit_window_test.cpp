// The update from the window: its question says what it will do, and an update that could
// write nothing keeps every staged edit and leaves nothing to undo.
#include "card/card_messages.h"
#include "tests/support/card_rig.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class CommitWindowTest : public WindowTest {
 protected:
  CommitWindowTest() : pc_(temp_.path() / "pc") { fs::create_directories(pc_); }
  fs::path pc_;
};

TEST_F(CommitWindowTest, TheUpdatesQuestionCountsWhatItWillDoAndNoLeavesTheCard) {
  WriteThreeKinds();
  OpenAndLoad();
  ShowPage(MediaKind::Image);
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 1);
  images.btDel->click();
  images.btRen->click();  // two and three take the numbers 1 and 2
  WriteBytes(pc_ / "new.jpg", PictureBytes("JPG", 20, 20));
  ASSERT_TRUE(window().DropFilesAt(
      page(MediaKind::Image).sg->mapTo(&window(), page(MediaKind::Image).sg->rect().center()),
      {test::Utf8(pc_ / "new.jpg")}));
  page(MediaKind::Movie).btAddFolder->click();
  const auto before = SnapshotTree(card_.root());

  feedback_.shown.clear();
  feedback_.answers = {Answer::No};
  window().btRefreshData->click();
  ASSERT_EQ(feedback_.shown.size(), 1u);
  const Shown& question = feedback_.shown[0];
  EXPECT_EQ(question.kind, MessageKind::Confirmation);
  EXPECT_EQ(question.buttons, Buttons::YesNo);
  EXPECT_NE(question.text.find("待受け画像: 追加 1、削除 1、名前の変更 2"), std::string::npos)
      << question.text;
  EXPECT_NE(question.text.find("フォルダ作成 1"), std::string::npos) << question.text;
  // The list names every file by its native path.
  EXPECT_NE(question.details.find("削除: " + card_
                                                 .Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\"
                                                         "STIL0001.JPG")
                                                 .string()),
            std::string::npos)
      << question.details;
  EXPECT_NE(question.details.find(test::Utf8(pc_ / "new.jpg")), std::string::npos);
  EXPECT_EQ(SnapshotTree(card_.root()), before);
  EXPECT_TRUE(window().btRefreshData->isEnabled());
}

TEST_F(CommitWindowTest, AnUpdateThatCouldWriteNothingKeepsTheEditsAndOffersNoUndo) {
  WriteThreeKinds();
  OpenAndLoad();
  KindPage& images = page(MediaKind::Image);
  ClickRow(MediaKind::Image, 2);
  TypeTitle(MediaKind::Image, "kept");
  images.btEdit->click();
  images.btAddFolder->click();
  ReadOnlyDirectory locked(card_.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL"));
  ReadOnlyDirectory lockedData(card_.Native("\\PRIVATE\\DOCOMO\\STILL"));
  if (!locked.effective() || !lockedData.effective())
    GTEST_SKIP() << "the folders cannot be made read-only here";
  const auto before = SnapshotTree(card_.root());

  feedback_.shown.clear();
  window().btRefreshData->click();
  EXPECT_EQ(SnapshotTree(card_.root()), before);
  ASSERT_FALSE(feedback_.shown.empty());
  const Shown& told = feedback_.shown.back();
  EXPECT_EQ(told.kind, MessageKind::Warning);
  EXPECT_TRUE(told.text.starts_with(text::kNothingWritten)) << told.text;
  // One message, naming the card's file as the computer names it.
  EXPECT_EQ(feedback_.shown.size(), 2u);
  EXPECT_NE(told.text.find(card_.root().string()), std::string::npos) << told.text;
  EXPECT_EQ(told.text.find(":\\"), std::string::npos) << told.text;

  // Every edit is still staged, and the card has no commit to take back.
  EXPECT_EQ(ModelFolder(MediaKind::Image, 1).items[1].title, "kept");
  EXPECT_EQ(Folders(MediaKind::Image), (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(window().btRefreshData->isEnabled());
  EXPECT_FALSE(window().btUndo->isEnabled());
}

}  // namespace
}  // namespace sdmate::test
