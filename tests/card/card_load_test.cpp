// Card load on real card trees.
#include <gtest/gtest.h>

#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

constexpr const char* kAdvice =
    "SDメモリ内のデータを編集・更新する前に、バックアップを取ることを強くお勧めします．";

bool AnyShownContains(const ScriptedFeedback& feedback, const std::string& text) {
  for (const std::string& shown : feedback.Texts()) {
    if (shown.find(text) != std::string::npos) return true;
  }
  return false;
}

// What a load made of a card: every folder's title and items, what the load read of each, and
// what the user was told.
std::string Picture(const CardRig& rig) {
  std::string picture;
  for (MediaKind kind : kAllKinds) {
    const auto& read = rig.session.loaded().kinds[IndexOf(kind)];
    for (int n = 1; n <= rig.model().of(kind).folderCount(); ++n) {
      const FolderSlot& folder = rig.Folder(kind, n);
      picture += std::to_string(IndexOf(kind)) + "/" + std::to_string(n) + " " +
                 folder.folderTitle + " as read " +
                 std::to_string(static_cast<std::size_t>(n) <= read.size() &&
                                read[static_cast<std::size_t>(n) - 1].builtAsRead) +
                 ":";
      for (const ItemRow& item : folder.items) {
        picture += " " + item.sourceDir + item.sourceName + "=" + std::to_string(item.size) + "/" +
                   item.title;
      }
      picture += "\n";
    }
  }
  for (const std::string& shown : rig.feedback.Texts()) picture += shown + "\n";
  return picture;
}

// Folders listed beside the reading of the tables load as those listed one after another:
// a directory two tables name, one that cannot be listed, a name spelt in another case, missing
// files and names that are no plain name. Each directory is listed once.
TEST(CardLoadTest, FoldersListedBesideTheTablesLoadAsThoseListedInTurn) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  // Folder 2's table names folder 1's directory: its one name there is an item, the other not.
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({3, 9}));
  std::string two = rig.TableBytes(MediaKind::Image, 2);
  two.replace(0, 512, BuildTableHeader(FolderDirectoryText(MediaKind::Image, 1), "two", 2));
  rig.card.RawTable(MediaKind::Image, 2, two);
  rig.card.Folder(MediaKind::Image, 3, "three", Stills({1, 2}));
  rig.files.unlistableContaining = "SUD003";
  rig.card.Folder(MediaKind::Image, 4, "four",
                  {{.name = "STIL0001.JPG", .writeFile = false}, {.name = "STIL0002.JPG"}});
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD004/stil0001.jpg", "lower case");
  for (int n = 1; n <= 20; ++n) {
    rig.card.Folder(MediaKind::Movie, n, "m",
                    {{.name = DataFileName(MediaKind::Movie, 1, ".3GP")},
                     {.name = DataFileName(MediaKind::Movie, 2, ".3GP"), .title = "two"}});
  }
  rig.card.Folder(MediaKind::Document, 1, "d",
                  {{.name = DataFileName(MediaKind::Document, 1, ".PDF"), .writeFile = false},
                   {.name = DataFileName(MediaKind::Document, 2, ".PDF")},
                   {.name = "../X.PDF", .writeFile = false}});

  rig.files.listings = 0;
  ASSERT_TRUE(rig.Load().loaded);
  const std::string beside = Picture(rig);
  const int besideListings = rig.files.listings.load();
  rig.files.listBeside = false;
  rig.feedback.shown.clear();
  rig.files.listings = 0;
  ASSERT_TRUE(rig.Load().loaded);
  EXPECT_EQ(Picture(rig), beside);
  EXPECT_EQ(rig.files.listings.load(), besideListings);
  EXPECT_EQ(besideListings, 3 + 20 + 1);  // folder 2 names folder 1's directory
  EXPECT_NE(beside.find("0/2 two as read 0: E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0003.JPG"),
            std::string::npos)
      << beside;
  EXPECT_NE(beside.find("0/3 three as read 1: E:"), std::string::npos) << beside;
}

TEST(CardLoadTest, CardWithoutTablesGetsFolderOnePerKind) {
  CardRig rig;
  LoadResult result = rig.Load();
  ASSERT_TRUE(result.loaded);
  for (MediaKind kind : kAllKinds) {
    EXPECT_TRUE(result.folderAdded[IndexOf(kind)]);
    ASSERT_EQ(rig.model().of(kind).folderCount(), 1);
    EXPECT_EQ(rig.Folder(kind, 1).itemCount(), 0);
  }
  EXPECT_EQ(rig.model().drive, 'E');
  EXPECT_TRUE(rig.model().loaded);
  EXPECT_EQ(rig.feedback.statuses,
            (std::vector<std::string>{"待ち受け画像ファイルの読み込み中...",
                                      "ムービーファイルの読み込み中...",
                                      "ドキュメントファイルの読み込み中...", ""}));
  EXPECT_EQ(rig.feedback.busyDepth, 0);
  EXPECT_GT(rig.feedback.busyCount, 0);
}

TEST(CardLoadTest, EntriesWhoseFileIsMissingAreDropped) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "旅行",
                  {{.name = "STIL0001.JPG", .title = "a"},
                   {.name = "STIL0002.JPG", .title = "b", .writeFile = false},
                   {.name = "STIL0003.JPG", .title = "c"}});
  ASSERT_TRUE(rig.Load().loaded);
  const FolderSlot& folder = rig.Folder(MediaKind::Image, 1);
  EXPECT_EQ(folder.folderTitle, "旅行");
  ASSERT_EQ(folder.itemCount(), 2);
  EXPECT_EQ(folder.items[0].targetName, "STIL0001.JPG");
  EXPECT_EQ(folder.items[0].order, 1);
  EXPECT_EQ(folder.items[1].targetName, "STIL0003.JPG");
  EXPECT_EQ(folder.items[1].order, 2);
  EXPECT_EQ(folder.items[1].title, "c");
  EXPECT_EQ(folder.items[1].stamp, "2005:03:03 14:07:00");
  EXPECT_EQ(folder.items[1].size,
            static_cast<std::int64_t>(CardBuilder::DefaultContent("STIL0003.JPG").size()));
  EXPECT_EQ(folder.items[1].sourceDir, "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\");
  EXPECT_EQ(folder.items[1].sourceDir, folder.items[1].targetDir);
  EXPECT_TRUE(rig.feedback.shown.empty());
}

TEST(CardLoadTest, ProbesTablesUpToTheFirstMissingOne) {
  CardRig rig;
  for (int n = 1; n <= 10; ++n) rig.card.Folder(MediaKind::Movie, n, "m", {});
  rig.card.Folder(MediaKind::Document, 1, "d1", {}).Folder(MediaKind::Document, 2, "d2", {});
  rig.card.Folder(MediaKind::Document, 4, "d4", {});
  LoadResult result = rig.Load();
  EXPECT_EQ(rig.model().of(MediaKind::Movie).folderCount(), 10);
  EXPECT_EQ(rig.model().of(MediaKind::Document).folderCount(), 2);
  EXPECT_EQ(rig.model().of(MediaKind::Document).nextFolderNumber(), 3);
  EXPECT_EQ(result.folderAdded, (std::array<bool, 3>{true, false, false}));
}

TEST(CardLoadTest, BackupAdviceOnlyAtTheFirstLoad) {
  CardRig rig;
  rig.session.SetBackupAdvice(true);
  rig.Load();
  EXPECT_EQ(rig.feedback.Texts(), std::vector<std::string>{kAdvice});
  EXPECT_EQ(rig.feedback.shown[0].kind, MessageKind::Information);
  EXPECT_FALSE(rig.session.backupAdvice());
  rig.Load();
  EXPECT_EQ(rig.feedback.shown.size(), 1u);
}

TEST(CardLoadTest, StoppedCardCheckLeavesModelAndAdviceAlone) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "x", {{.name = "STIL0001.JPG"}});
  rig.Load();
  rig.session.SetBackupAdvice(true);
  rig.drives.total = -1;
  rig.card.Folder(MediaKind::Image, 1, "changed", {});
  EXPECT_FALSE(rig.Load().loaded);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).folderTitle, "x");
  EXPECT_TRUE(rig.session.backupAdvice());
}

TEST(CardLoadTest, CapacityIsKeptAndTheSurplusToldOncePerKind) {
  CardRig rig;
  std::vector<TableItem> items;
  for (int p = 1; p <= 130; ++p)
    items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG")});
  rig.card.Folder(MediaKind::Image, 1, "many", items);
  for (int n = 2; n <= 129; ++n) rig.card.Folder(MediaKind::Image, n, "f", {});
  rig.Load();
  const KindState& images = rig.model().of(MediaKind::Image);
  EXPECT_EQ(images.folderCount(), kMaxFolders);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), kMaxItems);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).items.back().targetName, "STIL0128.JPG");
  ASSERT_EQ(rig.feedback.shown.size(), 1u);
  const std::string& text = rig.feedback.shown[0].text;
  EXPECT_NE(text.find("SUD001.TBL"), std::string::npos);
  EXPECT_NE(text.find("SUD128.TBL"), std::string::npos);
  EXPECT_EQ(CheckModelInvariants(rig.model()), "");
}

TEST(CardLoadTest, UnreadableTableIsNamedAndBlocksTheUpdate) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "a", {{.name = "STIL0001.JPG"}});
  // A table that exists but cannot be read as a file.
  fs::create_directories(rig.Native(TablePath('E', MediaKind::Image, 2).substr(2)));
  rig.card.Folder(MediaKind::Image, 3, "c", {});
  LoadResult result = rig.Load();
  EXPECT_FALSE(result.complete);
  EXPECT_FALSE(rig.model().complete);
  EXPECT_EQ(rig.model().of(MediaKind::Image).folderCount(), 3);
  EXPECT_TRUE(AnyShownContains(rig.feedback, "SUD002.TBL"));

  auto before = SnapshotTree(rig.cardRoot());
  UpdateResult update = rig.Update();
  EXPECT_FALSE(update.ran);
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), before);
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Warning);
}

}  // namespace
}  // namespace sdmate::test
