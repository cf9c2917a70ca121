// Edits made through the session and committed on real card trees, read back from disk: moves,
// renumbering, deletes of items and folders, and new files.
#include <gtest/gtest.h>

#include "core/content_table.h"
#include "editing/item_operations.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";
const std::string kStillTables = "PRIVATE/DOCOMO/TABLE/STILL/";

std::string Content(const std::string& name) { return CardBuilder::DefaultContent(name); }

TEST(CardUpdateTest, SwappedAndRenumberedItemsTradeNames) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3}));
  rig.Load();
  ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ExpectCompleted(rig, rig.Update());
  const std::string dir = kStill + "SUD001/";
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0001.JPG")), Content("STIL0002.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0002.JPG")), Content("STIL0001.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0003.JPG")), Content("STIL0003.JPG"));
  for (const std::string& name : ListTree(rig.cardRoot())) EXPECT_NE(name.back(), '_') << name;
  // The titles went with the files.
  auto table = DecodeTable(MediaKind::Image, rig.TableBytes(MediaKind::Image, 1));
  EXPECT_EQ(table.entries[0].title, "tSTIL0002.JPG");
  EXPECT_EQ(table.entries[0].FileName(), "STIL0001.JPG");
}

TEST(CardUpdateTest, SwappedWithoutRenumberKeepsFilesAndReordersEntries) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  auto before = SnapshotTree(rig.cardRoot() / kStill);
  rig.Load();
  ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 1, 1).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(SnapshotTree(rig.cardRoot() / kStill), before);
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0002.JPG", "STIL0001.JPG"}));
}

TEST(CardUpdateTest, DeleteSecondOfThreeAndRenumber) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3}));
  rig.Load();
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 2).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ASSERT_EQ(CheckOrderInvariants(rig.Folder(MediaKind::Image, 1)), "");
  ExpectCompleted(rig, rig.Update());
  const std::string dir = kStill + "SUD001/";
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0002.JPG")), Content("STIL0003.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0003.JPG")), Content("STIL0003.JPG"));
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
}

TEST(CardUpdateTest, AllItemsDeletedLeavesAHeaderOnlyTable) {
  CardRig rig;
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}, {.name = "MOL002.3GP"}});
  rig.Load();
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Movie, 1, 1).changed);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Movie, 1, 1).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(rig.TableBytes(MediaKind::Movie, 1).size(), 512u);
  EXPECT_TRUE(fs::is_empty(rig.Native("SD_VIDEO/PRL001")));
}

TEST(CardUpdateTest, DeletingFolderOneOfThreeMovesTheOthersDown) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1, 2}));
  rig.card.Folder(MediaKind::Image, 3, "three", Stills({5}));
  // Files of each folder told apart by their content.
  rig.card.File(kStill + "SUD002/STIL0001.JPG", "two-1");
  rig.card.File(kStill + "SUD003/STIL0005.JPG", "three-5");
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), "two-1");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), Content("STIL0002.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0005.JPG")), "three-5");
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD003")));
  EXPECT_FALSE(fs::exists(rig.Native(kStillTables + "SUD003.TBL")));
  auto header = DecodeTable(MediaKind::Image, rig.TableBytes(MediaKind::Image, 2));
  EXPECT_EQ(header.folderTitle, "three");
  EXPECT_EQ(header.directoryText, "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  EXPECT_EQ(rig.model().of(MediaKind::Image).folderCount(), 2);
}

// A delete never takes a file that an item which stays still reads.
TEST(CardUpdateTest, DeletingOneOfTwoEntriesOfTheSameFileKeepsTheFile) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i",
                  {{.name = "STIL0001.JPG", .title = "a"}, {.name = "STIL0001.JPG", .title = "b"}});
  rig.Load();
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 2).changed);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), Content("STIL0001.JPG"));
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1), std::vector<std::string>{"STIL0001.JPG"});
}

// The deleted folder's own file goes with its directory; the other folder's file is put out of
// the way first and moved home from there, so the directory can go without a failure.
TEST(CardUpdateTest, DeletedFolderWhoseDirectoryAnotherTableNamesKeepsThoseFiles) {
  CardRig rig;
  // Folder 1's header names folder 2's directory, where both folders' files are.
  rig.card.Folder(MediaKind::Image, 1, "one", {{.name = "STIL0009.JPG", .content = "one"}},
                  "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
  ASSERT_EQ(rig.model().of(MediaKind::Image).removedFolders,
            std::vector<std::string>{"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD002"});
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), "two");
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD002")));
  for (const std::string& name : ListTree(rig.cardRoot()))
    EXPECT_EQ(name.find("~SDM"), std::string::npos) << name;
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1), std::vector<std::string>{"STIL0001.JPG"});
}

// A file that an item staying elsewhere still reads is copied home, not moved: folder 2 keeps it.
TEST(CardUpdateTest, FileTwoTablesNameStaysForTheFolderWhoseDirectoryItIsIn) {
  CardRig rig;
  // Folder 1's header names folder 2's directory, and both tables list the same file there.
  rig.card.Folder(MediaKind::Image, 1, "one", {{.name = "STIL0001.JPG", .content = "shared"}},
                  "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "shared"}});
  rig.Load();
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 1);
  ASSERT_EQ(rig.Folder(MediaKind::Image, 2).itemCount(), 1);
  ASSERT_TRUE(rig.Update().ran);
  auto after = SnapshotTree(rig.cardRoot());
  EXPECT_EQ(after[kStill + "SUD001/STIL0001.JPG"], "shared");
  EXPECT_EQ(after[kStill + "SUD002/STIL0001.JPG"], "shared");
  const CardModel fresh = rig.LoadFresh();
  EXPECT_EQ(fresh.of(MediaKind::Image).folder(1).itemCount(), 1);
  EXPECT_EQ(fresh.of(MediaKind::Image).folder(2).itemCount(), 1);
}

// On Windows the add dialog can pick a file of another folder of the card; when the lowest free
// number gives it its own name, it is still only copied, and the folder that keeps it keeps it.
TEST(CardUpdateTest, FileOfAnotherFolderAddedFromTheCardStaysInThatFolder) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({3}));
  rig.Load();
  // The item the add stages on Windows for "E:\PRIVATE\DOCOMO\STILL\SUD002\STIL0003.JPG". Native
  // paths here have another separator, so no add on this system makes it: it is built on a copy
  // of the session's model.
  CardModel model = rig.model();
  model.of(MediaKind::Image)
      .folder(1)
      .items.push_back({.order = 3,
                        .added = true,
                        .sourceDir = "E:\\PRIVATE\\DOCOMO\\STILL\\SUD002\\",
                        .targetDir = CardDataDirectory(CardRig::kDrive, MediaKind::Image),
                        .sourceName = "STIL0003.JPG",
                        .targetName = "STIL0003.JPG",
                        .stamp = "2006:01:02 03:04:00",
                        .title = "STIL0003.JPG",
                        .size = static_cast<std::int64_t>(Content("STIL0003.JPG").size())});
  ASSERT_TRUE(rig.UpdateHandBuilt(model).ran);
  auto after = SnapshotTree(rig.cardRoot());
  EXPECT_EQ(after[kStill + "SUD001/STIL0003.JPG"], Content("STIL0003.JPG"));
  EXPECT_EQ(after[kStill + "SUD002/STIL0003.JPG"], Content("STIL0003.JPG"));
  const CardModel fresh = rig.LoadFresh();
  EXPECT_EQ(fresh.of(MediaKind::Image).folder(1).itemCount(), 3);
  EXPECT_EQ(fresh.of(MediaKind::Image).folder(2).itemCount(), 1);
}

// The add names a card file "E:\PRIVATE\..." where the load names it "E:\\PRIVATE\...": one file
// under two spellings. Added and deleted again before the commit, it stays for the item that was
// loaded from it.
TEST(CardUpdateTest, FileAddedFromTheCardAndDeletedAgainStaysForItsLoadedItem) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", {});
  rig.Load();
  // The item the add stages on Windows for "E:\PRIVATE\DOCOMO\STILL\SUD001\STIL0001.JPG", built
  // on a copy of the session's model as above; the engine's own delete takes it off again.
  CardModel model = rig.model();
  model.of(MediaKind::Image)
      .folder(2)
      .items.push_back({.order = 1,
                        .added = true,
                        .sourceDir = "E:\\PRIVATE\\DOCOMO\\STILL\\SUD001\\",
                        .targetDir = CardDataDirectory(CardRig::kDrive, MediaKind::Image),
                        .sourceName = "STIL0001.JPG",
                        .targetName = "STIL0001.JPG",
                        .stamp = "2006:01:02 03:04:00",
                        .title = "STIL0001.JPG",
                        .size = static_cast<std::int64_t>(Content("STIL0001.JPG").size())});
  ASSERT_TRUE(DeleteItem(model, MediaKind::Image, 2, 1).changed);
  ASSERT_TRUE(rig.UpdateHandBuilt(model).ran);
  EXPECT_EQ(SnapshotTree(rig.cardRoot())[kStill + "SUD001/STIL0001.JPG"], Content("STIL0001.JPG"));
  EXPECT_EQ(rig.LoadFresh().of(MediaKind::Image).folder(1).itemCount(), 1);
}

TEST(CardUpdateTest, FileWhoseMoveFailedKeepsTheDirectoryOfItsOldFolder) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0004.JPG", .content = "two-4"}});
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
  rig.files.failPathContaining = "SUD001\\STIL0004.JPG";  // the move onto its new place
  UpdateResult result = rig.Update();
  EXPECT_EQ(result.failures.size(), 2u);  // the move, and the directory kept for it
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0004.JPG")), "two-4");
}

TEST(CardUpdateTest, NewFileIsCopiedWithItsEntryCutAndSizedIn32Bits) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1}));
  rig.Load();
  // A long title taken from the file's name, with a double-byte character across byte 64.
  const std::string photo = rig.ComputerFile(std::string(63, 'a') + "あtail.jpg", JpegBytes(1000));
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 1);
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).items.back().title,
            std::string(63, 'a') + "\x82\xA0" + "tail.jpg");
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), JpegBytes(1000));
  EXPECT_TRUE(fs::exists(PathFromUtf8(photo)));
  const std::string table = rig.TableBytes(MediaKind::Image, 1);
  ASSERT_EQ(table.size(), 512u + 2 * 256u);
  const std::string entry = table.substr(512 + 256, 256);
  EXPECT_EQ(entry.substr(16, 64), std::string(63, 'a') + '\0');
  EXPECT_EQ(entry.substr(100, 4), std::string("\x00\x00\x03\xE8", 4));
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).items[1].sourceDir,
            "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\");
}

// On Windows a file chosen from the card's own drive, outside the handset's folders, counts as
// on the card. It is the user's file: it is copied into the folder, never moved or deleted.
TEST(CardUpdateTest, FilesOfTheCardsOwnDriveOutsideTheHandsetFoldersAreOnlyCopied) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "SUD001", Stills({1}));
  rig.card.File("MYPHOTOS/STIL0002.JPG", "same name");
  rig.card.File("MYPHOTOS/keep.jpg", "changed my mind");
  rig.Load();
  // The items the add dialog stages for "E:\MYPHOTOS\STIL0002.JPG" and "E:\MYPHOTOS\keep.jpg" on
  // Windows. Native paths here have another separator, so no add on this system makes them: they
  // are built on a copy of the session's model, and the second is deleted by the engine's own
  // delete.
  CardModel model = rig.model();
  FolderSlot& folder = model.of(MediaKind::Image).folder(1);
  const std::string dataDirectory = CardDataDirectory(CardRig::kDrive, MediaKind::Image);
  folder.items.push_back({.order = 2,
                          .added = true,
                          .sourceDir = "E:\\MYPHOTOS\\",
                          .targetDir = dataDirectory,
                          .sourceName = "STIL0002.JPG",
                          .targetName = "STIL0002.JPG",
                          .stamp = "2006:01:02 03:04:00",
                          .title = "STIL0002.JPG",
                          .size = 9});
  folder.items.push_back({.order = 3,
                          .added = true,
                          .sourceDir = "E:\\MYPHOTOS\\",
                          .targetDir = dataDirectory,
                          .sourceName = "keep.jpg",
                          .targetName = "STIL0003.JPG",
                          .stamp = "2006:01:02 03:04:00",
                          .title = "keep.jpg",
                          .size = 15});
  ASSERT_TRUE(DeleteItem(model, MediaKind::Image, 1, 3).changed);
  ASSERT_EQ(CheckOrderInvariants(folder), "");

  ExpectCompleted(rig, rig.UpdateHandBuilt(model));
  EXPECT_EQ(ReadBytes(rig.Native("\\MYPHOTOS\\STIL0002.JPG")), "same name");
  EXPECT_EQ(ReadBytes(rig.Native("\\MYPHOTOS\\keep.jpg")), "changed my mind");
  EXPECT_EQ(ReadBytes(rig.Native("\\" + kStill + "SUD001/STIL0002.JPG")), "same name");
  EXPECT_FALSE(fs::exists(rig.Native("\\" + kStill + "SUD001/STIL0003.JPG")));
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
}

}  // namespace
}  // namespace sdmate::test
