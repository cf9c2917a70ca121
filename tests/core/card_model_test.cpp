// List titles, row lookup, the order invariants and the disk gauge.
#include "core/card_model.h"

#include <gtest/gtest.h>

#include "core/sjis.h"

namespace sdmate {
namespace {

std::string Kana(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\x82\xA0";  // あ
  return text;
}

TEST(ShortTitle, KeepsShortTitlesAndCutsAtWholeCharacters) {
  EXPECT_EQ(ShortTitle(21, std::string(21, 'a')), std::string(21, 'a'));
  EXPECT_EQ(ShortTitle(21, std::string(30, 'a')), std::string(19, 'a') + "\x81\x63");
  EXPECT_EQ(ShortTitle(21, std::string(22, 'a')), std::string(19, 'a') + "\x81\x63");
  // Twelve double-byte characters: nine survive, 20 bytes in all.
  EXPECT_EQ(ShortTitle(21, Kana(12)), Kana(9) + "\x81\x63");
  // A lead byte at position 18: that character is kept whole.
  EXPECT_EQ(ShortTitle(21, "a" + Kana(12)), "a" + Kana(9) + "\x81\x63");
  // A single byte at 18 followed by a lead byte at 19: cut before the lead byte.
  EXPECT_EQ(ShortTitle(21, std::string(18, 'a') + Kana(3)), std::string(18, 'a') + "\x81\x63");
  // Half-width katakana (A1-DF) are single bytes.
  EXPECT_EQ(ShortTitle(21, std::string(25, '\xB1')), std::string(19, '\xB1') + "\x81\x63");
}

TEST(Sjis, CutsNeverSplitACharacter) {
  EXPECT_EQ(CutAtCharBoundary("a" + Kana(3), 4), "a\x82\xA0");
  EXPECT_EQ(CutAtCharBoundary(Kana(3), 5), Kana(2));
  EXPECT_EQ(CutAtCharBoundary("abc", 64), "abc");
  EXPECT_EQ(ClassifyByte("a\x82\xA0", 1), ByteClass::Lead);
  EXPECT_EQ(ClassifyByte("a\x82\xA0", 2), ByteClass::Trail);
  // A trail byte that looks like a lead byte (0x82 0x82) is still a trail byte.
  EXPECT_EQ(ClassifyByte("\x82\x82\x82\xA0", 1), ByteClass::Trail);
  EXPECT_EQ(ClassifyByte("\x82\x82\x82\xA0", 2), ByteClass::Lead);
}

FolderSlot FolderWithOrders(std::initializer_list<std::pair<int, bool>> orders) {
  FolderSlot folder;
  for (auto [order, deleted] : orders) {
    ItemRow item;
    item.order = order;
    item.deleted = deleted;
    folder.items.push_back(item);
    if (deleted) ++folder.deletedCount;
  }
  return folder;
}

TEST(OrderInvariants, AcceptTheModelsShapeAndRejectBrokenOnes) {
  // Three items, the second deleted: orders 1, 3, 2.
  FolderSlot folder = FolderWithOrders({{1, false}, {3, true}, {2, false}});
  EXPECT_EQ(CheckOrderInvariants(folder), "");
  EXPECT_EQ(ItemAtRow(folder, 2), 2);
  EXPECT_EQ(ItemAtRow(folder, 4), -1);
  EXPECT_EQ(VisibleItemAtRow(folder, 3), nullptr);  // the deleted item is not a row
  EXPECT_EQ(VisibleItemAtRow(folder, 1), &folder.items[0]);

  EXPECT_NE(CheckOrderInvariants(FolderWithOrders({{1, false}, {1, false}})), "");
  EXPECT_NE(CheckOrderInvariants(FolderWithOrders({{1, true}, {2, false}})), "");
  EXPECT_NE(CheckOrderInvariants(FolderWithOrders({{1, false}, {3, false}})), "");
  FolderSlot miscounted = FolderWithOrders({{1, false}, {2, true}});
  miscounted.deletedCount = 0;
  EXPECT_NE(CheckOrderInvariants(miscounted), "");
}

TEST(CardModel, FolderNumbersCountFromOne) {
  CardModel model;
  KindState& movies = model.of(MediaKind::Movie);
  EXPECT_EQ(movies.nextFolderNumber(), 1);
  movies.folders.resize(3);
  movies.folder(3).folderTitle = "third";
  EXPECT_EQ(movies.nextFolderNumber(), 4);
  EXPECT_EQ(movies.folders[2].folderTitle, "third");
  EXPECT_FALSE(movies.hasFolder(0));
  EXPECT_TRUE(movies.hasFolder(3));
  EXPECT_EQ(CheckModelInvariants(model), "");
}

// Copies of the model share their folders until one of them changes a folder: the change is
// that copy's alone, and only the folder changed stops being shared.
TEST(CardModel, CopiesShareEachFolderUntilOneChangesIt) {
  CardModel model;
  KindState& images = model.of(MediaKind::Image);
  images.folders.resize(3);
  images.folder(2).folderTitle = "two";
  images.folder(2).items.push_back({.order = 1, .title = "kept"});
  const FolderList::Handle second = images.folders.handle(1);

  CardModel copy = model;
  const CardModel& reading = copy;
  EXPECT_EQ(reading.of(MediaKind::Image).folder(2).items[0].title, "kept");
  EXPECT_TRUE(copy.of(MediaKind::Image).folders.Holds(1, second));  // reading shares still

  copy.of(MediaKind::Image).folder(2).items[0].title = "changed";
  EXPECT_EQ(images.folder(2).items[0].title, "kept");
  EXPECT_EQ(copy.of(MediaKind::Image).folder(2).items[0].title, "changed");
  EXPECT_FALSE(copy.of(MediaKind::Image).folders.Holds(1, second));
  EXPECT_TRUE(copy.of(MediaKind::Image).folders.Holds(0, images.folders.handle(0)));

  // A folder no other copy holds is changed in place; one a handle keeps is copied first, and the
  // handle keeps what it kept.
  FolderSlot* own = &copy.of(MediaKind::Image).folder(2);
  EXPECT_EQ(&copy.of(MediaKind::Image).folder(2), own);
  images.folders.erase(1);
  images.folder(2).folderTitle = "was three";
  EXPECT_EQ(second->folderTitle, "two");
  EXPECT_EQ(model.of(MediaKind::Image).folderCount(), 2);
  EXPECT_EQ(copy.of(MediaKind::Image).folderCount(), 3);
  EXPECT_EQ(copy.of(MediaKind::Image).folder(3).folderTitle, "");
  EXPECT_FALSE(images.folders.Holds(5, second));
  EXPECT_FALSE(images.folders.Holds(0, nullptr));
}

TEST(ItemRow, OnCardComparesTheDriveLetters) {
  ItemRow item{.sourceDir = "E:\\\\SD_VIDEO\\PRL001\\", .targetDir = "E:\\\\SD_VIDEO\\"};
  EXPECT_TRUE(item.OnCard());
  item.sourceDir = "/home/u/";
  EXPECT_FALSE(item.OnCard());
}

TEST(DiskGauge, ClampsAndFormatsTheFreeSpace) {
  DiskGauge gauge;
  gauge.SetMaximum(0);
  EXPECT_EQ(gauge.maximum(), 0);
  gauge.SetMaximum(1000);
  gauge.SetPosition(1500);
  EXPECT_EQ(gauge.position(), 1000);
  gauge.SetMaximum(-5);  // ignored
  EXPECT_EQ(gauge.maximum(), 1000);
  gauge.SetMaximum(600);  // lowers the position with it
  EXPECT_EQ(gauge.position(), 600);
  gauge.Subtract(700);
  EXPECT_EQ(gauge.position(), 0);

  EXPECT_EQ(FreeSpaceText(5242880), "残り 5120.0 KB ");
  EXPECT_EQ(FreeSpaceText(1023), "残り 0.0 KB ");
  EXPECT_TRUE(IsLowSpace(1023));
  EXPECT_EQ(FreeSpaceText(1024000), "残り 1000.0 KB ");
  EXPECT_FALSE(IsLowSpace(1024000));
  EXPECT_EQ(FreeSpaceText(1023999), "残り 999.0 KB ");
  EXPECT_TRUE(IsLowSpace(1023999));
}

TEST(DiskGauge, LargeCardsAreScaledForTheWidget) {
  DiskGauge gauge;
  gauge.SetMaximum(8LL * 1024 * 1024 * 1024);
  gauge.SetPosition(6LL * 1024 * 1024 * 1024);
  EXPECT_GT(gauge.WidgetMaximum(), 0);
  EXPECT_EQ(gauge.WidgetPosition() * 4LL, gauge.WidgetMaximum() * 3LL);
  EXPECT_EQ(FreeSpaceText(gauge.freeBytes()), "残り 2097152.0 KB ");
}

}  // namespace
}  // namespace sdmate
