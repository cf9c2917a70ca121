// Delete, renumber, up, down and item titles on folders made in memory: the orders the list
// shows, the marks the update reads and the gauge.
#include "editing/item_operations.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/model_builder.h"

namespace sdmate {
namespace {

using test::ListedNames;
using test::LoadedModel;
using test::Orders;

constexpr MediaKind kImage = MediaKind::Image;

std::string Kana(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\x82\xA0";  // あ
  return text;
}

#define EXPECT_ORDERS_HOLD(folder) EXPECT_EQ(CheckOrderInvariants(folder), "")

TEST(DeleteItem, MovesTheItemBehindTheVisibleOnesMostRecentLast) {
  CardModel model = LoadedModel(kImage, {6});
  FolderSlot& folder = model.of(kImage).folder(1);
  const std::int64_t before = model.gauge.position();

  ASSERT_TRUE(DeleteItem(model, kImage, 1, 3).changed);  // STIL0003
  EXPECT_ORDERS_HOLD(folder);
  EXPECT_EQ(Orders(folder), (std::vector<int>{1, 2, 6, 3, 4, 5}));

  ASSERT_TRUE(DeleteItem(model, kImage, 1, 2).changed);  // STIL0002, five visible before
  EXPECT_ORDERS_HOLD(folder);
  // Visible 1..4, the earlier deleted item at 5, the one deleted last at 6.
  EXPECT_EQ(Orders(folder), (std::vector<int>{1, 6, 5, 2, 3, 4}));
  EXPECT_EQ(folder.deletedCount, 2);
  EXPECT_TRUE(folder.items[1].deleted);
  EXPECT_TRUE(folder.items[2].deleted);
  EXPECT_EQ(ListedNames(folder), (std::vector<std::string>{"STIL0001.JPG", "STIL0004.JPG",
                                                           "STIL0005.JPG", "STIL0006.JPG"}));
  EXPECT_EQ(model.gauge.position(), before - 2000);
}

TEST(DeleteItem, TheLastRowAndTheOnlyItem) {
  CardModel model = LoadedModel(kImage, {3});
  FolderSlot& folder = model.of(kImage).folder(1);
  ASSERT_TRUE(DeleteItem(model, kImage, 1, 3).changed);
  EXPECT_EQ(Orders(folder), (std::vector<int>{1, 2, 3}));
  EXPECT_ORDERS_HOLD(folder);

  CardModel single = LoadedModel(kImage, {1});
  const std::int64_t before = single.gauge.position();
  ASSERT_TRUE(DeleteItem(single, kImage, 1, 1).changed);
  const FolderSlot& only = single.of(kImage).folder(1);
  EXPECT_EQ(only.deletedCount, only.itemCount());
  EXPECT_EQ(only.visibleCount(), 0);
  EXPECT_EQ(single.gauge.position(), before - 1000);
}

TEST(DeleteItem, RowsWithoutAVisibleItemChangeNothing) {
  CardModel model = LoadedModel(kImage, {1, 2});
  ASSERT_TRUE(DeleteItem(model, kImage, 1, 1).changed);
  const std::int64_t position = model.gauge.position();
  const FolderSlot copy = model.of(kImage).folder(1);

  // Row 1 is now the blank row, and the deleted item's order is 1: it must not be taken off
  // again. Rows outside the list and folders that do not exist change nothing either.
  for (auto [folder, row] :
       std::vector<std::pair<int, int>>{{1, 1}, {1, 0}, {1, 2}, {2, 3}, {2, -1}, {3, 1}, {0, 1}}) {
    SCOPED_TRACE(std::to_string(folder) + "/" + std::to_string(row));
    EXPECT_FALSE(DeleteItem(model, kImage, folder, row).changed);
  }
  EXPECT_EQ(model.gauge.position(), position);
  EXPECT_EQ(model.of(kImage).folder(1).deletedCount, 1);
  EXPECT_EQ(Orders(model.of(kImage).folder(1)), Orders(copy));
  EXPECT_EQ(model.of(kImage).folder(2).deletedCount, 0);
}

TEST(RenumberItems, GivesEachVisibleItemItsListPosition) {
  CardModel model = LoadedModel(MediaKind::Movie, {13});
  FolderSlot& folder = model.of(MediaKind::Movie).folder(1);
  folder.items[11].targetName = "MOL0FF.3gp";  // the extension keeps its own case
  folder.items[12].targetName = "MOL077.MP4";
  ASSERT_TRUE(DeleteItem(model, MediaKind::Movie, 1, 1).changed);  // MOL001 keeps its name
  ASSERT_TRUE(RenumberItems(model, MediaKind::Movie, 1).changed);

  std::vector<std::string> names = ListedNames(folder);
  ASSERT_EQ(names.size(), 12u);
  EXPECT_EQ(names[0], "MOL001.3GP");
  EXPECT_EQ(names[8], "MOL009.3GP");
  EXPECT_EQ(names[9], "MOL00A.3GP");
  EXPECT_EQ(names[10], "MOL00B.3gp");
  EXPECT_EQ(names[11], "MOL00C.MP4");
  EXPECT_EQ(folder.items[0].targetName, "MOL001.3GP");
  EXPECT_TRUE(folder.items[0].deleted);
  // The files still carry their old names until the update renames them.
  EXPECT_EQ(folder.items[1].sourceName, "MOL002.3GP");
}

TEST(RenumberItems, FollowsTheListOrderAfterAMove) {
  CardModel model = LoadedModel(kImage, {3});
  ASSERT_TRUE(MoveItemUp(model, kImage, 1, 3).changed);
  ASSERT_TRUE(MoveItemUp(model, kImage, 1, 2).changed);
  FolderSlot& folder = model.of(kImage).folder(1);
  EXPECT_EQ(Orders(folder), (std::vector<int>{2, 3, 1}));
  ASSERT_TRUE(RenumberItems(model, kImage, 1).changed);
  EXPECT_EQ(folder.items[2].targetName, "STIL0001.JPG");
  EXPECT_EQ(folder.items[0].targetName, "STIL0002.JPG");
  EXPECT_EQ(folder.items[1].targetName, "STIL0003.JPG");

  CardModel empty = LoadedModel(MediaKind::Document, {0});
  // Nothing to renumber is no change: the update stays off.
  EXPECT_FALSE(RenumberItems(empty, MediaKind::Document, 1).changed);
  EXPECT_FALSE(RenumberItems(model, kImage, 1).changed);
  EXPECT_FALSE(RenumberItems(empty, MediaKind::Document, 2).changed);
}

TEST(MoveItem, SwapsNeighboursAndIgnoresTheEnds) {
  CardModel model = LoadedModel(kImage, {4});
  ASSERT_TRUE(DeleteItem(model, kImage, 1, 2).changed);  // visible 1, 3, 4; deleted at 4
  FolderSlot& folder = model.of(kImage).folder(1);
  const std::vector<int> before = Orders(folder);

  EXPECT_FALSE(MoveItemUp(model, kImage, 1, 1).changed);
  EXPECT_FALSE(MoveItemUp(model, kImage, 1, 0).changed);
  // Row 3 is the last row; the deleted item behind it must not be pulled into the list.
  EXPECT_FALSE(MoveItemDown(model, kImage, 1, 3).changed);
  EXPECT_FALSE(MoveItemUp(model, kImage, 1, 4).changed);
  EXPECT_FALSE(MoveItemDown(model, kImage, 1, 0).changed);
  EXPECT_EQ(Orders(folder), before);

  ASSERT_TRUE(MoveItemDown(model, kImage, 1, 1).changed);
  EXPECT_EQ(ListedNames(folder),
            (std::vector<std::string>{"STIL0003.JPG", "STIL0001.JPG", "STIL0004.JPG"}));
  ASSERT_TRUE(MoveItemUp(model, kImage, 1, 3).changed);
  EXPECT_EQ(ListedNames(folder),
            (std::vector<std::string>{"STIL0003.JPG", "STIL0004.JPG", "STIL0001.JPG"}));
  EXPECT_ORDERS_HOLD(folder);
  // Moving renames nothing.
  for (const ItemRow& item : folder.items) EXPECT_EQ(item.targetName, item.sourceName);
}

TEST(StoreItemTitle, CutsAtAWholeCharacterAndSkipsTheBlankRow) {
  CardModel model = LoadedModel(kImage, {2});
  FolderSlot& folder = model.of(kImage).folder(1);
  ASSERT_TRUE(StoreItemTitle(model, kImage, 1, 2, "a" + Kana(40)).changed);
  EXPECT_EQ(folder.items[1].title, "a" + Kana(31));  // 63 bytes: the 32nd character would split
  ASSERT_TRUE(StoreItemTitle(model, kImage, 1, 1, Kana(32)).changed);
  EXPECT_EQ(folder.items[0].title, Kana(32));

  ASSERT_TRUE(DeleteItem(model, kImage, 1, 2).changed);
  // Row 2 now holds no visible item (the deleted one has order 2).
  EXPECT_FALSE(StoreItemTitle(model, kImage, 1, 2, "x").changed);
  EXPECT_EQ(folder.items[1].title, "a" + Kana(31));
}

// Random sequences of all four operations: after every step the orders keep their shape and
// the gauge has dropped by exactly the sizes of the items marked deleted.
TEST(ItemOperations, RandomSequencesKeepTheInvariants) {
  std::mt19937 random(20051);
  for (int round = 0; round < 200; ++round) {
    CardModel model = LoadedModel(kImage, {1 + static_cast<int>(random() % 12)});
    FolderSlot& folder = model.of(kImage).folder(1);
    for (std::size_t s = 0; s < folder.items.size(); ++s) {
      folder.items[s].size = 100 + static_cast<std::int64_t>(s);
    }
    const std::int64_t start = model.gauge.position();
    for (int step = 0; step < 30; ++step) {
      const int row = static_cast<int>(random() % 15) - 1;
      switch (random() % 5) {
        case 0:
          DeleteItem(model, kImage, 1, row);
          break;
        case 1:
          MoveItemUp(model, kImage, 1, row);
          break;
        case 2:
          MoveItemDown(model, kImage, 1, row);
          break;
        case 3:
          RenumberItems(model, kImage, 1);
          break;
        default:
          StoreItemTitle(model, kImage, 1, row, "t");
      }
      ASSERT_EQ(CheckOrderInvariants(folder), "") << "round " << round << " step " << step;
      std::int64_t deletedBytes = 0;
      for (const ItemRow& item : folder.items) deletedBytes += item.deleted ? item.size : 0;
      ASSERT_EQ(model.gauge.position(), start - deletedBytes);
    }
  }
}

}  // namespace
}  // namespace sdmate
