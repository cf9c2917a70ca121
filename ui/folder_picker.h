// The folder dialog behind the drive chooser's "フォルダを指定…", behind a small interface so
// that the window's tests can hand it a folder.
#pragma once

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

// Qt's dialog for an existing folder.
class QtFolderPicker : public FolderPicker {
 public:
  std::string Pick(QWidget* parent, const QString& caption, const std::string& start) override;
};

}  // namespace sdmate
