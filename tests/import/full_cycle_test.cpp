// Whole cycles on real card trees: load, stage or edit, commit, and read the card back.
#include <gtest/gtest.h>

#include "card/card_session.h"
#include "core/content_table.h"
#include "platform/drive_table.h"
#include "tests/support/card_builder.h"
#include "tests/support/content_bytes.h"

namespace sdmate {
namespace {

using test::CardBuilder;
using test::FakeDrives;
using test::ScriptedFeedback;
using test::TableItem;
using test::TempDir;
namespace fs = std::filesystem;

constexpr MediaKind kImage = MediaKind::Image;

class FullCycleTest : public ::testing::Test {
 protected:
  FullCycleTest() : builder_(temp_.path() / "card"), drives_(table_) {
    fs::create_directories(builder_.root());
    fs::create_directories(temp_.path() / "pc");
    table_.Assign('E', builder_.root().string());
    files_ = MakeNativeFiles(table_);
    codec_ = MakeNativeTextCodec();
    session_ = std::make_unique<CardSession>(
        SessionServices{*files_, drives_, *codec_, clock_, feedback_, test::TestPlaces(temp_)});
  }

  void Load() {
    ASSERT_TRUE(session_->Load('E').loaded);
    ASSERT_EQ(CheckModelInvariants(session_->model()), "");
  }
  void Commit() {
    UpdateResult result = session_->Update();
    ASSERT_TRUE(result.ran);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_TRUE(session_->model().loaded);
    ASSERT_EQ(CheckModelInvariants(session_->model()), "");
  }
  std::string PcFile(const std::string& name, const std::string& bytes) {
    fs::path path = temp_.path() / "pc" / test::PathFromUtf8(name);
    test::WriteBytes(path, bytes);
    return test::Utf8(path);
  }
  std::string CardBytes(const std::string& cardPath) {
    return test::ReadBytes(builder_.Native(cardPath));
  }
  ContentTable Table(MediaKind kind, int n) {
    return DecodeTable(kind, CardBytes(TablePath('E', kind, n).substr(2)));
  }
  const FolderSlot& Folder(MediaKind kind, int n) { return session_->model().of(kind).folder(n); }
  // The names the list shows, in list order.
  std::vector<std::string> Listed(MediaKind kind, int n) {
    std::vector<std::string> names;
    const FolderSlot& folder = Folder(kind, n);
    for (int row = 1; row <= folder.visibleCount(); ++row) {
      names.push_back(folder.items[static_cast<std::size_t>(ItemAtRow(folder, row))].targetName);
    }
    return names;
  }

  TempDir temp_;
  CardBuilder builder_;
  DriveTable table_;
  FakeDrives drives_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<TextCodec> codec_;
  ScriptedFeedback feedback_;
  FixedClock clock_;
  std::unique_ptr<CardSession> session_;
};

TEST_F(FullCycleTest, AStagedFileIsCopiedUnderItsNewNameAndListed) {
  builder_.Folder(
      kImage, 1, "旅行",
      {{.name = "STIL0001.JPG", .title = "one"}, {.name = "STIL0003.JPG", .title = "three"}});
  Load();
  const std::string bytes = test::JpegBytes(3000);
  const std::string photo = PcFile("夏の写真.jpg", bytes);
  BatchResult added = session_->AddFiles(kImage, 1, {photo});
  ASSERT_EQ(added.staged, 1);
  ASSERT_TRUE(session_->updateDue());
  Commit();

  EXPECT_EQ(Listed(kImage, 1),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG", "STIL0002.JPG"}));
  EXPECT_TRUE(CardBytes("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG") == bytes);
  EXPECT_TRUE(test::ReadBytes(test::PathFromUtf8(photo)) == bytes);  // it stays
  const ContentTable table = Table(kImage, 1);
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(table.entries[2].FileName(), "STIL0002.JPG");
  EXPECT_EQ(table.entries[2].title, codec_->FromUtf8("夏の写真.jpg"));
  EXPECT_EQ(table.entries[2].stamp, files_->FileStampText(photo));
  const ItemRow& item = Folder(kImage, 1).items[2];
  EXPECT_TRUE(item.OnCard());
  EXPECT_EQ(item.size, 3000);
}

TEST_F(FullCycleTest, AnM4aIsCopiedAsA3gpMovie) {
  Load();
  const std::string sound = test::IsoBytes(300, "M4A ");
  const std::string song = PcFile("song.m4a", sound);
  ASSERT_EQ(session_->DropFiles(MediaKind::Movie, 1, {song}).staged, 1);
  Commit();
  EXPECT_TRUE(CardBytes("\\SD_VIDEO\\PRL001\\MOL001.3GP") == sound);
  EXPECT_EQ(Table(MediaKind::Movie, 1).entries.at(0).FileName(), "MOL001.3GP");
}

TEST_F(FullCycleTest, DeleteRenumberAndMoveReachTheCard) {
  builder_.Folder(kImage, 1, "f",
                  {{.name = "STIL0001.JPG", .title = "a"},
                   {.name = "STIL0002.JPG", .title = "b"},
                   {.name = "STIL0003.JPG", .title = "c"}});
  Load();
  ASSERT_TRUE(session_->DeleteItem(kImage, 1, 1).changed);
  ASSERT_TRUE(session_->MoveItemUp(kImage, 1, 2).changed);  // c before b
  ASSERT_TRUE(session_->RenumberItems(kImage, 1).changed);
  ASSERT_TRUE(session_->StoreItemTitle(kImage, 1, 1, "C").changed);
  Commit();

  const std::string dir = "\\PRIVATE\\DOCOMO\\STILL\\SUD001\\";
  EXPECT_EQ(CardBytes(dir + "STIL0001.JPG"), CardBuilder::DefaultContent("STIL0003.JPG"));
  EXPECT_EQ(CardBytes(dir + "STIL0002.JPG"), CardBuilder::DefaultContent("STIL0002.JPG"));
  // The renamed file's old name stays on the card, named by no table.
  EXPECT_EQ(Listed(kImage, 1), (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  const ContentTable table = Table(kImage, 1);
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[0].title, "C");
  EXPECT_EQ(table.entries[1].title, "b");
}

TEST_F(FullCycleTest, DeletingAFolderMovesTheLaterOnesDown) {
  builder_.Folder(kImage, 1, "one", {{.name = "STIL0001.JPG", .title = "1"}})
      .Folder(kImage, 2, "two", {{.name = "STIL0001.JPG", .title = "2"}})
      .Folder(kImage, 3, "three", {{.name = "STIL0001.JPG", .title = "3", .content = "third"}});
  Load();
  FolderDeleteResult deleted = session_->DeleteFolder(kImage, 2);
  ASSERT_TRUE(deleted.deleted);
  EXPECT_EQ(deleted.folderToShow, 2);
  Commit();

  ASSERT_EQ(session_->model().of(kImage).folderCount(), 2);
  EXPECT_EQ(Folder(kImage, 2).folderTitle, "three");
  EXPECT_EQ(CardBytes("\\PRIVATE\\DOCOMO\\STILL\\SUD002\\STIL0001.JPG"), "third");
  EXPECT_FALSE(fs::exists(builder_.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD003")));
  EXPECT_FALSE(fs::exists(builder_.Native(TablePath('E', kImage, 3).substr(2))));
  EXPECT_EQ(Table(kImage, 2).folderTitle, "three");
}

// A table naming the card root, nothing, or the data directory itself as its folder's place:
// deleting that folder and committing must leave every file that belongs to no deleted item.
TEST_F(FullCycleTest, AFolderDeleteNeverWipesMoreThanItsFolder) {
  for (const std::string header : {"\\", "", "\\PRIVATE\\DOCOMO\\STILL", "\\PRIVATE"}) {
    SCOPED_TRACE("header '" + header + "'");
    fs::remove_all(builder_.root());
    builder_.Folder(kImage, 1, "bad", {{.name = "STIL0001.JPG", .title = "x"}}, header)
        .Folder(kImage, 2, "good", {{.name = "STIL0001.JPG", .title = "y", .content = "good"}})
        .Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP", .title = "m"}})
        .File("\\DCIM\\100NEC\\NEC_0001.JPG", "camera")
        .File("\\PRIVATE\\DOCOMO\\STILL\\OTHER.JPG", "other")
        .File("\\KEEP.TXT", "root file");
    const auto before = test::SnapshotTree(builder_.root());
    Load();
    // As if the load had trusted the header: folder 1's item names that place. No load makes
    // such a model, so the engine's own operations run on a copy of the session's.
    CardModel model = session_->model();
    FolderSlot& bad = model.of(kImage).folder(1);
    ItemRow item;
    item.order = 1;
    item.sourceDir = item.targetDir = "E:\\" + header + "\\";
    item.sourceName = item.targetName = "STIL0001.JPG";
    bad.items = {item};
    bad.deletedCount = 0;
    ASSERT_TRUE(DeleteFolder(model, kImage, 1, feedback_).deleted);
    for (const std::string& removed : model.of(kImage).removedFolders) {
      EXPECT_TRUE(removed.empty() || removed.starts_with("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD"))
          << removed;
    }
    bool advice = false;
    History history(test::TestPlaces(temp_).historyDirectory, *files_, clock_);
    UpdateResult result = UpdateCard(model, advice, *files_, drives_, feedback_, history);
    ASSERT_TRUE(result.ran);
    EXPECT_TRUE(result.failures.empty());

    const auto after = test::SnapshotTree(builder_.root());
    for (const auto& [name, bytes] : before) {
      // The kind's tables are rewritten and its folder directories renumbered.
      if (name.starts_with("PRIVATE/DOCOMO/TABLE/STILL/") ||
          name.starts_with("PRIVATE/DOCOMO/STILL/SUD")) {
        continue;
      }
      auto found = after.find(name);
      ASSERT_NE(found, after.end()) << name << " was removed";
      EXPECT_EQ(found->second, bytes) << name;
    }
    EXPECT_EQ(CardBytes("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG"), "good");
  }
}

}  // namespace
}  // namespace sdmate
