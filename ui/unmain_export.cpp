// The main window's exports: each page's export button asks what goes (the selection, the shown
// folder or everything on the card) and whether movies are converted, then for the folder, and
// hands the rest to the session, which shows the progress with 中止 and the summary.
#include <QDir>

#include "ui/camera_page.h"
#include "ui/folder_picker.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

constexpr char kDestinationCaption[] = "書き出し先のフォルダ";

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

void TfrMain::SetExportDialog(std::unique_ptr<ExportDialog> dialog) {
  exportDialog_ = std::move(dialog);
}

std::optional<TfrMain::ExportRequest> TfrMain::AskExport(const ExportOffer& offer) {
  const std::optional<ExportChoice> choice = exportDialog_->Choose(this, offer);
  if (!choice.has_value()) return std::nullopt;
  const std::string folder = exportPicker_->Pick(
      this, Text(kDestinationCaption),
      lastExportFolder_.empty() ? UserFolder(QStandardPaths::PicturesLocation) : lastExportFolder_);
  if (folder.empty()) return std::nullopt;
  lastExportFolder_ = folder;
  return ExportRequest{*choice,
                       QDir::toNativeSeparators(QString::fromStdString(folder)).toStdString()};
}

void TfrMain::btExportClick(MediaKind kind) {
  const int n = ShownFolder(kind);
  if (n == 0) return;
  ExportOffer offer;
  const std::vector<int> rows = page(kind).SelectedRows();
  if (rows.size() > 1) {
    offer.selectionText = Text("選んでいる項目だけ（%1 件）").arg(rows.size());
    offer.initial = ExportScope::Selection;
  } else if (const ItemRow* item = SelectedItem(kind)) {
    // An item without a title is known by its file's name.
    const std::string& name = item->title.empty() ? item->targetName : item->title;
    offer.selectionText =
        Text("選んでいる項目だけ（%1）").arg(QString::fromStdString(session_.ToUtf8(name)));
  }
  offer.folderText = Text("表示しているフォルダ（フォルダ %1、%2 件）")
                         .arg(n)
                         .arg(ShownSlot(kind)->visibleCount());
  offer.folderHasMovies = kind == MediaKind::Movie;
  const std::optional<ExportRequest> request = AskExport(offer);
  if (!request.has_value()) return;
  const ExportOptions options{.convertMovies = request->choice.convertMovies};
  switch (request->choice.scope) {
    case ExportScope::Selection:
      session_.ExportFolder(kind, n, request->destination, options, rows);
      break;
    case ExportScope::Folder:
      session_.ExportFolder(kind, n, request->destination, options);
      break;
    case ExportScope::Card:
      session_.ExportCard(request->destination, {}, options);
      break;
  }
}

void TfrMain::btExportCameraClick() {
  const CameraFolder* folder = ShownCameraFolder();
  if (folder == nullptr) return;
  const int n = cameraPage_->ChosenFolder();
  const std::vector<int> rows = cameraPage_->SelectedRows();
  ExportOffer offer;
  if (!rows.empty()) {
    offer.selectionText = Text("選んでいる画像だけ（%1 枚）").arg(rows.size());
  }
  offer.folderText = Text("表示しているフォルダ（%1、%2 枚）")
                         .arg(QString::fromStdString(folder->name))
                         .arg(folder->pictures.size());
  // Pictures picked one by one are what the user means to export.
  if (rows.size() > 1) offer.initial = ExportScope::Selection;
  const std::optional<ExportRequest> request = AskExport(offer);
  if (!request.has_value()) return;
  switch (request->choice.scope) {
    case ExportScope::Selection:
      session_.ExportCameraFolder(n, request->destination, rows);
      break;
    case ExportScope::Folder:
      session_.ExportCameraFolder(n, request->destination);
      break;
    case ExportScope::Card:
      session_.ExportCard(request->destination, {},
                          {.convertMovies = request->choice.convertMovies});
      break;
  }
}

}  // namespace sdmate
