// Card update on real card trees, read back from disk.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/content_table.h"
#include "editing/folder_operations.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kCompleted = "メモリーカードの更新が完了しました";
const std::string kStill = "PRIVATE/DOCOMO/STILL/";
const std::string kStillTables = "PRIVATE/DOCOMO/TABLE/STILL/";

std::string Content(const std::string& name) { return CardBuilder::DefaultContent(name); }

// The file names a table on the card lists, in order.
std::vector<std::string> TableNames(const CardRig& rig, MediaKind kind, int n) {
  std::vector<std::string> names;
  for (const TableEntry& entry : DecodeTable(kind, rig.TableBytes(kind, n)).entries) {
    names.push_back(entry.FileName());
  }
  return names;
}

std::vector<TableItem> Stills(std::initializer_list<int> numbers) {
  std::vector<TableItem> items;
  for (int p : numbers) {
    std::string name = DataFileName(MediaKind::Image, p, ".JPG");
    items.push_back({.name = name, .title = "t" + name});
  }
  return items;
}

void ExpectCompleted(const CardRig& rig, const UpdateResult& result) {
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().text, kCompleted);
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Information);
}

TEST(CardUpdateTest, CardWithoutTablesGetsThreeEmptyTablesAndNoDataDirectory) {
  CardRig rig;
  rig.Load();
  UpdateResult result = rig.Update();
  ExpectCompleted(rig, result);
  EXPECT_EQ(ListTree(rig.cardRoot()),
            (std::vector<std::string>{"PRIVATE/DOCOMO/TABLE/DOCUMENT/PUD001.TBL",
                                      "PRIVATE/DOCOMO/TABLE/SD_VIDEO/PRL001.TBL",
                                      "PRIVATE/DOCOMO/TABLE/STILL/SUD001.TBL"}));
  EXPECT_EQ(rig.TableBytes(MediaKind::Movie, 1),
            BuildTableHeader("\\SD_VIDEO\\PRL001", "PRL001", 0));
  EXPECT_FALSE(fs::exists(rig.Native("\\SD_VIDEO\\PRL001")));
  EXPECT_FALSE(fs::exists(rig.Native("\\PRIVATE\\DOCOMO\\STILL")));
  EXPECT_EQ(result.reload.folderAdded, (std::array<bool, 3>{}));
}

TEST(CardUpdateTest, StatusTextsFollowTheKindPassAndFolderSteps) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1}));
  rig.card.Folder(MediaKind::Movie, 1, "m", {});
  rig.card.Folder(MediaKind::Document, 1, "d", {});
  rig.Load();
  rig.feedback.statuses.clear();
  rig.Update();
  std::vector<std::string> expected;
  for (MediaKind kind : kAllKinds) {
    const KindTraits& t = TraitsOf(kind);
    expected.insert(expected.end(),
                    {"削除対象フォルダの削除中...", t.tableStatus, t.deleteStatus, t.renameStatus,
                     t.copyStatus, "サブディレクトリの整合性調整中...", t.modelStatus});
  }
  expected.push_back("メモリーカード再読込中...");
  for (MediaKind kind : kAllKinds) expected.push_back(TraitsOf(kind).loadStatus);
  expected.insert(expected.end(), {"", ""});
  EXPECT_EQ(rig.feedback.statuses, expected);
  EXPECT_EQ(rig.feedback.busyDepth, 0);
}

TEST(CardUpdateTest, UneditedCardKeepsEveryDataFileAndRewritesTables) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2}));
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  std::string oldTable = rig.TableBytes(MediaKind::Image, 1);
  // An old table whose count byte disagrees: the rewrite makes it right.
  oldTable[343] = 9;
  rig.card.RawTable(MediaKind::Image, 1, oldTable);
  const auto stamp = fs::last_write_time(rig.Native(kStill + "SUD001/STIL0001.JPG"));
  auto before = SnapshotTree(rig.cardRoot());
  rig.Load();
  ExpectCompleted(rig, rig.Update());
  auto after = SnapshotTree(rig.cardRoot());
  for (auto& [name, bytes] : before) {
    if (name.find("TABLE/") == std::string::npos) {
      EXPECT_EQ(after[name], bytes) << name;
    }
  }
  EXPECT_EQ(after.size(), before.size() + 1);  // the document table added for folder 1
  EXPECT_EQ(static_cast<unsigned char>(rig.TableBytes(MediaKind::Image, 1)[343]), 2);
  EXPECT_EQ(fs::last_write_time(rig.Native(kStill + "SUD001/STIL0001.JPG")), stamp);
}

TEST(CardUpdateTest, DroppedEntryIsLeftOutOfTheRewrittenTable) {
  CardRig rig;
  auto items = Stills({1, 2, 3});
  items[1].writeFile = false;
  rig.card.Folder(MediaKind::Image, 1, "i", items);
  rig.Load();
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(rig.TableBytes(MediaKind::Image, 1).size(), 512u + 2 * 256u);
}

TEST(CardUpdateTest, MissingMiddleTableAndItsDirectoryAreRemoved) {
  CardRig rig;
  for (int n : {1, 2, 4}) {
    rig.card.Folder(MediaKind::Document, n, "d",
                    {{.name = DataFileName(MediaKind::Document, 1, ".PDF")}});
  }
  rig.card.File("PRIVATE/DOCOMO/TABLE/DOCUMENT/OLD.TBL.new", "leftover");
  rig.Load();
  ExpectCompleted(rig, rig.Update());
  const std::string documents = "PRIVATE/DOCOMO/DOCUMENT/";
  EXPECT_TRUE(fs::exists(rig.Native(documents + "PUD002/PDFDC001.PDF")));
  EXPECT_FALSE(fs::exists(rig.Native(documents + "PUD004")));
  EXPECT_EQ(rig.card.root() / "PRIVATE/DOCOMO/TABLE/DOCUMENT",
            rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT"));
  std::vector<std::string> tables;
  for (const auto& entry : fs::directory_iterator(rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT"))) {
    tables.push_back(entry.path().filename().string());
  }
  std::sort(tables.begin(), tables.end());
  EXPECT_EQ(tables, (std::vector<std::string>{"PUD001.TBL", "PUD002.TBL"}));
}

TEST(CardUpdateTest, SwappedAndRenumberedItemsTradeNames) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3}));
  rig.Load();
  FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  StageSwap(folder, 1);
  StageRenumber(folder, MediaKind::Image);
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
  StageSwap(rig.Folder(MediaKind::Image, 1), 1);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(SnapshotTree(rig.cardRoot() / kStill), before);
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0002.JPG", "STIL0001.JPG"}));
}

TEST(CardUpdateTest, DeleteSecondOfThreeAndRenumber) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1, 2, 3}));
  rig.Load();
  FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  StageDelete(folder, 2);
  StageRenumber(folder, MediaKind::Image);
  ASSERT_EQ(CheckOrderInvariants(folder), "");
  ExpectCompleted(rig, rig.Update());
  const std::string dir = kStill + "SUD001/";
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0002.JPG")), Content("STIL0003.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(dir + "STIL0003.JPG")), Content("STIL0003.JPG"));
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
}

TEST(CardUpdateTest, AllItemsDeletedLeavesAHeaderOnlyTable) {
  CardRig rig;
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}, {.name = "MOL002.3GP"}});
  rig.Load();
  StageDelete(rig.Folder(MediaKind::Movie, 1), 1);
  StageDelete(rig.Folder(MediaKind::Movie, 1), 1);
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
  StageFolderDelete(rig.model.of(MediaKind::Image), MediaKind::Image, 1, 'E');
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), "two-1");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), Content("STIL0002.JPG"));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0005.JPG")), "three-5");
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD003")));
  EXPECT_FALSE(fs::exists(rig.Native(kStillTables + "SUD003.TBL")));
  auto header = DecodeTable(MediaKind::Image, rig.TableBytes(MediaKind::Image, 2));
  EXPECT_EQ(header.folderTitle, "three");
  EXPECT_EQ(header.directoryText, "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  EXPECT_EQ(rig.model.of(MediaKind::Image).folderCount(), 2);
}

TEST(CardUpdateTest, HeaderNamingAnotherDirectoryMovesFilesHome) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1}), "\\PRIVATE\\DOCOMO\\STILL\\ELSEWHERE");
  rig.Load();
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 1);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), Content("STIL0001.JPG"));
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "ELSEWHERE/STIL0001.JPG")));
  EXPECT_EQ(DecodeTable(MediaKind::Image, rig.TableBytes(MediaKind::Image, 1)).directoryText,
            "\\PRIVATE\\DOCOMO\\STILL\\SUD001");
}

// A delete never takes a file that an item which stays still reads.
TEST(CardUpdateTest, DeletingOneOfTwoEntriesOfTheSameFileKeepsTheFile) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i",
                  {{.name = "STIL0001.JPG", .title = "a"}, {.name = "STIL0001.JPG", .title = "b"}});
  rig.Load();
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  StageDelete(rig.Folder(MediaKind::Image, 1), 2);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), Content("STIL0001.JPG"));
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1), std::vector<std::string>{"STIL0001.JPG"});
}

TEST(CardUpdateTest, DeletedFolderWhoseDirectoryAnotherTableNamesKeepsThoseFiles) {
  CardRig rig;
  // Folder 1's header names folder 2's directory, where both folders' files are.
  rig.card.Folder(MediaKind::Image, 1, "one", {{.name = "STIL0009.JPG", .content = "one"}},
                  "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  rig.Load();
  ASSERT_TRUE(DeleteFolder(rig.model, MediaKind::Image, 1, rig.feedback).deleted);
  ASSERT_EQ(rig.model.of(MediaKind::Image).removedFolders,
            std::vector<std::string>{"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD002"});
  UpdateResult result = rig.Update();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_NE(result.failures[0].find("SUD002"), std::string::npos);
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), "two");
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1), std::vector<std::string>{"STIL0001.JPG"});
}

TEST(CardUpdateTest, FileWhoseMoveFailedKeepsTheDirectoryOfItsOldFolder) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0004.JPG", .content = "two-4"}});
  rig.Load();
  StageFolderDelete(rig.model.of(MediaKind::Image), MediaKind::Image, 1, 'E');
  FailingFiles failing(*rig.files);
  failing.failPathContaining = "SUD002\\STIL0004.JPG";
  UpdateResult result = rig.Update(&failing);
  EXPECT_EQ(result.failures.size(), 2u);  // the move, and the directory kept for it
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0004.JPG")), "two-4");
}

TEST(CardUpdateTest, NewFileIsCopiedWithItsEntryCutAndSizedIn32Bits) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "i", Stills({1}));
  rig.Load();
  const fs::path photo = rig.base() / "photo.jpg";
  WriteBytes(photo, std::string(1000, 'p'));
  FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  StageNewFile(folder, MediaKind::Image, 1, 'E', photo, 2);
  // A long title taken from a file name, with a double-byte character across byte 64.
  folder.items.back().title = std::string(63, 'a') + "\x82\xA0" + "tail";
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), std::string(1000, 'p'));
  EXPECT_TRUE(fs::exists(photo));
  const std::string table = rig.TableBytes(MediaKind::Image, 1);
  ASSERT_EQ(table.size(), 512u + 2 * 256u);
  const std::string entry = table.substr(512 + 256, 256);
  EXPECT_EQ(entry.substr(16, 64), std::string(63, 'a') + '\0');
  EXPECT_EQ(entry.substr(100, 4), std::string("\x00\x00\x03\xE8", 4));
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).items[1].sourceDir,
            "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\");
}

TEST(CardUpdateTest, ReloadDoesNotAskTheRemovableQuestionAgain) {
  CardRig rig;
  rig.drives.type = DriveType::Fixed;
  rig.feedback.answers = {Answer::Yes};
  ASSERT_TRUE(rig.Load().loaded);
  UpdateResult result = rig.Update();
  EXPECT_TRUE(result.reload.loaded);
  EXPECT_EQ(std::count_if(rig.feedback.shown.begin(), rig.feedback.shown.end(),
                          [](const Shown& s) { return s.buttons == Buttons::YesNo; }),
            1);
}

TEST(CardUpdateTest, ReloadThatFindsNoCardIsReportedAndBlocksAnotherUpdate) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1}));
  rig.Load();
  StageFolderDelete(rig.model.of(MediaKind::Image), MediaKind::Image, 1, 'E');
  // The card's size cannot be read by the time of the reload: the card was pulled.
  rig.drives.total = -1;
  UpdateResult result = rig.Update();
  EXPECT_FALSE(result.reload.loaded);
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Warning);
  auto after = SnapshotTree(rig.cardRoot());
  rig.drives.total = 64LL * 1024 * 1024;
  EXPECT_FALSE(rig.Update().ran);
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), after);
}

TEST(CardUpdateTest, FailedFileOperationIsListedAndTheRestHappens) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1}));
  rig.Load();
  const fs::path photo = rig.base() / "photo.jpg";
  WriteBytes(photo, "new photo");
  StageNewFile(rig.Folder(MediaKind::Image, 2), MediaKind::Image, 2, 'E', photo, 2);
  StageSwap(rig.Folder(MediaKind::Image, 1), 1);
  StageRenumber(rig.Folder(MediaKind::Image, 1), MediaKind::Image);
  ReadOnlyDirectory locked(rig.Native(kStill + "SUD002"));
  if (!locked.effective()) GTEST_SKIP() << "this file system cannot make a folder read-only";
  UpdateResult result = rig.Update();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_NE(result.failures[0].find("SUD002\\STIL0002.JPG"), std::string::npos);
  const Shown& last = rig.feedback.shown.back();
  EXPECT_EQ(last.kind, MessageKind::Warning);
  EXPECT_NE(last.text.find(result.failures[0]), std::string::npos);
  const std::vector<std::string> texts = rig.feedback.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), kCompleted), 0);
  // The rest of the commit: folder 1's files traded names, every table written.
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), Content("STIL0002.JPG"));
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 2),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_TRUE(fs::exists(rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT/PUD001.TBL")));
}

// A commit that stops (or stumbles) at any single operation leaves a card that still loads
// with a table for every folder of every kind.
TEST(CardUpdateTest, InterruptedAtAnyOperationEveryKindKeepsItsTables) {
  auto build = [](CardRig& rig) {
    rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
    rig.card.Folder(MediaKind::Image, 2, "two", Stills({1}));
    rig.card.Folder(MediaKind::Image, 3, "three", Stills({1, 2}));
    rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
    rig.card.Folder(MediaKind::Document, 1, "d", {{.name = "PDFDC001.PDF"}});
    rig.Load();
    WriteBytes(rig.base() / "new.jpg", "new");
    KindState& images = rig.model.of(MediaKind::Image);
    StageFolderDelete(images, MediaKind::Image, 2, 'E');
    StageDelete(images.folder(1), 1);
    StageRenumber(images.folder(1), MediaKind::Image);
    StageNewFile(images.folder(2), MediaKind::Image, 2, 'E', rig.base() / "new.jpg", 3);
    StageDelete(rig.Folder(MediaKind::Movie, 1), 1);
  };
  int operations = 0;
  {
    CardRig rig;
    build(rig);
    FailingFiles counting(*rig.files);
    ExpectCompleted(rig, rig.Update(&counting));
    operations = counting.operations;
  }
  ASSERT_GT(operations, 10);
  for (bool stop : {true, false}) {
    for (int k = 1; k <= operations; ++k) {
      CardRig rig;
      build(rig);
      FailingFiles failing(*rig.files);
      failing.failAt = k;
      failing.failFrom = stop;
      UpdateResult result = rig.Update(&failing);
      EXPECT_FALSE(result.failures.empty()) << k;
      CardModel after = rig.LoadFresh();
      EXPECT_TRUE(after.complete);
      EXPECT_GE(after.of(MediaKind::Image).folderCount(), 2) << "k=" << k << " stop=" << stop;
      EXPECT_TRUE(fs::exists(rig.Native(TablePath('E', MediaKind::Movie, 1).substr(2)))) << k;
      EXPECT_TRUE(fs::exists(rig.Native(TablePath('E', MediaKind::Document, 1).substr(2)))) << k;
      for (int n = 1; n <= after.of(MediaKind::Image).folderCount(); ++n) {
        EXPECT_TRUE(fs::exists(rig.Native(TablePath('E', MediaKind::Image, n).substr(2))));
      }
    }
  }
}

// On Windows a file chosen from the card's own drive, outside the handset's folders, counts as
// on the card. It is the user's file: it is copied into the folder, never moved or deleted.
TEST(CardUpdateTest, FilesOfTheCardsOwnDriveOutsideTheHandsetFoldersAreOnlyCopied) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "SUD001", Stills({1}));
  rig.card.File("MYPHOTOS/STIL0002.JPG", "same name");
  rig.card.File("MYPHOTOS/keep.jpg", "changed my mind");
  rig.Load();
  FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  const std::string dataDirectory = CardDataDirectory(CardRig::kDrive, MediaKind::Image);
  folder.items.push_back({.order = 2,
                          .sourceDir = "E:\\MYPHOTOS\\",
                          .targetDir = dataDirectory,
                          .sourceName = "STIL0002.JPG",
                          .targetName = "STIL0002.JPG",
                          .stamp = "2006:01:02 03:04:00",
                          .size = 9});
  folder.items.push_back({.order = 3,
                          .deleted = true,
                          .sourceDir = "E:\\MYPHOTOS\\",
                          .targetDir = dataDirectory,
                          .sourceName = "keep.jpg",
                          .targetName = "STIL0003.JPG",
                          .size = 15});
  folder.deletedCount = 1;
  ASSERT_EQ(CheckOrderInvariants(folder), "");

  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native("\\MYPHOTOS\\STIL0002.JPG")), "same name");
  EXPECT_EQ(ReadBytes(rig.Native("\\MYPHOTOS\\keep.jpg")), "changed my mind");
  EXPECT_EQ(ReadBytes(rig.Native("\\" + kStill + "SUD001/STIL0002.JPG")), "same name");
  EXPECT_FALSE(fs::exists(rig.Native("\\" + kStill + "SUD001/STIL0003.JPG")));
  EXPECT_EQ(TableNames(rig, MediaKind::Image, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
}

}  // namespace
}  // namespace sdmate::test
