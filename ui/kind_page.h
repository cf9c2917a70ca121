// One tab of the main window: the folder chooser and title, the item title, the list and the
// item buttons of one kind, and how a folder of the model is drawn on them. The three tabs are
// this class built three times; the window's handlers take the kind and hand the page the
// folder to draw, so nothing here holds card data or knows a card rule.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "core/card_layout.h"
#include "ui/byte_limit_validator.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QStackedWidget;
class QPushButton;
class QTableWidget;

namespace sdmate {

class PictographPalette;
struct FolderSlot;
struct ItemRow;

// Card bytes (Shift-JIS) as the text a control shows.
using CardText = std::function<QString(std::string_view sjis)>;

class KindPage : public QWidget {
  Q_OBJECT

 public:
  // Rows of a list until the first load, its heading row included.
  static constexpr int kInitialRows = 64;
  // The height of a list row: the item's picture in the first column.
  static constexpr int kThumbnailRow = 48;
  // The first column: the picture and the name beside it ("PDFDC001.PDF" whole).
  static constexpr int kFirstColumn = 77 + kThumbnailRow + 6;

  // The picture of a row's item in the first column, from the window; urgent for a row the list
  // shows now. An empty icon while the picture is being made.
  using Decoration = std::function<QIcon(const ItemRow& item, bool urgent)>;
  void SetDecoration(Decoration decoration) { decoration_ = std::move(decoration); }

  // bytesOf counts a typed title in the card's bytes, for the title fields' limits; textOf
  // turns the card's titles and names into the texts shown.
  KindPage(MediaKind kind, const ByteCounter& bytesOf, CardText textOf, QWidget* parent = nullptr);

  MediaKind kind() const { return kind_; }

  // The controls carry the names of the standby-image tab without the kind as members, and
  // the full names ("sbMovieFolder", "btDelDocument") as object names.
  QComboBox* sbFolder;
  QLineEdit* edFolderTitle;
  PictographPalette* btPictFolder;  // pictographs for the folder title
  QPushButton* btEditFolder;
  QPushButton* btAddFolder;
  QPushButton* btDelFolder;
  QLineEdit* edTitle;
  PictographPalette* btPict;  // pictographs for the item title
  QPushButton* btEdit;
  QTableWidget* sg;
  // 表示: 一覧 (the list, a small picture in its first column) or 縮小版 (a grid of larger
  // pictures with their titles below). The grid shows the list's own rows and selection.
  QComboBox* cbView;
  QListView* lvGrid;
  QPushButton* btUp;
  QPushButton* btDown;
  QPushButton* btRen;
  QPushButton* btDel;
  QPushButton* btMove;  // 移動…: the selected items to another folder of the kind
  QPushButton* btAdd;
  // Under the add button of the image and movie pages (nullptr on the document page): files
  // added or dropped are fitted to the handset; checked at the start.
  QCheckBox* cbFit = nullptr;
  QPushButton* btExport;  // copies the shown folder's items to a folder of the computer
  QFrame* iconPanel;

  // The list row shown as selected, counted as the handset counts list rows: 1 is the first
  // item, 0 when nothing is selected.
  int SelectedRow() const;
  // Every selected row (from 1, in order); the current row when the selection is empty.
  std::vector<int> SelectedRows() const;
  // Rows of items (the heading row not counted).
  int ItemRows() const;
  // The folder picked in the folder chooser, from 1; 0 while the chooser is empty.
  int ChosenFolder() const;

  // Drawing a folder. None of these runs the window's handlers of the list or the chooser;
  // filling a title field does run its change handler, which is why each one turns the
  // field's button off afterwards.

  // Fills the folder chooser with 1 .. folderCount and picks folder `select` (the last one when
  // there are fewer).
  void FillFolderChooser(int folderCount, int select);
  // The folder switch: row count, folder title, rows; the selection goes to row 1 and the item
  // title field shows its item.
  void ShowFolder(const FolderSlot& folder);
  // Row count of a folder: one blank row for a folder without visible items.
  void SizeItemList(const FolderSlot& folder);
  // Writes the rows of a folder's items; keeps the row count and the selection.
  void RedrawItemList(const FolderSlot& folder);
  // Selects a row (from 1, held to the rows there are).
  void SelectRow(int row);
  // Selects the rows first..last (from 1), the current row on first.
  void SelectRows(int first, int last);
  // The row under a point of the window (global coordinates) in the list or grid shown, from 1;
  // past the last row, the last row.
  int RowAt(QPoint globalPoint) const;
  // Whether a widget is this page's list or grid, or inside one.
  bool IsListWidget(const QWidget* widget) const;
  // The item title field shows an item's title, or nothing for a blank row.
  void ShowTitle(const ItemRow* item);

 signals:
  void EnterInList();
  void OpenKeyInList();
  void EnterInTitle();
  void EnterInFolderTitle();
  // The pointer moved far enough with the left button held on the list: a drag out begins.
  void DragFromList();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WatchDrag(QEvent* event);

  MediaKind kind_;
  CardText textOf_;
  Decoration decoration_;
  QStackedWidget* views_;
  QPoint pressedAt_;
  bool pressed_ = false;
};

}  // namespace sdmate
