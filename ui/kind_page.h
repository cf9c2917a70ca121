// One tab of the main window: the folder chooser and title, the item title, the list and the
// item buttons of one kind. The three tabs are this class built three times; the window's
// handlers take the kind, so nothing here knows a card rule.
#pragma once

#include <QWidget>

#include "core/card_layout.h"
#include "ui/byte_limit_validator.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace sdmate {

class KindPage : public QWidget {
  Q_OBJECT

 public:
  // Rows of a list until the first load, its heading row included.
  static constexpr int kInitialRows = 64;

  // bytesOf counts a typed title in the card's bytes, for the title fields' limits.
  KindPage(MediaKind kind, const ByteCounter& bytesOf, QWidget* parent = nullptr);

  MediaKind kind() const { return kind_; }

  // The controls carry the names of the standby-image tab without the kind as members, and
  // the full names ("sbMovieFolder", "btDelDocument") as object names.
  QComboBox* sbFolder;
  QLineEdit* edFolderTitle;
  QPushButton* btEditFolder;
  QPushButton* btAddFolder;
  QPushButton* btDelFolder;
  QLineEdit* edTitle;
  QPushButton* btEdit;
  QTableWidget* sg;
  QPushButton* btUp;
  QPushButton* btDown;
  QPushButton* btRen;
  QPushButton* btDel;
  QPushButton* btAdd;
  QFrame* iconPanel;

  // The list row shown as selected, counted as the handset counts list rows: 1 is the first
  // item, 0 when nothing is selected.
  int SelectedRow() const;
  // Rows of items (the heading row not counted).
  int ItemRows() const;

 signals:
  void EnterInList();
  void OpenKeyInList();
  void EnterInTitle();
  void EnterInFolderTitle();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MediaKind kind_;
};

}  // namespace sdmate
