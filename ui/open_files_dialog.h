// The open-file dialog of the add buttons behind a small interface, so that the window's tests
// can hand it file names.
#pragma once

#include <QPointer>
#include <QString>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/kind_traits.h"

class QFileDialog;
class QWidget;

namespace sdmate {

class OpenFilesDialog {
 public:
  virtual ~OpenFilesDialog() = default;
  // filter is the kind's filter in the form "待ち受け画像データ|*.JPG;*.GIF;". Returns the
  // chosen files as native paths of the computer (UTF-8), in the dialog's order; none when the
  // user cancels.
  virtual std::vector<std::string> Choose(QWidget* parent, std::string_view filter,
                                          MediaKind kind) = 0;
};

// The filter in Qt's form: "待ち受け画像データ (*.JPG *.GIF)".
QString QtNameFilter(std::string_view filter);

// Qt's own file dialog opens too narrow for Japanese texts: the places, the type and the date
// would be cut short. Sizes the dialog and its columns so that they are not.
void GiveRoomForJapanese(QFileDialog& dialog);

// One QFileDialog for the three kinds: several files, names may be typed, resizable, no
// renaming or deleting inside it, extensions matched whatever their case.
class QtOpenFilesDialog : public OpenFilesDialog {
 public:
  QtOpenFilesDialog() = default;
  ~QtOpenFilesDialog() override;
  std::vector<std::string> Choose(QWidget* parent, std::string_view filter,
                                  MediaKind kind) override;

  // Sets the dialog up without running it (the tests look at it): it opens in the folder the
  // kind's files were last added from, or at first in the user's pictures, movies or documents.
  QFileDialog* Prepare(QWidget* parent, std::string_view filter, MediaKind kind = MediaKind::Image);

 private:
  QPointer<QFileDialog> dialog_;
  std::map<MediaKind, QString> lastFolder_;
};

}  // namespace sdmate
