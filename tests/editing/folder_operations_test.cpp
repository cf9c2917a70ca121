// Adding, deleting and retitling folders: the question, what moves down, the gauge and above
// all which directory a delete hands to the update.
#include "editing/folder_operations.h"

#include <gtest/gtest.h>

#include "core/sjis.h"
#include "tests/support/card_builder.h"
#include "tests/support/model_builder.h"

namespace sdmate {
namespace {

using test::CardItem;
using test::LoadedModel;
using test::ScriptedFeedback;

constexpr MediaKind kImage = MediaKind::Image;

TEST(DeleteFolder, LaterFoldersMoveDownWithEverythingTheyHold) {
  CardModel model = LoadedModel(kImage, {2, 3, 4});
  KindState& state = model.of(kImage);
  state.folder(3).folderTitle = "third";
  state.folder(3).items[1].title = "kept";
  const FolderSlot third = state.folder(3);
  // One item of folder 2 is already off the gauge.
  state.folder(2).items[0].deleted = true;
  state.folder(2).items[0].order = 3;
  state.folder(2).items[1].order = 1;
  state.folder(2).items[2].order = 2;
  state.folder(2).deletedCount = 1;
  const std::int64_t before = model.gauge.position();

  ScriptedFeedback feedback;
  FolderDeleteResult result = DeleteFolder(model, kImage, 2, feedback);
  EXPECT_TRUE(result.deleted);
  EXPECT_EQ(result.folderToShow, 2);
  ASSERT_EQ(feedback.shown.size(), 1u);
  EXPECT_EQ(feedback.shown[0].text,
            "現在表示している待ち受け画像フォルダを削除してもよろしいですか？");
  EXPECT_EQ(feedback.shown[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(feedback.shown[0].buttons, Buttons::YesNo);

  ASSERT_EQ(state.folderCount(), 2);
  EXPECT_EQ(state.nextFolderNumber(), 3);
  EXPECT_EQ(state.folder(2).folderTitle, "third");
  ASSERT_EQ(state.folder(2).itemCount(), 4);
  EXPECT_EQ(state.folder(2).items[1].title, "kept");
  // The moved items still name their old directory; the update moves their files.
  EXPECT_EQ(state.folder(2).items[0].sourceDir, third.items[0].sourceDir);
  EXPECT_EQ(state.removedFolders,
            (std::vector<std::string>{"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD002"}));
  EXPECT_EQ(model.gauge.position(), before - 2000);  // the two items still visible
  EXPECT_EQ(CheckModelInvariants(model), "");
}

TEST(DeleteFolder, TheLastFolderShowsTheNewLastOne) {
  CardModel model = LoadedModel(MediaKind::Movie, {1, 1, 1});
  ScriptedFeedback feedback;
  FolderDeleteResult result = DeleteFolder(model, MediaKind::Movie, 3, feedback);
  EXPECT_TRUE(result.deleted);
  EXPECT_EQ(result.folderToShow, 2);
  EXPECT_EQ(
      feedback.Texts(),
      (std::vector<std::string>{"現在表示しているムービーフォルダを削除してもよろしいですか？"}));
  EXPECT_EQ(model.of(MediaKind::Movie).removedFolders,
            (std::vector<std::string>{"E:\\\\SD_VIDEO\\PRL003"}));
}

TEST(DeleteFolder, NothingHappensForTheOnlyFolderOrWhenTheAnswerIsNo) {
  CardModel model = LoadedModel(MediaKind::Document, {2});
  ScriptedFeedback feedback;
  EXPECT_FALSE(DeleteFolder(model, MediaKind::Document, 1, feedback).deleted);
  EXPECT_TRUE(feedback.shown.empty());  // no question for the last folder

  CardModel two = LoadedModel(MediaKind::Document, {2, 1});
  const std::int64_t before = two.gauge.position();
  feedback.answers = {Answer::No};
  EXPECT_FALSE(DeleteFolder(two, MediaKind::Document, 1, feedback).deleted);
  ASSERT_EQ(feedback.shown.size(), 1u);
  EXPECT_EQ(feedback.shown[0].text,
            "現在表示しているドキュメントフォルダを削除してもよろしいですか？");
  EXPECT_EQ(two.of(MediaKind::Document).folderCount(), 2);
  EXPECT_TRUE(two.of(MediaKind::Document).removedFolders.empty());
  EXPECT_EQ(two.gauge.position(), before);
  EXPECT_FALSE(DeleteFolder(two, MediaKind::Document, 3, feedback).deleted);
}

TEST(DeleteFolder, RecordsTheCardDirectoryNeverOneOfTheComputer) {
  CardModel model = LoadedModel(kImage, {0, 1});
  FolderSlot& folder = model.of(kImage).folder(1);
  // Two files of the computer first in slot order, then one item read from folder 5's
  // directory (a folder the user moved down earlier).
  for (int i = 0; i < 2; ++i) {
    ItemRow added;
    added.order = i + 1;
    added.sourceDir = "/home/u/pictures/";
    added.sourceName = "p" + std::to_string(i) + ".jpg";
    added.targetDir = CardDataDirectory('E', kImage);
    added.targetName = DataFileName(kImage, i + 1, ".JPG");
    folder.items.push_back(added);
  }
  const ItemRow computerFile = folder.items[0];
  ItemRow card = CardItem('E', kImage, 5, 3);
  card.order = 3;
  folder.items.push_back(card);

  ScriptedFeedback feedback;
  ASSERT_TRUE(DeleteFolder(model, kImage, 1, feedback).deleted);
  EXPECT_EQ(model.of(kImage).removedFolders,
            (std::vector<std::string>{"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD005"}));

  // A folder of computer files alone, or a new empty one, records nothing.
  CardModel fresh = LoadedModel(kImage, {0, 0});
  fresh.of(kImage).folder(1).items = {computerFile};
  ASSERT_TRUE(DeleteFolder(fresh, kImage, 1, feedback).deleted);
  ASSERT_FALSE(DeleteFolder(fresh, kImage, 1, feedback).deleted);  // the last folder
  EXPECT_TRUE(fresh.of(kImage).removedFolders.empty());
}

// Directories a damaged or hostile table can make the items carry. The update deletes what a
// folder delete records, whole, so only a directory strictly below the kind's data directory
// on the loaded card may ever be recorded.
TEST(DeleteFolder, NeverRecordsADirectoryOutsideTheKindsDataDirectory) {
  struct Case {
    const char* sourceDir;
    bool recorded;
  };
  const Case cases[] = {
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\", true},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\OWN\\DEEPER\\", true},
      {"E:\\", false},
      {"E:\\\\", false},
      {"", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL", false},
      {"E:\\\\PRIVATE\\DOCOMO\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\..\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\..\\..\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\.\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001/../..\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\C:\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD\x01\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001", false},  // no trailing backslash
      {"F:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\", false},
      {"E:\\\\SD_VIDEO\\PRL001\\", false},
      {"E:\\\\PRIVATE\\DOCOMO\\STILLER\\SUD001\\", false},
      {"/home/u/", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sourceDir);
    CardModel model = LoadedModel(kImage, {1, 1});
    ItemRow& item = model.of(kImage).folder(1).items[0];
    item.sourceDir = c.sourceDir;
    item.targetDir = c.sourceDir;
    ScriptedFeedback feedback;
    ASSERT_TRUE(DeleteFolder(model, kImage, 1, feedback).deleted);
    std::string expected = c.sourceDir;
    if (!expected.empty()) expected.pop_back();
    EXPECT_EQ(model.of(kImage).removedFolders,
              c.recorded ? std::vector<std::string>{expected} : std::vector<std::string>{});
  }
}

TEST(DeleteFolder, RefusesAtTheLimitOfRemovedFolders) {
  CardModel model = LoadedModel(kImage, {1, 1});
  model.of(kImage).removedFolders.assign(kMaxRemovedFolders, "");
  ScriptedFeedback feedback;
  EXPECT_FALSE(DeleteFolder(model, kImage, 1, feedback).deleted);
  ASSERT_EQ(feedback.shown.size(), 1u);
  EXPECT_EQ(feedback.shown[0].kind, MessageKind::Warning);
  EXPECT_NE(feedback.shown[0].text.find("128"), std::string::npos);
  EXPECT_EQ(model.of(kImage).folderCount(), 2);
}

TEST(AddFolder, NumbersTitlesAndTheLimit) {
  CardModel model = LoadedModel(MediaKind::Movie, {1, 1, 1, 1, 1, 1, 1, 1, 1});
  ScriptedFeedback feedback;
  EXPECT_EQ(AddFolder(model, MediaKind::Movie, feedback), 10);
  EXPECT_EQ(model.of(MediaKind::Movie).folder(10).folderTitle, "PRL010");
  EXPECT_EQ(model.of(MediaKind::Movie).folder(10).itemCount(), 0);

  // Folder 1 of two deleted, then a folder added: it is number 2 with the default title.
  CardModel images = LoadedModel(kImage, {1, 1});
  ASSERT_TRUE(DeleteFolder(images, kImage, 1, feedback).deleted);
  EXPECT_EQ(AddFolder(images, kImage, feedback), 2);
  EXPECT_EQ(images.of(kImage).folder(2).folderTitle, "SUD002");
  EXPECT_EQ(images.of(kImage).removedFolders,
            (std::vector<std::string>{"E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001"}));

  CardModel full = LoadedModel(kImage, std::vector<int>(kMaxFolders, 0));
  feedback.shown.clear();
  EXPECT_EQ(AddFolder(full, kImage, feedback), 0);
  EXPECT_EQ(full.of(kImage).folderCount(), kMaxFolders);
  ASSERT_EQ(feedback.shown.size(), 1u);
  EXPECT_EQ(feedback.shown[0].kind, MessageKind::Warning);
}

TEST(StoreFolderTitle, KeepsAtMost48BytesOfWholeCharacters) {
  CardModel model = LoadedModel(kImage, {0});
  std::string title = "a";
  for (int i = 0; i < 30; ++i) title += "\x82\xA0";
  ASSERT_TRUE(StoreFolderTitle(model, kImage, 1, title).changed);
  EXPECT_EQ(model.of(kImage).folder(1).folderTitle, title.substr(0, 47));
  EXPECT_FALSE(StoreFolderTitle(model, kImage, 2, "x").changed);
}

}  // namespace
}  // namespace sdmate
