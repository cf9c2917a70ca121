// A commit plans and reads back only the folders it changes: the others are still what the load
// read of the card, and are taken over as they are. These tests check that nothing of that shows:
// the model after a commit is the one a fresh load gives, a file another folder still names is
// kept, and a commit that writes nothing gives every folder back with the edits.
#include <gtest/gtest.h>

#include <sstream>

#include "card/commit_plan.h"
#include "core/card_layout.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";

// Everything the model holds of the card, one line per folder and item.
std::string Described(const CardModel& model) {
  std::ostringstream out;
  for (MediaKind kind : kAllKinds) {
    const KindState& state = model.of(kind);
    for (int n = 1; n <= state.folderCount(); ++n) {
      const FolderSlot& folder = state.folder(n);
      out << static_cast<int>(kind) << "/" << n << " " << folder.folderTitle << " "
          << folder.deletedCount << "\n";
      for (const ItemRow& item : folder.items) {
        out << "  " << item.order << (item.deleted ? " deleted " : " ") << item.added << " "
            << item.sourceDir << item.sourceName << " " << item.targetDir << item.targetName << " "
            << item.stamp << " " << item.title << " " << item.size << "\n";
      }
    }
  }
  return out.str();
}

std::vector<TableItem> Items(const std::string& tag, std::initializer_list<int> numbers) {
  std::vector<TableItem> items;
  for (int p : numbers) {
    items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                     .title = tag + std::to_string(p),
                     .content = tag + "-" + std::to_string(p)});
  }
  return items;
}

TEST(FoldersAsReadTest, OnlyTheEditedFoldersAreLeftOutOfTheUntouched) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Items("a", {1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "two", Items("b", {1, 2}));
  rig.card.Folder(MediaKind::Image, 3, "three", Items("c", {1}), "\\PRIVATE\\DOCOMO\\STILL\\X");
  rig.Load();
  FoldersAsRead asRead = FoldersStillAsRead(rig.model(), rig.session.loaded());
  // Folder 3's files lie where its header says, not in its own directory: a commit moves them.
  EXPECT_EQ(asRead[IndexOf(MediaKind::Image)], (std::vector<char>{1, 1, 0}));
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 2, 1, "new").changed);
  asRead = FoldersStillAsRead(rig.model(), rig.session.loaded());
  EXPECT_EQ(asRead[IndexOf(MediaKind::Image)], (std::vector<char>{1, 0, 0}));
  // Taken back, the title is the one the card holds again.
  ASSERT_TRUE(rig.session.StepBack());
  asRead = FoldersStillAsRead(rig.model(), rig.session.loaded());
  EXPECT_EQ(asRead[IndexOf(MediaKind::Image)], (std::vector<char>{1, 1, 0}));
}

// A folder edited back to what the card holds is looked at entry by entry, and found as read; a
// table whose entry gives another size than its file is not what a commit would write.
TEST(FoldersAsReadTest, AFolderEditedBackIsAsReadAndAWrongSizeIsNot) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Items("a", {1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "two", Items("b", {1}));
  rig.Load();
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 1, 2, "new").changed);
  ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Image, 2, "other").changed);
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 1, 2, "a2").changed);
  ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Image, 2, "two").changed);
  EXPECT_EQ(FoldersStillAsRead(rig.model(), rig.session.loaded())[IndexOf(MediaKind::Image)],
            (std::vector<char>{1, 1}));

  rig.card.File(kStill + "SUD001/" + DataFileName(MediaKind::Image, 1, ".JPG"), "longer now");
  rig.Load();
  EXPECT_EQ(FoldersStillAsRead(rig.model(), rig.session.loaded())[IndexOf(MediaKind::Image)],
            (std::vector<char>{0, 1}));
}

TEST(FoldersAsReadTest, TheModelAfterACommitIsTheOneAFreshLoadGives) {
  CardRig rig;
  for (int n = 1; n <= 4; ++n) {
    rig.card.Folder(MediaKind::Image, n, "f" + std::to_string(n), Items("i", {1, 2, 3}));
  }
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP", .title = "clip"}});
  rig.card.Folder(MediaKind::Document, 1, "d", {});
  rig.Load();
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 2, 1, "renamed").changed);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 3, 2).changed);
  ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Document, 1, "docs").changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(Described(rig.model()), Described(rig.LoadFresh()));
  // And again, from the model the read-back gave.
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 4, 3, "later").changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(Described(rig.model()), Described(rig.LoadFresh()));
  EXPECT_EQ(rig.model().of(MediaKind::Image).folder(4).items[2].title, "later");
}

// Folder 2's header names folder 1's directory, and both tables name STIL0002.JPG there. Folder
// 1 is untouched; deleting folder 2's item must not take folder 1's file with it.
TEST(FoldersAsReadTest, AnUntouchedFolderKeepsTheFileAnotherFoldersDeleteNames) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Items("a", {1, 2}));
  std::vector<TableItem> shared = Items("a", {2});
  rig.card.Folder(MediaKind::Image, 2, "two", shared, FolderDirectoryText(MediaKind::Image, 1));
  rig.Load();
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 2, 1).changed);
  rig.Update();
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), "a-2");
  const CardModel fresh = rig.LoadFresh();
  EXPECT_EQ(ListedContents(rig, fresh, MediaKind::Image),
            (std::vector<std::vector<std::string>>{{"a-1", "a-2"}, {}}));
  EXPECT_EQ(Described(rig.model()), Described(fresh));
}

// Not one file of the card can be written: nothing reaches the card, and the model
// comes back whole, the folders left out of the commit included.
TEST(FoldersAsReadTest, ACommitThatWritesNothingGivesEveryFolderBackWithTheEdits) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Items("a", {1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "two", Items("b", {1}));
  rig.card.Folder(MediaKind::Image, 3, "three", Items("c", {1, 2, 3}));
  rig.Load();
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 2, 1, "edited").changed);
  const std::string staged = Described(rig.model());
  const CardState before = StateOf(rig.cardRoot());
  rig.files.failAt = 1;
  rig.files.failFrom = true;
  EXPECT_FALSE(rig.Update().ran);
  rig.files.failAt = 0;
  EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files);
  EXPECT_EQ(Described(rig.model()), staged);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(rig.LoadFresh().of(MediaKind::Image).folder(2).items[0].title, "edited");
  EXPECT_EQ(Described(rig.model()), Described(rig.LoadFresh()));
}

}  // namespace
}  // namespace sdmate::test
