// The main window's keys: shortcuts that run the handlers of the buttons, and the staged edits
// stepped back and forth before the commit.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "ui/unmain.h"

namespace sdmate {
namespace {

QAction* Shortcut(QWidget* owner, const char* name, const QKeySequence& keys,
                  Qt::ShortcutContext context = Qt::WindowShortcut) {
  auto* action = new QAction(owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(keys);
  action->setShortcutContext(context);
  owner->addAction(action);
  return action;
}

}  // namespace

void TfrMain::CreateActions() {
  // Delete and Ctrl+A belong to the lists: in a text field they delete and select text.
  acDelete = Shortcut(this, "acDelete", QKeySequence::Delete, Qt::WidgetShortcut);
  acSelectAll = Shortcut(this, "acSelectAll", QKeySequence::SelectAll, Qt::WidgetShortcut);
  for (KindPage* shown : pages_) {
    shown->sg->addAction(acDelete);
    shown->sg->addAction(acSelectAll);
  }
  acTitle = Shortcut(this, "acTitle", Qt::Key_F2);
  acUpdate = Shortcut(this, "acUpdate", QKeySequence::Save);
  // A text field keeps Ctrl+Z and Ctrl+Y for its own typing.
  acStepBack = Shortcut(this, "acStepBack", QKeySequence::Undo);
  acStepFwd = Shortcut(this, "acStepFwd", QKeySequence(Qt::CTRL | Qt::Key_Y));
  acLoad = Shortcut(this, "acLoad", QKeySequence::Open);
  connect(acDelete, &QAction::triggered, this, &TfrMain::DeleteSelected);
  connect(acSelectAll, &QAction::triggered, this, &TfrMain::SelectAllRows);
  connect(acTitle, &QAction::triggered, this, &TfrMain::GoToTitle);
  connect(acUpdate, &QAction::triggered, this, [this] {
    if (btRefreshData->isEnabled()) btRefreshDataClick();
  });
  connect(acStepBack, &QAction::triggered, this, &TfrMain::StepBackClick);
  connect(acStepFwd, &QAction::triggered, this, &TfrMain::StepForwardClick);
  connect(acLoad, &QAction::triggered, this, &TfrMain::btLoadMemClick);
}

void TfrMain::DeleteSelected() {
  const MediaKind kind = FrontKind();
  if (page(kind).btDel->isEnabled()) btDelClick(kind);
}

void TfrMain::SelectAllRows() { page(FrontKind()).sg->selectAll(); }

void TfrMain::GoToTitle() {
  KindPage& front = page(FrontKind());
  front.edTitle->setFocus(Qt::ShortcutFocusReason);
  front.edTitle->selectAll();
}

void TfrMain::StepBackClick() {
  if (!page(FrontKind()).isEnabled()) return;  // the loaded card is not the chosen one
  if (session_.CanStepBack()) {
    session_.StepBack();
    ShowStepped();
  } else if (btUndo->isEnabled()) {
    btUndoClick();
  }
}

void TfrMain::StepForwardClick() {
  if (!page(FrontKind()).isEnabled() || !session_.CanStepForward()) return;
  session_.StepForward();
  ShowStepped();
}

void TfrMain::ShowStepped() {
  for (MediaKind kind : kAllKinds) {
    KindPage& shown = page(kind);
    const int folder = shown.ChosenFolder();
    const int row = shown.SelectedRow();
    ShowFolders(kind, std::max(folder, 1));
    RedrawShownFolder(kind, row);
  }
  ShowDiskSpace();
  ShowUpdateDue();
}

}  // namespace sdmate
