// The picture preview of the standby images: one picture at a time, scaled into the preview
// area with its aspect kept.
#pragma once

#include <QLabel>
#include <QString>

namespace sdmate {

class Preview : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kWidth = 144;
  static constexpr int kHeight = 176;

  explicit Preview(QWidget* parent = nullptr);

  // The extensions the preview reads, compared upper-cased: ".BMP", ".JPG", ".PNG", ".TIF",
  // ".GIF".
  static bool IsPicture(const QString& fileName);
  // Shows the picture of a native path; a file that cannot be read leaves the area empty.
  // Returns whether a picture is shown.
  bool ShowFile(const QString& nativePath);
  // The area empty.
  void ShowNothing();
  const QString& shownPath() const { return shownPath_; }

 private:
  QString shownPath_;
};

}  // namespace sdmate
