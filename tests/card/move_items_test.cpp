// Items moved between folders through the session and committed on real card trees, read back
// from disk: names under the lowest free numbers of the folder they join, titles, stamps, bytes
// and file times kept; a full folder refused; a move stepped back before the commit and undone
// after it.
#include "editing/move_items.h"

#include <gtest/gtest.h>

#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";

std::string Content(const std::string& name) { return CardBuilder::DefaultContent(name); }

TEST(MoveItemsTest, TwoPicturesJoinFolderThreeUnderItsLowestFreeNumbers) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one",
                  {{.name = "STIL0001.JPG", .title = "first", .stamp = "2004:01:02 03:04:05"},
                   {.name = "STIL0002.JPG", .title = "second"},
                   {.name = "STIL0003.JPG", .title = "third", .stamp = "2006:07:08 09:10:11"}});
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1}));
  // Folder 3 holds number 1 in its table and a stray file with number 2 in its directory.
  rig.card.Folder(MediaKind::Image, 3, "three", {{.name = "STIL0001.JPG", .content = "three-1"}});
  rig.card.File(kStill + "SUD003/STIL0002.JPG", "stray");
  ASSERT_TRUE(rig.Load().loaded);
  const auto timeOfThird = fs::last_write_time(rig.Native(kStill + "SUD001/STIL0003.JPG"));

  // Rows as the user picked them: out of order, a repeat and the blank row are passed over.
  ASSERT_TRUE(rig.session.MoveItems(MediaKind::Image, 1, {3, 1, 3, 9}, 3).changed);
  EXPECT_EQ(CheckModelInvariants(rig.model()), "");
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).visibleCount(), 1);
  EXPECT_EQ(VisibleItemAtRow(rig.Folder(MediaKind::Image, 1), 1)->title, "second");
  EXPECT_TRUE(rig.session.updateDue());
  ExpectCompleted(rig, rig.Update());

  // Read back from the card: the table of folder 3 lists the moved items behind its own, in
  // their old list order, with their titles and stamps; their bytes and times went with them.
  const ContentTable three = DecodeTable(MediaKind::Image, rig.TableBytes(MediaKind::Image, 3));
  ASSERT_EQ(three.entries.size(), 3u);
  EXPECT_EQ(three.entries[1].FileName(), "STIL0003.JPG");
  EXPECT_EQ(three.entries[1].title, "first");
  EXPECT_EQ(three.entries[1].stamp, "2004:01:02 03:04:05");
  EXPECT_EQ(three.entries[2].FileName(), "STIL0004.JPG");
  EXPECT_EQ(three.entries[2].title, "third");
  EXPECT_EQ(three.entries[2].stamp, "2006:07:08 09:10:11");
  const std::string dir3 = kStill + "SUD003/";
  EXPECT_EQ(ReadBytes(rig.Native(dir3 + "STIL0001.JPG")), "three-1");
  EXPECT_EQ(ReadBytes(rig.Native(dir3 + "STIL0002.JPG")), "stray");
  EXPECT_EQ(ReadBytes(rig.Native(dir3 + "STIL0003.JPG")), Content("STIL0001.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(dir3 + "STIL0004.JPG")), Content("STIL0003.JPG"));
  EXPECT_EQ(fs::last_write_time(rig.Native(dir3 + "STIL0004.JPG")), timeOfThird);
  // Folder 1 keeps only its second item, under its own name.
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1), std::vector<std::string>{"STIL0002.JPG"});
  EXPECT_EQ(ListTree(rig.Native(kStill + "SUD001")), std::vector<std::string>{"STIL0002.JPG"});
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 2), std::vector<std::string>{"STIL0001.JPG"});
  ExpectNoTemporaries(rig);
}

TEST(MoveItemsTest, ItemsOfTwoFoldersTradePlacesAndHexadecimalMovieNamesCount) {
  CardRig rig;
  std::vector<TableItem> clips;
  for (int p = 1; p <= 10; ++p) {
    clips.push_back({.name = DataFileName(MediaKind::Movie, p, ".3GP")});
  }
  rig.card.Folder(MediaKind::Movie, 1, "a", clips);
  rig.card.Folder(MediaKind::Movie, 2, "b",
                  {{.name = "MOL001.3GP", .content = "b-1"}, {.name = "MOL002.MP4"}});
  ASSERT_TRUE(rig.Load().loaded);
  // Folder 2's first item leaves, folder 1's first goes there and takes the freed number 1 on
  // the card; the other comes back to folder 1 under the first number past 00A.
  ASSERT_TRUE(rig.session.MoveItems(MediaKind::Movie, 2, {1}, 1).changed);
  ASSERT_TRUE(rig.session.MoveItems(MediaKind::Movie, 1, {1}, 2).changed);
  EXPECT_EQ(VisibleItemAtRow(rig.Folder(MediaKind::Movie, 1), 10)->targetName, "MOL00B.3GP");
  EXPECT_EQ(VisibleItemAtRow(rig.Folder(MediaKind::Movie, 2), 2)->targetName, "MOL001.3GP");
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native("SD_VIDEO/PRL001/MOL00B.3GP")), "b-1");
  EXPECT_FALSE(fs::exists(rig.Native("SD_VIDEO/PRL001/MOL001.3GP")));
  EXPECT_EQ(ReadBytes(rig.Native("SD_VIDEO/PRL002/MOL001.3GP")), Content("MOL001.3GP"));
  EXPECT_EQ(rig.TableNames(MediaKind::Movie, 2),
            (std::vector<std::string>{"MOL002.MP4", "MOL001.3GP"}));
  ExpectNoTemporaries(rig);
}

TEST(MoveItemsTest, AFolderThatCannotTakeThemAllTakesNoneAndSaysSo) {
  CardRig rig;
  std::vector<TableItem> many;
  for (int p = 1; p <= 127; ++p)
    many.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG")});
  rig.card.Folder(MediaKind::Image, 1, "full", many);
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1, 2}));
  ASSERT_TRUE(rig.Load().loaded);
  // One deleted item still holds its slot: 127 + 1 leaves no room for two more.
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 5).changed);
  const CardModel before = rig.model();
  EXPECT_FALSE(rig.session.MoveItems(MediaKind::Image, 2, {1, 2}, 1).changed);
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Warning);
  EXPECT_EQ(rig.feedback.shown.back().text, std::string(kMoveFolderFull) + "1");
  EXPECT_EQ(rig.Folder(MediaKind::Image, 2).itemCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 127);
  // The refusal is no step to take back: one step back undoes the delete.
  ASSERT_TRUE(rig.session.StepBack());
  EXPECT_FALSE(rig.session.CanStepBack());
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).deletedCount, 0);
  ASSERT_TRUE(rig.session.StepForward());
  // Nor does a move into the folder itself, or from a folder the kind does not have.
  EXPECT_FALSE(rig.session.MoveItems(MediaKind::Image, 2, {1}, 2).changed);
  EXPECT_FALSE(rig.session.MoveItems(MediaKind::Image, 2, {1}, 3).changed);
  EXPECT_FALSE(rig.session.MoveItems(MediaKind::Image, 4, {1}, 1).changed);
  // The one item that fits moves, and is stepped back as one edit.
  ASSERT_TRUE(rig.session.MoveItems(MediaKind::Image, 2, {2}, 1).changed);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 128);
  EXPECT_EQ(CheckModelInvariants(rig.model()), "");
  // The deleted item stays behind the visible ones.
  const FolderSlot& full = rig.Folder(MediaKind::Image, 1);
  EXPECT_EQ(full.items[4].order, 128);
  EXPECT_EQ(VisibleItemAtRow(full, 127)->targetName, "STIL0128.JPG");
  ASSERT_TRUE(rig.session.StepBack());
  EXPECT_EQ(rig.Folder(MediaKind::Image, 2).itemCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 127);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).visibleCount(), 126);
}

TEST(MoveItemsTest, AFileAddedFromTheComputerMovesBeforeItIsWritten) {
  CardRig rig;
  rig.card.Folder(MediaKind::Document, 1, "a", {{.name = "PDFDC001.PDF"}});
  rig.card.Folder(MediaKind::Document, 2, "b", {});
  ASSERT_TRUE(rig.Load().loaded);
  const std::string pdf = rig.ComputerFile("new.pdf", "%PDF-1.4\nsmall\n%%EOF\n");
  ASSERT_EQ(rig.AddFiles(MediaKind::Document, 1, {pdf}).staged, 1);
  ASSERT_TRUE(rig.session.MoveItems(MediaKind::Document, 1, {2}, 2).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native("PRIVATE/DOCOMO/DOCUMENT/PUD002/PDFDC001.PDF")),
            "%PDF-1.4\nsmall\n%%EOF\n");
  EXPECT_EQ(ReadBytes(rig.base() / "new.pdf"), "%PDF-1.4\nsmall\n%%EOF\n");
  EXPECT_EQ(rig.TableNames(MediaKind::Document, 1), std::vector<std::string>{"PDFDC001.PDF"});
}

// The names of a folder's visible items in list order.
std::vector<std::string> Listed(const CardRig& rig, MediaKind kind, int n) {
  std::vector<std::string> names;
  for (const ItemRow* item : VisibleItems(rig.Folder(kind, n))) names.push_back(item->targetName);
  return names;
}

TEST(MoveRowsTest, ABlockMovesAsFarAsTheListGoesAsOneEdit) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3, 4, 5}));
  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 5).changed);
  // Rows 2..3 asked to go up five places stop at the top.
  ASSERT_TRUE(rig.session.MoveRows(MediaKind::Image, 1, 2, 3, -5).changed);
  EXPECT_EQ(
      Listed(rig, MediaKind::Image, 1),
      (std::vector<std::string>{"STIL0002.JPG", "STIL0003.JPG", "STIL0001.JPG", "STIL0004.JPG"}));
  // Down two from the top: the deleted item stays behind the visible ones.
  ASSERT_TRUE(rig.session.MoveRows(MediaKind::Image, 1, 1, 2, 2).changed);
  EXPECT_EQ(
      Listed(rig, MediaKind::Image, 1),
      (std::vector<std::string>{"STIL0001.JPG", "STIL0004.JPG", "STIL0002.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(CheckModelInvariants(rig.model()), "");
  // A block at the end going down, or rows past the visible ones, change nothing.
  EXPECT_FALSE(rig.session.MoveRows(MediaKind::Image, 1, 3, 4, 1).changed);
  EXPECT_FALSE(rig.session.MoveRows(MediaKind::Image, 1, 4, 5, -1).changed);
  // One step back takes the whole block back.
  ASSERT_TRUE(rig.session.StepBack());
  EXPECT_EQ(
      Listed(rig, MediaKind::Image, 1),
      (std::vector<std::string>{"STIL0002.JPG", "STIL0003.JPG", "STIL0001.JPG", "STIL0004.JPG"}));
}

}  // namespace
}  // namespace sdmate::test
