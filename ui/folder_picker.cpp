// The folder dialog of the drive chooser.
#include "ui/folder_picker.h"

#include <QFileDialog>

#include "ui/open_files_dialog.h"

namespace sdmate {

std::string QtFolderPicker::Pick(QWidget* parent, const QString& caption,
                                 const std::string& start) {
  QFileDialog dialog(parent, caption, QString::fromStdString(start));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  GiveRoomForJapanese(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace sdmate
