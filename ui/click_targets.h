// Pictures, texts and panels that act on a click of the left button, as links do.
#pragma once

#include <QFrame>
#include <QLabel>

namespace sdmate {

// A label that takes the clicks on it: clicked() when the button is released over it. One
// without a connection simply keeps the click from reaching what lies beneath.
class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class ClickPanel : public QFrame {
  Q_OBJECT

 public:
  explicit ClickPanel(QWidget* parent = nullptr) : QFrame(parent) {}

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace sdmate
