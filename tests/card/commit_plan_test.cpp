// Commits whose file operations meet each other: tables that name each other's directories,
// cycles across folders, permutations inside a folder, a folder delete in the middle. Every data
// file's bytes are on the card afterwards and the tables name them where they are.
#include <gtest/gtest.h>

#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL";

std::string Header(int n) { return FolderDirectoryText(MediaKind::Image, n); }

// Folder n's table with items numbered 1 .. count whose bytes are "<tag>-<p>", in the directory
// the header names (by default the folder's own).
void WriteFolder(CardRig& rig, int n, const std::string& tag, int count, int headerOf = 0) {
  std::vector<TableItem> items;
  for (int p = 1; p <= count; ++p) {
    items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                     .title = tag + std::to_string(p),
                     .content = tag + "-" + std::to_string(p)});
  }
  rig.card.Folder(MediaKind::Image, n, tag, items, Header(headerOf == 0 ? n : headerOf));
}

using Folders = std::vector<std::vector<std::string>>;

// The commit of a card whose tables 1 and 2 changed places: each header names the other's
// directory, where files of the same names lie. Any edit commits the whole card.
TEST(CommitPlanTest, SwappedTablesOfTwoFoldersKeepEveryPicture) {
  CardRig rig;
  WriteFolder(rig, 1, "a", 2, 2);
  WriteFolder(rig, 2, "b", 3, 1);
  WriteFolder(rig, 3, "c", 1);
  const auto before = ContentsBelow(rig, kStill);
  rig.Load();
  ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Image, 3, "three").changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ContentsBelow(rig, kStill), before);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (Folders{{"a-1", "a-2"}, {"b-1", "b-2", "b-3"}, {"c-1"}}));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "/SUD001/STIL0002.JPG")), "a-2");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "/SUD002/STIL0003.JPG")), "b-3");
  ExpectNoTemporaries(rig);
}

TEST(CommitPlanTest, ACycleOfThreeFoldersKeepsEveryPicture) {
  CardRig rig;
  WriteFolder(rig, 1, "a", 2, 2);
  WriteFolder(rig, 2, "b", 2, 3);
  WriteFolder(rig, 3, "c", 3, 1);
  const auto before = ContentsBelow(rig, kStill);
  rig.Load();
  // The names are in order already: the commit alone puts the folders in their places.
  EXPECT_FALSE(rig.session.RenumberItems(MediaKind::Image, 2).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ContentsBelow(rig, kStill), before);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (Folders{{"a-1", "a-2"}, {"b-1", "b-2"}, {"c-1", "c-2", "c-3"}}));
  ExpectNoTemporaries(rig);
}

// Up twice and a renumber: the last item takes the first name, the others move up one name each.
TEST(CommitPlanTest, ARenumberThatRotatesNamesInsideAFolder) {
  CardRig rig;
  WriteFolder(rig, 1, "a", 3);
  rig.Load();
  ASSERT_TRUE(rig.session.MoveItemUp(MediaKind::Image, 1, 3).changed);
  ASSERT_TRUE(rig.session.MoveItemUp(MediaKind::Image, 1, 2).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ExpectCompleted(rig, rig.Update());
  const std::string dir = kStill + "/SUD001/";
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0001.JPG")), "a-3");
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0002.JPG")), "a-1");
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0003.JPG")), "a-2");
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (Folders{{"a-3", "a-1", "a-2"}}));
  ExpectNoTemporaries(rig);
}

// Folder 2 of four deleted while the headers of folders 3 and 4 name each other's directories:
// folder 3 moves down from SUD004 into SUD002, folder 4 stays in SUD003, which is its number now.
TEST(CommitPlanTest, AMiddleFolderDeleteWhileLaterHeadersNameEachOther) {
  CardRig rig;
  WriteFolder(rig, 1, "a", 1);
  WriteFolder(rig, 2, "gone", 2);
  WriteFolder(rig, 3, "c", 2, 4);
  WriteFolder(rig, 4, "d", 3, 3);
  auto expected = ContentsBelow(rig, kStill);
  expected.erase("gone-1");
  expected.erase("gone-2");
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 2).deleted);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ContentsBelow(rig, kStill), expected);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (Folders{{"a-1"}, {"c-1", "c-2"}, {"d-1", "d-2", "d-3"}}));
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "/SUD004")));
  EXPECT_FALSE(fs::exists(rig.Native("PRIVATE/DOCOMO/TABLE/STILL/SUD004.TBL")));
  ExpectNoTemporaries(rig);
}

// A chain: folder 1's files move home into SUD001, whose files (folder 2's, by its header) move
// on into SUD002, whose files (folder 3's) move on into SUD003.
TEST(CommitPlanTest, AChainOfMovesAcrossFolders) {
  CardRig rig;
  WriteFolder(rig, 1, "a", 2, 4);
  WriteFolder(rig, 2, "b", 2, 1);
  WriteFolder(rig, 3, "c", 2, 2);
  WriteFolder(rig, 4, "d", 1, 3);
  const auto before = ContentsBelow(rig, kStill);
  rig.Load();
  ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 2, 1).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ContentsBelow(rig, kStill), before);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (Folders{{"a-1", "a-2"}, {"b-2", "b-1"}, {"c-1", "c-2"}, {"d-1"}}));
  ExpectNoTemporaries(rig);
}

}  // namespace
}  // namespace sdmate::test
