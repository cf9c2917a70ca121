// The folder dialog of the drive chooser.
#include "ui/folder_picker.h"

#include <QFileDialog>

namespace sdmate {

std::string QtFolderPicker::Pick(QWidget* parent, const QString& caption,
                                 const std::string& start) {
  return QFileDialog::getExistingDirectory(parent, caption, QString::fromStdString(start))
      .toStdString();
}

}  // namespace sdmate
