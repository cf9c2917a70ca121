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
#include "ui/preview.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

// Marks a drag of an item out of a list: dropped back on the window it is no file to add (it
// would stage the card's own file again).
const QString kOwnDrag = QStringLiteral("application/x-sdmate-item");

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
  page(kind).ShowTitle(SelectedItem(kind));
  if (kind == FrontKind()) ShowFrontPreview();
}

MediaKind TfrMain::FrontKind() const {
  for (MediaKind kind : kAllKinds) {
    if (pcMain->currentWidget() == pages_[IndexOf(kind)]) return kind;
  }
  return MediaKind::Image;
}

void TfrMain::ShowFrontPreview() {
  // The camera pictures' page keeps its own picture in the preview.
  if (pcMain->currentWidget() == cameraPage_) return;
  const MediaKind kind = FrontKind();
  const ItemRow* item = kind == MediaKind::Image ? SelectedItem(kind) : nullptr;
  if (item == nullptr || !Preview::IsPicture(QString::fromStdString(item->sourceName))) {
    DispPrev->ShowNothing();
    return;
  }
  // Where the file is now: on the card, or on the computer for an item not yet written.
  DispPrev->ShowFile(QString::fromStdString(NativePath(item->sourceDir + item->sourceName)));
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
  const int row = page(kind).SelectedRow();
  const EditResult result =
      step < 0 ? session_.MoveItemUp(kind, n, row) : session_.MoveItemDown(kind, n, row);
  if (!result.changed) return;
  // The selection follows the moved item.
  RedrawShownFolder(kind, row + step);
  ShowUpdateDue();
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
      if (widget == pages_[IndexOf(kind)]->sg) return kind;
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
  if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void TfrMain::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void TfrMain::dropEvent(QDropEvent* event) {
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
  const ItemRow* item = SelectedItem(kind);
  if (item == nullptr) return nullptr;
  const std::string path = NativePath(item->sourceDir + item->sourceName);
  if (path.empty()) return nullptr;
  auto* files = new QMimeData;
  files->setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  files->setData(kOwnDrag, QByteArrayLiteral("1"));
  return files;
}

void TfrMain::sgDragOut(MediaKind kind) {
  QMimeData* files = ListDragData(kind);
  if (files == nullptr) return;
  auto* drag = new QDrag(page(kind).sg);
  drag->setMimeData(files);
  drag->exec(Qt::CopyAction);
}

// ---- Texts at the edge

std::string TfrMain::NativePath(const std::string& modelPath) const {
  return session_.NativePath(modelPath);
}

}  // namespace sdmate
