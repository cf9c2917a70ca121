// A kind page drawing a folder on its own, without a window or a card: rows in list order
// through the page's text function, the selection and the title fields, and none of the list's
// or the chooser's handlers run while it draws.
#include <QSignalSpy>

#include "core/card_model.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

ItemRow Item(int order, const char* name, const std::string& title, bool deleted = false) {
  ItemRow item;
  item.order = order;
  item.deleted = deleted;
  item.targetName = name;
  item.stamp = "2005:03:03 14:07:00";
  item.title = title;
  item.size = 1000 + order;
  return item;
}

// Shows card bytes in brackets, so that a text that skips the function shows.
QString Bracketed(std::string_view sjis) {
  return QStringLiteral("[%1]").arg(
      QString::fromLatin1(sjis.data(), static_cast<qsizetype>(sjis.size())));
}

class KindPageTest : public ::testing::Test {
 protected:
  KindPageTest()
      : page_(
            MediaKind::Image, [](std::string_view utf8) { return utf8.size(); }, Bracketed) {}

  std::vector<std::string> Row(int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < 4; ++column) {
      QTableWidgetItem* cell = page_.sg->item(row - 1, column);
      cells.push_back(cell == nullptr ? std::string() : cell->text().toStdString());
    }
    return cells;
  }

  KindPage page_;
};

TEST_F(KindPageTest, DrawsTheVisibleItemsInListOrderWithoutRunningTheHandlers) {
  FolderSlot folder;
  folder.folderTitle = "wall";
  // Slots out of list order; the deleted item is not drawn. 22 bytes are cut for the list.
  folder.items = {Item(2, "STIL0002.JPG", std::string(22, 'b')),
                  Item(3, "STIL0003.JPG", "gone", true), Item(1, "STIL0001.JPG", "one")};
  folder.deletedCount = 1;
  QSignalSpy rowChanges(page_.sg->selectionModel(), &QItemSelectionModel::currentRowChanged);
  QSignalSpy folderChanges(page_.sbFolder, &QComboBox::currentIndexChanged);
  page_.SelectRow(5);

  page_.FillFolderChooser(3, 2);
  page_.ShowFolder(folder);

  EXPECT_EQ(page_.ChosenFolder(), 2);
  EXPECT_EQ(page_.ItemRows(), 2);
  EXPECT_EQ(Row(1),
            (std::vector<std::string>{"[STIL0001.JPG]", "2005:03:03 14:07:00", "1001", "[one]"}));
  EXPECT_EQ(Row(2)[0], "[STIL0002.JPG]");
  EXPECT_EQ(Row(2)[3], Bracketed(ShortTitle(21, std::string(22, 'b'))).toStdString());
  EXPECT_EQ(page_.SelectedRow(), 1);
  EXPECT_EQ(page_.edTitle->text(), "[one]");
  EXPECT_EQ(page_.edFolderTitle->text(), "[wall]");
  EXPECT_FALSE(page_.btEdit->isEnabled());
  EXPECT_FALSE(page_.btEditFolder->isEnabled());
  EXPECT_EQ(rowChanges.count(), 0);
  EXPECT_EQ(folderChanges.count(), 0);

  // Redrawn as an empty folder: one blank row, nothing left of the rows before.
  folder.items.clear();
  folder.deletedCount = 0;
  page_.ShowFolder(folder);
  EXPECT_EQ(page_.ItemRows(), 1);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(page_.edTitle->text(), "");
  EXPECT_EQ(rowChanges.count(), 0);
}

TEST_F(KindPageTest, TheFolderChooserHoldsToTheFoldersThereAre) {
  page_.FillFolderChooser(3, 7);
  EXPECT_EQ(page_.sbFolder->count(), 3);
  EXPECT_EQ(page_.sbFolder->itemText(2), "3");
  EXPECT_EQ(page_.ChosenFolder(), 3);
  page_.FillFolderChooser(0, 1);
  EXPECT_EQ(page_.sbFolder->count(), 0);
  EXPECT_EQ(page_.ChosenFolder(), 0);

  // Rows are selected within the list.
  page_.SelectRow(0);
  EXPECT_EQ(page_.SelectedRow(), 1);
  page_.SelectRow(1000);
  EXPECT_EQ(page_.SelectedRow(), page_.ItemRows());
}

}  // namespace
}  // namespace sdmate::test
