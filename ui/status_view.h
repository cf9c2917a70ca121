// What the message boxes and the progress dialog of the operations need of the window: a place
// for the status text, a repaint of the gauge, and the parent of their boxes.
#pragma once

#include <string_view>

class QWidget;

namespace sdmate {

class StatusView {
 public:
  virtual ~StatusView() = default;
  virtual void ShowStatus(std::string_view text) = 0;
  virtual void ShowDiskSpace() = 0;
  virtual QWidget* DialogParent() = 0;
};

}  // namespace sdmate
