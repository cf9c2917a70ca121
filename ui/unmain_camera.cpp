// The main window's handlers of the camera pictures' page: the page is read from the card when
// it is first shown after a load, a picture's preview follows the selection, and a double click
// opens the picture.
#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/camera_page.h"
#include "ui/preview.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

// The tab's caption, padded as the kinds' captions are.
constexpr char kCameraTab[] = "\u3000カメラ画像\u3000\u3000";

}  // namespace

void TfrMain::AddCameraPage() {
  cameraPage_ = new CameraPage(pcMain);
  pcMain->addTab(cameraPage_, QString::fromUtf8(kCameraTab));
  connect(cameraPage_->sbFolder, &QComboBox::currentIndexChanged, this,
          &TfrMain::sbCameraFolderChange);
  connect(cameraPage_->sg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TfrMain::sgCameraClick);
  connect(cameraPage_->sg, &QTableWidget::cellDoubleClicked, this, &TfrMain::sgCameraDblClick);
  connect(cameraPage_, &CameraPage::OpenKeyInList, this, &TfrMain::sgCameraDblClick);
  connect(cameraPage_->btExport, &QPushButton::clicked, this, &TfrMain::btExportCameraClick);
  connect(pcMain, &QTabWidget::currentChanged, this, &TfrMain::pcMainChange);
}

void TfrMain::CameraAreaLoaded() {
  cameraPage_->setEnabled(true);
  cameraShown_ = false;
  // Reading every picture's head takes a moment on a full card: only when the page is looked at.
  if (pcMain->currentWidget() == cameraPage_) ShowCamera();
}

void TfrMain::ShowCamera() {
  cameraPage_->ShowArea(session_.Camera());
  cameraShown_ = true;
  sgCameraClick();
}

void TfrMain::pcMainChange() {
  // The preview is shared: the kinds' pages show their own selection again (ShowFrontPreview),
  // never a camera picture under a standby image's name.
  if (!session_.model().loaded || pcMain->currentWidget() != cameraPage_) return;
  if (cameraShown_) {
    sgCameraClick();  // the preview shows this page's picture again
  } else {
    ShowCamera();
  }
}

const CameraFolder* TfrMain::ShownCameraFolder() {
  if (!cameraShown_) return nullptr;
  const CameraArea& area = session_.Camera();
  const int n = cameraPage_->ChosenFolder();
  if (n < 1 || n > static_cast<int>(area.folders.size())) return nullptr;
  return &area.folders[static_cast<std::size_t>(n - 1)];
}

void TfrMain::sbCameraFolderChange() {
  if (const CameraFolder* folder = ShownCameraFolder()) {
    cameraPage_->ShowFolder(*folder);
    sgCameraClick();
  }
}

void TfrMain::sgCameraClick() {
  const CameraFolder* folder = ShownCameraFolder();
  const int row = cameraPage_->CurrentRow();
  if (folder == nullptr || row < 1 || row > static_cast<int>(folder->pictures.size())) return;
  DispPrev->ShowFile(
      QString::fromStdString(NativePath(folder->pictures[static_cast<std::size_t>(row - 1)].path)));
}

void TfrMain::sgCameraDblClick() {
  const CameraFolder* folder = ShownCameraFolder();
  const int row = cameraPage_->CurrentRow();
  if (folder == nullptr || row < 1 || row > static_cast<int>(folder->pictures.size())) return;
  const std::string path = NativePath(folder->pictures[static_cast<std::size_t>(row - 1)].path);
  if (!path.empty()) opener_(path);
}

}  // namespace sdmate
