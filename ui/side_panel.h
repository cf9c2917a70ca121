// The right-hand column of the main window: the product panel, the drive chooser, the load
// button, the gauge with the free space, the update button, the preview, backup, help and end,
// and the banner with its caption. The window connects the buttons to its handlers and hands
// the column the figures of the gauge; nothing here knows the card.
#pragma once

#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace sdmate {

class DriveChooser;
class Preview;

class SidePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 171;

  explicit SidePanel(QWidget* parent = nullptr);

  // The gauge's scale, its position (held to the scale) and the free-space text.
  void SetGauge(int maximum, int position, const QString& freeText);
  // The bar and the free-space text in red when space is low, else in their own colours;
  // both repaint at once, as the operations that change the space are still running.
  void PaintGauge(bool low);

  // The controls under the window's names.
  QFrame* Panel5;
  DriveChooser* driveChooser;
  QPushButton* btLoadMem;
  QProgressBar* cgDiskSpace;
  QLabel* stFree;
  QPushButton* btRefreshData;
  QPushButton* btUndo;
  QPushButton* btHistory;
  QFrame* StaticText1;
  Preview* DispPrev;
  QPushButton* btBackUp;
  QPushButton* btRestore;
  QPushButton* btCheck;
  QPushButton* btEject;  // makes the chosen drive's card safe to pull out
  QPushButton* btHelp;
  QPushButton* btEnd;
  QLabel* Label9;
  QLabel* Image3;

 signals:
  // The product panel, its icon, its name or its version was clicked.
  void ProductClicked();
  // The banner or its caption was clicked.
  void BannerClicked();

 private:
  void BuildProductPanel();
};

}  // namespace sdmate
