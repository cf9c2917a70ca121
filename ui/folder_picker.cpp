// The folder dialog of the drive chooser.
#include "ui/folder_picker.h"

#include <QFileDialog>

namespace sdmate {

std::string QtFolderPicker::Pick(QWidget* parent, const QString& caption) {
  return QFileDialog::getExistingDirectory(parent, caption).toStdString();
}

}  // namespace sdmate
