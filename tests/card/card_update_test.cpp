// Card update on real card trees, read back from disk: what a commit writes for the card as it
// was loaded, the read-back, and failures on the way.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kCompleted = "メモリーカードの更新が完了しました";
const std::string kStill = "PRIVATE/DOCOMO/STILL/";

std::string Content(const std::string& name) { return CardBuilder::DefaultContent(name); }

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
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1),
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
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 1).deleted);
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
  const std::string photo = rig.ComputerFile("photo.jpg", "new photo");
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 2, {photo}).staged, 1);
  ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ReadOnlyDirectory locked(rig.Native(kStill + "SUD002"));
  if (!locked.effective()) GTEST_SKIP() << "this file system cannot make a folder read-only";
  UpdateResult result = rig.Update();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_NE(result.failures[0].find("SUD002\\STIL0002.JPG"), std::string::npos);
  const Shown& last = rig.feedback.shown.back();
  EXPECT_EQ(last.kind, MessageKind::Warning);
  // The message names the file as the computer does.
  EXPECT_NE(last.text.find(rig.session.NativePaths(result.failures[0])), std::string::npos);
  const std::vector<std::string> texts = rig.feedback.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), kCompleted), 0);
  // The rest of the commit: folder 1's files traded names, every table written.
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0001.JPG")), Content("STIL0002.JPG"));
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 2),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_TRUE(fs::exists(rig.Native("PRIVATE/DOCOMO/TABLE/DOCUMENT/PUD001.TBL")));
}

// A card with edits of every sort staged: a folder delete, item deletes, a renumbering and a new
// file.
void BuildEditedCard(CardRig& rig) {
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1}));
  rig.card.Folder(MediaKind::Image, 3, "three", Stills({1, 2}));
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
  rig.card.Folder(MediaKind::Document, 1, "d", {{.name = "PDFDC001.PDF"}});
  ASSERT_TRUE(rig.Load().loaded);
  const std::string photo = rig.ComputerFile("new.jpg", "new");
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 2).deleted);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 2, {photo}).staged, 1);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Movie, 1, 1).changed);
  // The commit's operations are numbered from 1.
  rig.files.operations = 0;
}

// A commit that stops (or stumbles) at any single operation leaves a card that still loads
// with a table for every folder of every kind.
TEST(CardUpdateTest, InterruptedAtAnyOperationEveryKindKeepsItsTables) {
  int operations = 0;
  {
    CardRig rig;
    ASSERT_NO_FATAL_FAILURE(BuildEditedCard(rig));
    ExpectCompleted(rig, rig.Update());
    operations = rig.files.operations;
  }
  ASSERT_GT(operations, 10);
  for (bool stop : {true, false}) {
    for (int k = 1; k <= operations; ++k) {
      CardRig rig;
      ASSERT_NO_FATAL_FAILURE(BuildEditedCard(rig));
      rig.files.failAt = k;
      rig.files.failFrom = stop;
      UpdateResult result = rig.Update();
      EXPECT_FALSE(result.ran && result.failures.empty()) << k;
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

}  // namespace
}  // namespace sdmate::test
