// The main window's handlers of the kind pages: the folders, the item lists and buttons, and
// files added with the dialog or dropped on a list.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include "ui/camera_page.h"
#include "ui/folder_picker.h"
#include "ui/open_files_dialog.h"
#include "ui/pictograph_palette.h"
#include "ui/preview.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

// Marks a drag of an item out of a list: dropped back on the window it is no file to add (it
// would stage the card's own file again).
const QString kOwnDrag = QStringLiteral("application/x-sdmate-item");

// The items a drag out of a list carries: the kind, the folder and the rows.
struct DraggedItems {
  MediaKind kind = MediaKind::Image;
  int folder = 0;
  std::vector<int> rows;
};

QByteArray EncodeItems(const DraggedItems& items) {
  QByteArray bytes = QByteArray::number(static_cast<int>(IndexOf(items.kind))) + ' ' +
                     QByteArray::number(items.folder);
  for (int row : items.rows) bytes += ' ' + QByteArray::number(row);
  return bytes;
}

std::optional<DraggedItems> DecodeItems(const QMimeData& data) {
  const QList<QByteArray> words = data.data(kOwnDrag).split(' ');
  if (words.size() < 3) return std::nullopt;
  std::vector<int> numbers;
  for (const QByteArray& word : words) {
    bool ok = false;
    numbers.push_back(word.toInt(&ok));
    if (!ok) return std::nullopt;
  }
  if (numbers[0] < 0 || numbers[0] >= static_cast<int>(kAllKinds.size())) return std::nullopt;
  return DraggedItems{kAllKinds[static_cast<std::size_t>(numbers[0])], numbers[1],
                      std::vector<int>(numbers.begin() + 2, numbers.end())};
}

// Rows that follow one another without a gap.
bool Contiguous(const std::vector<int>& rows) {
  return !rows.empty() && rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
}

// The local files of a drag from outside, as native paths in the order they were dragged.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls() || data->hasFormat(kOwnDrag)) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile())
      paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace

void TfrMain::ConnectPage(KindPage& page) {
  const MediaKind kind = page.kind();
  auto on = [this, kind](void (TfrMain::*handler)(MediaKind)) {
    return [this, kind, handler] { (this->*handler)(kind); };
  };
  connect(page.sg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          on(&TfrMain::sgClick));
  // A click on the row already selected shows its item again.
  connect(page.sg, &QTableWidget::cellClicked, this, on(&TfrMain::sgClick));
  connect(page.sg, &QTableWidget::cellDoubleClicked, this, on(&TfrMain::sgDblClick));
  connect(&page, &KindPage::OpenKeyInList, this, on(&TfrMain::sgDblClick));
  connect(&page, &KindPage::EnterInList, this, on(&TfrMain::sgEnter));
  connect(page.edTitle, &QLineEdit::textChanged, this, on(&TfrMain::edTitleChange));
  connect(&page, &KindPage::EnterInTitle, this, on(&TfrMain::edTitleEnter));
  connect(page.btEdit, &QPushButton::clicked, this, on(&TfrMain::btEditClick));
  connect(page.btDel, &QPushButton::clicked, this, on(&TfrMain::btDelClick));
  connect(page.btMove, &QPushButton::clicked, this, on(&TfrMain::btMoveClick));
  // The title field edits one item: it is off while several are selected.
  connect(page.sg->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          on(&TfrMain::sgClick));
  connect(page.btRen, &QPushButton::clicked, this, on(&TfrMain::btRenClick));
  connect(page.btUp, &QPushButton::clicked, this, on(&TfrMain::btUpClick));
  connect(page.btDown, &QPushButton::clicked, this, on(&TfrMain::btDownClick));
  connect(page.sbFolder, &QComboBox::currentIndexChanged, this, on(&TfrMain::sbFolderChange));
  connect(page.btAddFolder, &QPushButton::clicked, this, on(&TfrMain::btAddFolderClick));
  connect(page.btDelFolder, &QPushButton::clicked, this, on(&TfrMain::btDelFolderClick));
  connect(page.edFolderTitle, &QLineEdit::textChanged, this, on(&TfrMain::edFolderTitleChange));
  connect(&page, &KindPage::EnterInFolderTitle, this, on(&TfrMain::btEditFolderClick));
  connect(page.btEditFolder, &QPushButton::clicked, this, on(&TfrMain::btEditFolderClick));
  connect(page.btAdd, &QPushButton::clicked, this, on(&TfrMain::btAddClick));
  if (page.cbFit != nullptr) {
    // A build or a run without the kind's fitter stages files as they are.
    if (!session_.CanFit(kind)) {
      page.cbFit->setChecked(false);
      page.cbFit->setEnabled(false);
    }
    cbFitClick(kind);
    connect(page.cbFit, &QCheckBox::toggled, this, on(&TfrMain::cbFitClick));
  }
  connect(page.btExport, &QPushButton::clicked, this, on(&TfrMain::btExportClick));
  connect(&page, &KindPage::DragFromList, this, on(&TfrMain::sgDragOut));
  page.SetDecoration(
      [this, kind](const ItemRow& item, bool urgent) { return ThumbnailIcon(kind, item, urgent); });
}

// ---- Folders

int TfrMain::ShownFolder(MediaKind kind) const {
  const int n = pages_[IndexOf(kind)]->ChosenFolder();
  return session_.model().of(kind).hasFolder(n) ? n : 0;
}

const FolderSlot* TfrMain::ShownSlot(MediaKind kind) const {
  const int n = ShownFolder(kind);
  return n == 0 ? nullptr : &session_.model().of(kind).folder(n);
}

void TfrMain::ShowFolders(MediaKind kind, int select) {
  page(kind).FillFolderChooser(session_.model().of(kind).folderCount(), select);
  sbFolderChange(kind);
}

void TfrMain::sbFolderChange(MediaKind kind) {
  const FolderSlot* folder = ShownSlot(kind);
  if (folder == nullptr) return;
  page(kind).ShowFolder(*folder);
  sgClick(kind);
}

void TfrMain::btAddFolderClick(MediaKind kind) {
  const int added = session_.AddFolder(kind);
  if (added == 0) return;
  ShowFolders(kind, added);
  ShowUpdateDue();
}

void TfrMain::btDelFolderClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0) return;
  const FolderDeleteResult result = session_.DeleteFolder(kind, n);
  if (!result.deleted) return;
  ShowFolders(kind, result.folderToShow);
  ShowDiskSpace();
  ShowUpdateDue();
}

void TfrMain::edFolderTitleChange(MediaKind kind) { page(kind).btEditFolder->setEnabled(true); }

void TfrMain::btEditFolderClick(MediaKind kind) {
  KindPage& shown = page(kind);
  const int n = ShownFolder(kind);
  if (n != 0) session_.StoreFolderTitle(kind, n, shown.edFolderTitle->text().toStdString());
  shown.btEditFolder->setEnabled(false);
  ShowUpdateDue();
}

// ---- Item lists

const ItemRow* TfrMain::SelectedItem(MediaKind kind) {
  const FolderSlot* folder = ShownSlot(kind);
  if (folder == nullptr) return nullptr;
  return VisibleItemAtRow(*folder, page(kind).SelectedRow());
}

void TfrMain::SelectRowAndShow(MediaKind kind, int row) {
  page(kind).SelectRow(row);
  sgClick(kind);
}

void TfrMain::sgClick(MediaKind kind) {
  KindPage& shown = page(kind);
  const bool several = shown.SelectedRows().size() > 1;
  shown.ShowTitle(several ? nullptr : SelectedItem(kind));
  shown.edTitle->setEnabled(!several);
  shown.btPict->setEnabled(!several);
  if (kind == FrontKind()) ShowFrontPreview();
}

MediaKind TfrMain::FrontKind() const {
  for (MediaKind kind : kAllKinds) {
    if (pcMain->currentWidget() == pages_[IndexOf(kind)]) return kind;
  }
  return MediaKind::Image;
}

void TfrMain::RedrawShownFolder(MediaKind kind, int row) {
  const FolderSlot* folder = ShownSlot(kind);
  if (folder == nullptr) return;
  KindPage& shown = page(kind);
  if (row == 0) row = shown.SelectedRow();
  shown.SizeItemList(*folder);
  shown.RedrawItemList(*folder);
  SelectRowAndShow(kind, row);
}

void TfrMain::sgDblClick(MediaKind kind) {
  const ItemRow* item = SelectedItem(kind);
  if (item == nullptr) return;
  const std::string path = NativePath(item->sourceDir + item->sourceName);
  if (!path.empty()) opener_(path);
}

void TfrMain::sgEnter(MediaKind kind) { page(kind).edTitle->setFocus(); }

void TfrMain::edTitleChange(MediaKind kind) { page(kind).btEdit->setEnabled(true); }

void TfrMain::btEditClick(MediaKind kind) {
  KindPage& shown = page(kind);
  const int n = ShownFolder(kind);
  if (SelectedItem(kind) != nullptr) {
    session_.StoreItemTitle(kind, n, shown.SelectedRow(), shown.edTitle->text().toStdString());
    shown.RedrawItemList(*ShownSlot(kind));
  }
  shown.btEdit->setEnabled(false);
  ShowUpdateDue();
  shown.sg->setFocus();
}

void TfrMain::edTitleEnter(MediaKind kind) {
  btEditClick(kind);
  KindPage& shown = page(kind);
  const int row = shown.SelectedRow();
  if (row >= 1 && row < shown.ItemRows()) SelectRowAndShow(kind, row + 1);
  // The focus stays in the field, with the next title ready to be typed over.
  shown.edTitle->setFocus();
  shown.edTitle->selectAll();
}

// ---- Item buttons

void TfrMain::btDelClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0) return;
  const std::vector<int> rows = page(kind).SelectedRows();
  if (rows.empty() || !session_.DeleteItems(kind, n, rows).changed) return;
  // The first row stays; it now shows the item after the deleted ones (or the new last one).
  RedrawShownFolder(kind, rows.front());
  ShowDiskSpace();
  ShowUpdateDue();
}

void TfrMain::btRenClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0) return;
  session_.RenumberItems(kind, n);
  RedrawShownFolder(kind);
  ShowUpdateDue();
}

void TfrMain::btUpClick(MediaKind kind) { MoveSelectedItem(kind, -1); }

void TfrMain::btDownClick(MediaKind kind) { MoveSelectedItem(kind, +1); }

void TfrMain::MoveSelectedItem(MediaKind kind, int step) {
  const int n = ShownFolder(kind);
  if (n == 0) return;
  const std::vector<int> rows = page(kind).SelectedRows();
  if (rows.size() > 1) {
    // A block of rows moves as one; rows with gaps between them stay where they are.
    if (!Contiguous(rows) || !session_.MoveRows(kind, n, rows.front(), rows.back(), step).changed)
      return;
    RedrawShownFolder(kind, rows.front() + step);
    page(kind).SelectRows(rows.front() + step, rows.back() + step);
    sgClick(kind);
    ShowUpdateDue();
    return;
  }
  const int row = page(kind).SelectedRow();
  const EditResult result =
      step < 0 ? session_.MoveItemUp(kind, n, row) : session_.MoveItemDown(kind, n, row);
  if (!result.changed) return;
  // The selection follows the moved item.
  RedrawShownFolder(kind, row + step);
  ShowUpdateDue();
}

void TfrMain::SetMoveFolderChooser(std::unique_ptr<MoveFolderChooser> chooser) {
  moveChooser_ = std::move(chooser);
}

void TfrMain::btMoveClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0 || SelectedItem(kind) == nullptr) return;
  const QPushButton* button = page(kind).btMove;
  MoveRowsToFolder(kind, n, page(kind).SelectedRows(),
                   button->mapToGlobal(QPoint(0, button->height())));
}

void TfrMain::MoveRowsToFolder(MediaKind kind, int folder, const std::vector<int>& rows,
                               QPoint at) {
  const KindState& state = session_.model().of(kind);
  std::vector<MoveTarget> targets;
  for (int n = 1; n <= state.folderCount(); ++n) {
    if (n == folder) continue;
    const FolderSlot& slot = state.folder(n);
    targets.push_back({n, QStringLiteral("%1  %2 (%3 件)")
                              .arg(n)
                              .arg(QString::fromStdString(session_.ToUtf8(slot.folderTitle)))
                              .arg(slot.visibleCount())});
  }
  if (targets.empty() || rows.empty()) return;
  const int to = moveChooser_->Choose(this, targets, at);
  if (to == 0 || !session_.MoveItems(kind, folder, rows, to).changed) return;
  // The shown folder stays; its first moved row now shows the item after the moved ones.
  RedrawShownFolder(kind, rows.front());
  ShowStatus("フォルダ " + std::to_string(to) + " へ移動しました（" + std::to_string(rows.size()) +
             " 件）");
  ShowUpdateDue();
}

std::optional<MediaKind> TfrMain::ChooserAt(QPoint point) const {
  for (const QWidget* widget = childAt(point); widget != nullptr && widget != this;
       widget = widget->parentWidget()) {
    for (MediaKind kind : kAllKinds) {
      if (widget == pages_[IndexOf(kind)]->sbFolder) return kind;
    }
  }
  return std::nullopt;
}

bool TfrMain::DropItemsAt(QPoint point, const QMimeData& dragged) {
  const std::optional<DraggedItems> items = DecodeItems(dragged);
  if (!items.has_value() || ShownFolder(items->kind) != items->folder) return false;
  const MediaKind kind = items->kind;
  KindPage& shown = page(kind);
  if (ChooserAt(point) == kind) {
    MoveRowsToFolder(kind, items->folder, items->rows, mapToGlobal(point));
    return true;
  }
  if (ListAt(point) != kind) return false;
  // Dropped on its own list: the block takes the rows from the one under the point on.
  const std::vector<int>& rows = items->rows;
  if (!Contiguous(rows)) return true;
  const int visible = ShownSlot(kind)->visibleCount();
  const int target = std::min(shown.RowAt(mapToGlobal(point)), std::max(visible, 1));
  const int step = target < rows.front()  ? target - rows.front()
                   : target > rows.back() ? target - rows.back()
                                          : 0;
  if (step == 0 || !session_.MoveRows(kind, items->folder, rows.front(), rows.back(), step).changed)
    return true;
  RedrawShownFolder(kind, rows.front() + step);
  shown.SelectRows(rows.front() + step, rows.back() + step);
  sgClick(kind);
  ShowUpdateDue();
  return true;
}

// ---- Adding and dropping files

void TfrMain::SetOpenFilesDialog(std::unique_ptr<OpenFilesDialog> dialog) {
  openFiles_ = std::move(dialog);
}

void TfrMain::btAddClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0 || !session_.PrepareAdd(kind)) return;
  const std::vector<std::string> paths =
      openFiles_->Choose(this, session_.AddDialogFilter(kind), kind);
  if (paths.empty()) return;
  session_.AddFiles(kind, n, paths);
  ShowStagedFiles(kind);
}

void TfrMain::cbFitClick(MediaKind kind) { session_.SetFit(kind, page(kind).cbFit->isChecked()); }

std::optional<MediaKind> TfrMain::ListAt(QPoint point) const {
  // The grid's heading row, scroll bar and viewport are widgets inside it.
  for (const QWidget* widget = childAt(point); widget != nullptr && widget != this;
       widget = widget->parentWidget()) {
    for (MediaKind kind : kAllKinds) {
      if (pages_[IndexOf(kind)]->IsListWidget(widget)) return kind;
    }
  }
  return std::nullopt;
}

bool TfrMain::DropFilesAt(QPoint point, const std::vector<std::string>& paths) {
  raise();
  activateWindow();
  const std::optional<MediaKind> kind = ListAt(point);
  if (!kind.has_value() || paths.empty()) return false;
  const int n = ShownFolder(*kind);
  if (n == 0) return false;  // before the first load
  session_.DropFiles(*kind, n, paths);
  ShowStagedFiles(*kind);
  return true;
}

void TfrMain::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* dragged = event->mimeData();
  if (!LocalFiles(dragged).empty() || (dragged != nullptr && dragged->hasFormat(kOwnDrag)))
    event->acceptProposedAction();
}

void TfrMain::dragMoveEvent(QDragMoveEvent* event) {
  const QMimeData* dragged = event->mimeData();
  if (dragged != nullptr && dragged->hasFormat(kOwnDrag)) {
    // Items of a list land on their own list or their kind's folder chooser.
    const std::optional<DraggedItems> items = DecodeItems(*dragged);
    const QPoint point = event->position().toPoint();
    if (items.has_value() && (ListAt(point) == items->kind || ChooserAt(point) == items->kind)) {
      event->acceptProposedAction();
    } else {
      event->ignore();
    }
    return;
  }
  if (!LocalFiles(dragged).empty()) event->acceptProposedAction();
}

void TfrMain::dropEvent(QDropEvent* event) {
  if (event->mimeData() != nullptr && event->mimeData()->hasFormat(kOwnDrag)) {
    event->acceptProposedAction();
    // The folder list opens once the drag is over.
    auto* items = new QMimeData;
    items->setData(kOwnDrag, event->mimeData()->data(kOwnDrag));
    const QPoint point = event->position().toPoint();
    QTimer::singleShot(0, this, [this, point, items] {
      DropItemsAt(point, *items);
      delete items;
    });
    return;
  }
  std::vector<std::string> paths = LocalFiles(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  // The questions of the batch are asked once the drag is over, so that the program the files
  // came from is not held waiting for the answers.
  const QPoint point = event->position().toPoint();
  QTimer::singleShot(0, this,
                     [this, point, paths = std::move(paths)] { DropFilesAt(point, paths); });
}

// ---- Export and dragging out

void TfrMain::SetExportFolderPicker(std::unique_ptr<FolderPicker> picker) {
  exportPicker_ = std::move(picker);
}

QMimeData* TfrMain::ListDragData(MediaKind kind) {
  const FolderSlot* folder = ShownSlot(kind);
  if (folder == nullptr || SelectedItem(kind) == nullptr) return nullptr;
  DraggedItems items{kind, ShownFolder(kind), {}};
  QList<QUrl> urls;
  for (int row : page(kind).SelectedRows()) {
    const ItemRow* item = VisibleItemAtRow(*folder, row);
    if (item == nullptr) continue;
    items.rows.push_back(row);
    const std::string path = NativePath(item->sourceDir + item->sourceName);
    if (!path.empty()) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
  if (items.rows.empty()) return nullptr;
  auto* files = new QMimeData;
  files->setUrls(urls);
  files->setData(kOwnDrag, EncodeItems(items));
  return files;
}

void TfrMain::sgDragOut(MediaKind kind) {
  QMimeData* files = ListDragData(kind);
  if (files == nullptr) return;
  auto* drag = new QDrag(page(kind).sg);
  drag->setMimeData(files);
  // Only ever a copy: a file manager must not take the card's file away.
  drag->exec(Qt::CopyAction);
}

// ---- Texts at the edge

std::string TfrMain::NativePath(const std::string& modelPath) const {
  return session_.NativePath(modelPath);
}

}  // namespace sdmate
