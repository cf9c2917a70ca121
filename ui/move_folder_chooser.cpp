// The menu of folders items are moved to.
#include "ui/move_folder_chooser.h"

#include <QAction>
#include <QMenu>

namespace sdmate {

int QtMoveFolderChooser::Choose(QWidget* parent, const std::vector<MoveTarget>& targets,
                                QPoint at) {
  QMenu menu(parent);
  menu.setObjectName(QStringLiteral("mnMoveFolder"));
  menu.addSection(QStringLiteral("移動先のフォルダ"));
  for (const MoveTarget& target : targets) {
    menu.addAction(target.text)->setData(target.folder);
  }
  const QAction* chosen = menu.exec(at);
  return chosen == nullptr ? 0 : chosen->data().toInt();
}

}  // namespace sdmate
