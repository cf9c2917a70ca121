// The preview: a standby image, a movie's frame or a document's first page at a time, scaled into
// the preview area with its aspect kept. The area is at least the handset's 144 × 176 and grows
// with the window; a picture smaller than the area is not blown up.
#pragma once

#include <QImage>
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
  // Shows a picture made elsewhere (a movie's frame, a document's first page) with a line under
  // it (the length and size, the pages); nativePath: the file it stands for.
  void ShowImage(const QImage& image, const QString& caption, const QString& nativePath);
  // The area empty.
  void ShowNothing();
  const QString& caption() const { return caption_; }
  const QString& shownPath() const { return shownPath_; }
  // The area asks for the handset's size, whatever picture it shows: a large picture must not
  // hold the window large.
  QSize sizeHint() const override { return {kWidth, kHeight}; }
  QSize minimumSizeHint() const override { return {kWidth, kHeight}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fit();

  QString shownPath_;
  QString caption_;
  QImage picture_;  // as read, at most the size of a large screen
};

}  // namespace sdmate
