// Commits that stumble or stop: a failed copy, a table that cannot be written, and a card pulled
// after any one of the commit's operations. Nothing that an item still needs is written over,
// and every file the old and the new tables both name keeps its bytes somewhere on the card.
#include <gtest/gtest.h>

#include <algorithm>

#include "card/card_messages.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";

bool AnyFailureContains(const UpdateResult& result, const std::string& text) {
  return std::any_of(result.failures.begin(), result.failures.end(),
                     [&](const Failure& f) { return LineOf(f).find(text) != std::string::npos; });
}

// The renamed file's copy fails (no room for STIL0001.JPG_): the file stays under its old name,
// STIL0002.JPG, which the renumbering freed for a new picture. The new picture is not written
// over it.
TEST(CommitFailureTest, NoStepWritesOntoTheFileAFailedStepLeftInPlace) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  rig.Load();
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {rig.ComputerFile("new.jpg", JpegBytes(500))}).staged,
            1);
  ASSERT_EQ(VisibleItems(rig.Folder(MediaKind::Image, 1)).back()->targetName, "STIL0002.JPG");
  rig.files.failPathContaining = "STIL0001.JPG_";
  const UpdateResult result = rig.Update();
  EXPECT_TRUE(AnyFailureContains(result, "STIL0001.JPG_"));
  EXPECT_TRUE(AnyFailureContains(result, text::kWouldOverwrite));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")),
            CardBuilder::DefaultContent("STIL0002.JPG"));
}

// SUD001.TBL cannot be written: the old table still names STIL0001 .. STIL0003, and they stay
// as they were, titles and all, instead of being renamed under a table that does not say so.
TEST(CommitFailureTest, AFolderWhoseTableWasNotWrittenKeepsItsFiles) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3}));
  rig.card.Folder(MediaKind::Image, 2, "j", Stills({1}));
  const auto before = SnapshotTree(rig.cardRoot() / kStill);
  const std::string table = rig.TableBytes(MediaKind::Image, 1);
  rig.Load();
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 2).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  // Folder 2's one item is numbered already: nothing to renumber there.
  ASSERT_FALSE(rig.session.RenumberItems(MediaKind::Image, 2).changed);
  rig.files.failPathContaining = TablePath(CardRig::kDrive, MediaKind::Image, 1);
  const UpdateResult result = rig.Update();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(rig.TableBytes(MediaKind::Image, 1), table);
  EXPECT_EQ(SnapshotTree(rig.cardRoot() / kStill), before);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image)[0],
            (std::vector<std::string>{CardBuilder::DefaultContent("STIL0001.JPG"),
                                      CardBuilder::DefaultContent("STIL0002.JPG"),
                                      CardBuilder::DefaultContent("STIL0003.JPG")}));
}

// Deletes, renumbers, a folder delete that moves folders down, adds: stopped after its k-th
// operation for every k, as a card pulled from the reader (every operation from the k-th on
// fails). Every kind still loads, and every file that both the old and the new tables name is
// on the card with its bytes.
TEST(CommitFailureTest, APulledCardAtEveryStepLosesNoFileBothTablesName) {
  auto build = [](CardRig& rig) {
    rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
    rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two-1"}});
    rig.card.Folder(MediaKind::Image, 3, "three",
                    {{.name = "STIL0001.JPG", .content = "three-1"},
                     {.name = "STIL0002.JPG", .content = "three-2"}});
    rig.card.Folder(MediaKind::Image, 4, "four", {{.name = "STIL0004.JPG", .content = "four-4"}});
    rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}, {.name = "MOL002.3GP"}});
    rig.card.Folder(MediaKind::Document, 1, "d", {{.name = "PDFDC001.PDF"}});
    rig.Load();
    ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 2).deleted);
    ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
    ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 2, 1).changed);
    ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
    ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 2).changed);
    ASSERT_EQ(
        rig.AddFiles(MediaKind::Image, 3, {rig.ComputerFile("new.jpg", JpegBytes(400))}).staged, 1);
    ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Movie, 1, 1).changed);
  };
  // The bytes of the files that stay: named by the old tables and by the new ones.
  const std::multiset<std::string> staying = {CardBuilder::DefaultContent("STIL0002.JPG"),
                                              CardBuilder::DefaultContent("STIL0003.JPG"),
                                              "three-1",
                                              "three-2",
                                              "four-4",
                                              CardBuilder::DefaultContent("MOL002.3GP"),
                                              CardBuilder::DefaultContent("PDFDC001.PDF")};
  int operations = 0;
  {
    CardRig rig;
    ASSERT_NO_FATAL_FAILURE(build(rig));
    ExpectCompleted(rig, rig.Update());
    operations = rig.files.operations;
  }
  ASSERT_GT(operations, 15);
  for (int k = 1; k <= operations; ++k) {
    CardRig rig;
    ASSERT_NO_FATAL_FAILURE(build(rig));
    rig.files.failAt = k;
    rig.files.failFrom = true;
    rig.Update();
    const CardModel after = rig.LoadFresh();
    EXPECT_TRUE(after.loaded && after.complete) << "k=" << k;
    for (MediaKind kind : kAllKinds) EXPECT_GE(after.of(kind).folderCount(), 1) << "k=" << k;
    std::multiset<std::string> onCard;
    for (const auto& [name, bytes] : SnapshotTree(rig.cardRoot())) onCard.insert(bytes);
    for (const std::string& bytes : staying) {
      EXPECT_TRUE(onCard.contains(bytes)) << "k=" << k << ": " << bytes;
    }
  }
}

}  // namespace
}  // namespace sdmate::test
