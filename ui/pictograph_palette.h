// The small button beside a title field that opens a grid of the handset's pictographs: a
// click on one inserts its emoji at the field's cursor (the field's byte limit still holds),
// and the emoji is stored as the handset's code when the title is.
#pragma once

#include <QToolButton>

class QFrame;
class QLineEdit;

namespace sdmate {

class PictographPalette : public QToolButton {
  Q_OBJECT

 public:
  static constexpr int kColumns = 16;

  PictographPalette(QLineEdit* field, QWidget* parent);

  // Shows the grid below the button; made the first time.
  void Open();
  // The grid, nullptr until first opened. Its buttons are named "pict" and the code in hex
  // ("pictF89F").
  QFrame* grid() const { return grid_; }

 private:
  void Insert(const QString& emoji);

  QLineEdit* field_;
  QFrame* grid_ = nullptr;
};

}  // namespace sdmate
