// Clicks on pictures, texts and panels.
#include "ui/click_targets.h"

#include <QMouseEvent>

namespace sdmate {
namespace {

// The press is taken so that the release comes back to the same control.
void TakePress(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool IsClick(const QWidget& widget, const QMouseEvent* event) {
  return event->button() == Qt::LeftButton && widget.rect().contains(event->position().toPoint());
}

}  // namespace

void ClickLabel::mousePressEvent(QMouseEvent* event) { TakePress(event); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (IsClick(*this, event)) emit clicked();
}

void ClickPanel::mousePressEvent(QMouseEvent* event) { TakePress(event); }

void ClickPanel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (IsClick(*this, event)) emit clicked();
}

}  // namespace sdmate
