// The list of folders items are moved to (the 移動… button, and a drop on the folder chooser),
// behind a small interface so that the window's tests can pick a folder.
#pragma once

#include <QPoint>
#include <QString>
#include <vector>

class QWidget;

namespace sdmate {

// One folder the items may go to.
struct MoveTarget {
  int folder = 0;  // from 1
  QString text;    // "3  旅行 (12 件)"
};

class MoveFolderChooser {
 public:
  virtual ~MoveFolderChooser() = default;
  // The folder picked (from 1), or 0 when the user picks none. at: where the list opens, in
  // global coordinates.
  virtual int Choose(QWidget* parent, const std::vector<MoveTarget>& targets, QPoint at) = 0;
};

// A menu of the folders at the pointer.
class QtMoveFolderChooser : public MoveFolderChooser {
 public:
  int Choose(QWidget* parent, const std::vector<MoveTarget>& targets, QPoint at) override;
};

}  // namespace sdmate
