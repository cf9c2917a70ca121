// One tab of the main window and how it draws a folder.
#include "ui/kind_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/card_model.h"
#include "core/content_table.h"
#include "ui/artwork.h"
#include "ui/pictograph_palette.h"
#include "ui/window_fonts.h"

namespace sdmate {
namespace {

// The first column holds the item's picture beside its name.
constexpr int kColumnWidths[4] = {KindPage::kFirstColumn, 119, 55, 134};
constexpr int kRowHeight = 16;
// Bytes of a title the list shows before it cuts the title off.
constexpr int kListTitleBytes = 21;

QString Name(const char* before, const KindTraits& traits, const char* after = "") {
  return QString::fromLatin1(before) + QString::fromLatin1(traits.controlSuffix) +
         QString::fromLatin1(after);
}

// A button at least of the Parts' size, wider where its caption needs it.
QPushButton* Button(QWidget* parent, const QString& name, const char* caption, QSize least) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setMinimumSize(least);
  button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  button->setEnabled(false);
  return button;
}

QLabel* Label(QWidget* parent, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setMinimumHeight(16);
  return label;
}

// The grid's cells: the item's picture from the list's first column, its title below it.
class TitleBelow : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = index.siblingAtColumn(3).data().toString();
    option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
  }
};

// The grid's picture size.
constexpr int kGridPicture = 96;

void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
  QTableWidgetItem* cell = grid->item(row, column);
  if (cell == nullptr) {
    grid->setItem(row, column, new QTableWidgetItem(text));
  } else {
    cell->setText(text);
  }
}

}  // namespace

KindPage::KindPage(MediaKind kind, const ByteCounter& bytesOf, CardText textOf, QWidget* parent)
    : QWidget(parent), kind_(kind), textOf_(std::move(textOf)) {
  const KindTraits& traits = TraitsOf(kind);
  setObjectName(Name("ts", traits));

  QLabel* folderLabel = Label(this, "フォルダ番号");
  sbFolder = new QComboBox(this);
  sbFolder->setObjectName(Name("sb", traits, "Folder"));
  sbFolder->setEditable(false);  // a folder is picked, never typed
  sbFolder->setMinimumSize(73, 22);

  QLabel* folderTitleLabel = Label(this, "フォルダタイトル");
  edFolderTitle = new QLineEdit(this);
  edFolderTitle->setObjectName(Name("ed", traits, "FolderTitle"));
  edFolderTitle->setMinimumSize(160, 22);
  edFolderTitle->setValidator(new ByteLimitValidator(bytesOf, kHeaderTitleRead, edFolderTitle));
  btPictFolder = new PictographPalette(edFolderTitle, this);
  btPictFolder->setFixedSize(24, 22);
  btEditFolder = Button(this, Name("btEdit", traits, "Folder"), "修正(&K)", {48, 24});
  btAddFolder = Button(this, Name("btAdd", traits, "Folder"), "フォルダ追加(&F)", {84, 24});
  btDelFolder = Button(this, Name("btDel", traits, "Folder"), "フォルダ削除(&G)", {84, 24});

  QLabel* titleLabel = Label(this, traits.titleLabel);
  edTitle = new QLineEdit(this);
  edTitle->setObjectName(Name("ed", traits, "Title"));
  edTitle->setMinimumSize(240, 22);
  edTitle->setValidator(new ByteLimitValidator(bytesOf, kEntryTitleField, edTitle));
  btPict = new PictographPalette(edTitle, this);
  btPict->setFixedSize(24, 22);
  btEdit = Button(this, Name("btEdit", traits), "修正(&M)", {48, 24});

  sg = new QTableWidget(KindPage::kInitialRows - 1, 4, this);
  sg->setObjectName(Name("sg", traits));
  // The Parts' list is the smallest; a larger window gives the list the room.
  sg->setMinimumSize(406, 504);
  sg->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  sg->setFont(ListFont());
  sg->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Several rows may be selected for a delete; the arrows move inside, Tab leaves the list.
  sg->setSelectionMode(QAbstractItemView::ExtendedSelection);
  sg->setTabKeyNavigation(false);
  sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sg->setWordWrap(false);
  sg->setTextElideMode(Qt::ElideNone);
  sg->verticalHeader()->hide();
  sg->verticalHeader()->setMinimumSectionSize(kRowHeight);
  sg->verticalHeader()->setDefaultSectionSize(kThumbnailRow);
  sg->setIconSize(QSize(kThumbnailRow - 2, kThumbnailRow - 2));
  sg->horizontalHeader()->setHighlightSections(false);
  sg->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // The title column takes the width the list gains.
  sg->horizontalHeader()->setStretchLastSection(true);
  sg->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  sg->setHorizontalHeaderLabels({QStringLiteral("ファイル名"), QStringLiteral("時刻"),
                                 QStringLiteral("サイズ"), QStringLiteral("タイトル")});
  for (int column = 0; column < 4; ++column) sg->setColumnWidth(column, kColumnWidths[column]);

  lvGrid = new QListView(this);
  lvGrid->setObjectName(Name("lv", traits, "Grid"));
  lvGrid->setModel(sg->model());
  lvGrid->setSelectionModel(sg->selectionModel());
  lvGrid->setModelColumn(0);
  lvGrid->setViewMode(QListView::IconMode);
  lvGrid->setMovement(QListView::Static);
  lvGrid->setResizeMode(QListView::Adjust);
  lvGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvGrid->setIconSize(QSize(kGridPicture, kGridPicture));
  lvGrid->setGridSize(QSize(kGridPicture + 28, kGridPicture + 36));
  lvGrid->setUniformItemSizes(true);
  lvGrid->setWordWrap(true);
  lvGrid->setItemDelegate(new TitleBelow(lvGrid));
  views_ = new QStackedWidget(this);
  views_->addWidget(sg);
  views_->addWidget(lvGrid);
  views_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  cbView = new QComboBox(this);
  cbView->setObjectName(Name("cbView", traits));
  cbView->addItems({QStringLiteral("一覧"), QStringLiteral("縮小版")});
  cbView->setToolTip(QStringLiteral("表示"));
  connect(cbView, &QComboBox::currentIndexChanged, views_, &QStackedWidget::setCurrentIndex);
  connect(lvGrid, &QListView::doubleClicked, this, &KindPage::OpenKeyInList);
  connect(lvGrid, &QListView::activated, this, [this] {
    // Enter in the grid goes to the title field, as in the list.
    if (QApplication::keyboardModifiers() == Qt::NoModifier) emit EnterInList();
  });

  iconPanel = new QFrame(this);
  iconPanel->setFixedSize(40, 40);
  iconPanel->setFrameShape(QFrame::Panel);
  iconPanel->setFrameShadow(QFrame::Sunken);
  iconPanel->setAutoFillBackground(true);
  iconPanel->setStyleSheet(QStringLiteral("background: white;"));
  auto* icon = new QLabel(iconPanel);
  icon->setObjectName(Name("im", traits, "Icon"));
  icon->setPixmap(KindIconPixmap(kind));
  icon->setAlignment(Qt::AlignCenter);
  (new QVBoxLayout(iconPanel))->addWidget(icon);
  iconPanel->layout()->setContentsMargins(2, 2, 2, 2);

  btUp = Button(this, Name("btUp", traits), "上へ(&U)", {76, 26});
  btDown = Button(this, Name("btDown", traits), "下へ(&N)", {76, 26});
  btRen = Button(this, Name("btRen", traits), "リナンバ(&R)", {76, 26});
  btDel = Button(this, Name("btDel", traits), "削除(&D)", {76, 26});
  btMove = Button(this, Name("btMove", traits), "移動(&V)…", {76, 26});
  btMove->setToolTip(QStringLiteral("選んでいる項目を別のフォルダへ移します"));
  btAdd = Button(this, Name("btAdd", traits), "追加(&A)", {76, 26});
  if (kind != MediaKind::Document) {
    // The caption in three lines a pixel smaller than the window's: the column beside the list
    // is 80 pixels wide.
    cbFit = new QCheckBox(QStringLiteral("携帯電話に\n合わせて\n変換する"), this);
    cbFit->setObjectName(Name("cbFit", traits));
    QFont small = WindowFont();
    small.setPixelSize(kFontPixels - 1);
    cbFit->setFont(small);
    cbFit->setMinimumSize(80, 50);
    cbFit->setChecked(true);
    cbFit->setToolTip(kind == MediaKind::Image
                          ? QStringLiteral("240×320 以内・100KB 以下の JPEG に変換して追加します")
                          : QStringLiteral("176×144・300KB 以下の 3GP に変換して追加します"));
  }
  btExport = Button(this, Name("btExport", traits), "書き出し(&E)", {76, 26});

  // The arrangement: the folder and title rows on a grid whose field column stretches, the
  // list below with the item buttons beside it. The list takes every pixel the page gains.
  auto* fields = new QGridLayout;
  fields->setContentsMargins(0, 0, 0, 0);
  fields->setHorizontalSpacing(4);
  fields->setVerticalSpacing(0);
  fields->addWidget(folderLabel, 0, 0);
  fields->addWidget(folderTitleLabel, 0, 1, 1, 3);
  fields->addWidget(btAddFolder, 0, 4, 2, 1, Qt::AlignTop);
  fields->addWidget(sbFolder, 1, 0);
  fields->addWidget(edFolderTitle, 1, 1);
  fields->addWidget(btPictFolder, 1, 2);
  fields->addWidget(btEditFolder, 1, 3);
  fields->setRowMinimumHeight(2, 6);
  fields->addWidget(titleLabel, 3, 0, 1, 4);
  fields->addWidget(btDelFolder, 2, 4, 2, 1, Qt::AlignTop);
  fields->addWidget(edTitle, 4, 0, 1, 2);
  fields->addWidget(btPict, 4, 2);
  fields->addWidget(btEdit, 4, 3);
  auto* viewRow = new QHBoxLayout;
  viewRow->setSpacing(4);
  viewRow->addWidget(Label(this, "表示"));
  viewRow->addWidget(cbView, 1);
  fields->addLayout(viewRow, 4, 4);
  fields->setColumnStretch(1, 1);

  auto* buttons = new QVBoxLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(4);
  buttons->addWidget(iconPanel, 0, Qt::AlignHCenter);
  buttons->addSpacing(8);
  for (QPushButton* button : {btUp, btDown}) buttons->addWidget(button);
  buttons->addSpacing(10);
  buttons->addWidget(btRen);
  buttons->addSpacing(10);
  buttons->addWidget(btDel);
  buttons->addWidget(btMove);
  buttons->addSpacing(10);
  buttons->addWidget(btAdd);
  buttons->addSpacing(10);
  if (cbFit != nullptr) buttons->addWidget(cbFit);
  buttons->addSpacing(6);
  buttons->addWidget(btExport);
  buttons->addStretch(1);

  auto* listRow = new QHBoxLayout;
  listRow->setContentsMargins(0, 0, 0, 0);
  listRow->setSpacing(6);
  listRow->addWidget(views_, 1);
  listRow->addLayout(buttons);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(8, 6, 8, 8);
  page->setSpacing(8);
  page->addLayout(fields);
  page->addLayout(listRow, 1);

  // Dropped files go to the window, which stages them only when they land on the list; the
  // fields would otherwise take a dropped name as text.
  edFolderTitle->setAcceptDrops(false);
  edTitle->setAcceptDrops(false);

  // 表示 sits beside the title row: Tab reaches it before the list.
  QWidget::setTabOrder(btEdit, cbView);

  sg->installEventFilter(this);
  sg->viewport()->installEventFilter(this);
  lvGrid->viewport()->installEventFilter(this);
  edTitle->installEventFilter(this);
  edFolderTitle->installEventFilter(this);
}

int KindPage::SelectedRow() const { return sg->currentRow() + 1; }

std::vector<int> KindPage::SelectedRows() const {
  std::vector<int> rows;
  // The grid selects a row's first cell only; the list selects whole rows.
  for (const QModelIndex& index : sg->selectionModel()->selectedIndexes()) {
    rows.push_back(index.row() + 1);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty() && SelectedRow() > 0) rows.push_back(SelectedRow());
  return rows;
}

int KindPage::ItemRows() const { return sg->rowCount(); }

int KindPage::ChosenFolder() const { return sbFolder->currentIndex() + 1; }

void KindPage::FillFolderChooser(int folderCount, int select) {
  const QSignalBlocker blocker(sbFolder);
  sbFolder->clear();
  for (int n = 1; n <= folderCount; ++n) sbFolder->addItem(QString::number(n));
  sbFolder->setCurrentIndex(std::min(select, folderCount) - 1);
}

void KindPage::ShowFolder(const FolderSlot& folder) {
  SizeItemList(folder);
  // Filling the field enables its button; the stored title is shown with the button off.
  edFolderTitle->setText(textOf_(folder.folderTitle));
  RedrawItemList(folder);
  btEditFolder->setEnabled(false);
  // The item title field follows the selection, so it never offers another folder's title.
  SelectRow(1);
  ShowTitle(VisibleItemAtRow(folder, SelectedRow()));
}

void KindPage::SizeItemList(const FolderSlot& folder) {
  const QSignalBlocker blocker(sg->selectionModel());
  sg->setRowCount(std::max(folder.visibleCount(), 1));
}

void KindPage::RedrawItemList(const FolderSlot& folder) {
  const int visible = folder.visibleCount();
  // The rows in sight get their pictures first; a list not laid out yet shows its first rows.
  const int firstShown = std::max(sg->rowAt(0), 0) + 1;
  const int lastShown =
      std::max(sg->rowAt(sg->viewport()->height() - 1) + 1, firstShown + kInitialRows / 4);
  for (int row = 1; row <= visible && row <= sg->rowCount(); ++row) {
    const int slot = ItemAtRow(folder, row);
    if (slot < 0) continue;
    const ItemRow& item = folder.items[static_cast<std::size_t>(slot)];
    SetCell(sg, row - 1, 0, textOf_(item.targetName));
    SetCell(sg, row - 1, 1, QString::fromStdString(item.stamp));
    SetCell(sg, row - 1, 2, QString::number(item.size));
    SetCell(sg, row - 1, 3, textOf_(ShortTitle(kListTitleBytes, item.title)));
    if (decoration_) {
      sg->item(row - 1, 0)->setIcon(decoration_(item, row >= firstShown && row <= lastShown));
    }
  }
  // A folder without visible items shows one blank row.
  if (visible == 0 && sg->rowCount() > 0) {
    for (int column = 0; column < 4; ++column) SetCell(sg, 0, column, QString());
    sg->item(0, 0)->setIcon(QIcon());
  }
}

void KindPage::SelectRow(int row) {
  row = std::clamp(row, 1, std::max(sg->rowCount(), 1));
  const QSignalBlocker blocker(sg->selectionModel());
  sg->setCurrentCell(row - 1, 0);
  sg->viewport()->update();
}

void KindPage::SelectRows(int first, int last) {
  const int rows = std::max(sg->rowCount(), 1);
  first = std::clamp(first, 1, rows);
  last = std::clamp(last, first, rows);
  const QSignalBlocker blocker(sg->selectionModel());
  sg->setCurrentCell(first - 1, 0);
  sg->clearSelection();
  sg->setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, sg->columnCount() - 1),
                       true);
  sg->viewport()->update();
}

int KindPage::RowAt(QPoint globalPoint) const {
  if (views_->currentWidget() == lvGrid) {
    const QModelIndex index = lvGrid->indexAt(lvGrid->viewport()->mapFromGlobal(globalPoint));
    return index.isValid() ? index.row() + 1 : sg->rowCount();
  }
  const int row = sg->rowAt(sg->viewport()->mapFromGlobal(globalPoint).y());
  return row < 0 ? sg->rowCount() : row + 1;
}

bool KindPage::IsListWidget(const QWidget* widget) const {
  for (; widget != nullptr && widget != this; widget = widget->parentWidget()) {
    if (widget == sg || widget == lvGrid) return true;
  }
  return false;
}

void KindPage::ShowTitle(const ItemRow* item) {
  // Filling the field enables its button; right after a selection it is off again.
  if (item != nullptr) {
    edTitle->setText(textOf_(item->title));
  } else {
    edTitle->clear();
  }
  btEdit->setEnabled(false);
}

bool KindPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sg->viewport() || watched == lvGrid->viewport()) {
    WatchDrag(event);
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if ((watched == sg || watched == lvGrid) && enter) {
    emit EnterInList();
    return true;
  }
  if (watched == sg && key == Qt::Key_F4) {
    emit OpenKeyInList();
    return true;
  }
  if (watched == edTitle && enter) {
    emit EnterInTitle();
    return true;
  }
  if (watched == edFolderTitle && enter) {
    emit EnterInFolderTitle();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void KindPage::WatchDrag(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseMove)
    return;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  switch (type) {
    case QEvent::MouseButtonPress:
      pressed_ = mouse->button() == Qt::LeftButton;
      pressedAt_ = mouse->position().toPoint();
      break;
    case QEvent::MouseButtonRelease:
      pressed_ = false;
      break;
    case QEvent::MouseMove:
      if (pressed_ && (mouse->buttons() & Qt::LeftButton) &&
          (mouse->position().toPoint() - pressedAt_).manhattanLength() >=
              QApplication::startDragDistance()) {
        pressed_ = false;
        emit DragFromList();
      }
      break;
    default:
      break;
  }
}

}  // namespace sdmate
