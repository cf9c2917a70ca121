// The folder dialog behind the drive chooser's "フォルダを指定…", behind a small interface so
// that the window's tests can hand it a folder.
#pragma once

#include <QStandardPaths>
#include <QString>
#include <string>

class QWidget;

namespace sdmate {

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // The folder the user picked (UTF-8, as the dialog names it); empty when the user cancels.
  // start: the folder the dialog opens in (empty: the dialog's own choice).
  virtual std::string Pick(QWidget* parent, const QString& caption, const std::string& start) = 0;
};

// A folder of the user's where a dialog opens the first time: the system's pictures, movies or
// documents folder when it exists, else the home folder.
std::string UserFolder(QStandardPaths::StandardLocation where);
// Where the system shows removable cards ("/media/<user>" and the like; a drive list on Windows),
// else the home folder.
std::string CardsFolder();

// Qt's dialog for an existing folder; without a start it opens in the home folder, never in the
// program's working folder.
class QtFolderPicker : public FolderPicker {
 public:
  std::string Pick(QWidget* parent, const QString& caption, const std::string& start) override;
};

}  // namespace sdmate
