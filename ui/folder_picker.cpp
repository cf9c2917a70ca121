// The folder dialog of the drive chooser.
#include "ui/folder_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "ui/open_files_dialog.h"

namespace sdmate {

std::string UserFolder(QStandardPaths::StandardLocation where) {
  for (const QString& folder : QStandardPaths::standardLocations(where)) {
    if (QFileInfo(folder).isDir()) return folder.toStdString();
  }
  return QDir::homePath().toStdString();
}

std::string CardsFolder() {
#ifndef _WIN32
  const QString user = qEnvironmentVariable("USER");
  for (const QString& folder :
       {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user,
        QStringLiteral("/media"), QStringLiteral("/Volumes")}) {
    if (!user.isEmpty() && QFileInfo(folder).isDir()) return folder.toStdString();
  }
#endif
  return QDir::homePath().toStdString();
}

std::string QtFolderPicker::Pick(QWidget* parent, const QString& caption,
                                 const std::string& start) {
  QFileDialog dialog(
      parent, caption,
      QString::fromStdString(start.empty() ? QDir::homePath().toStdString() : start));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  GiveRoomForJapanese(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace sdmate
