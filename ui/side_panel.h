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

// The column's controls under the names of the window's controls; the window takes them over as
// members of its own under the same names.
struct SidePanelControls {
  QFrame* Panel5 = nullptr;
  DriveChooser* driveChooser = nullptr;
  QPushButton* btLoadMem = nullptr;
  QProgressBar* cgDiskSpace = nullptr;
  QLabel* stFree = nullptr;
  QPushButton* btRefreshData = nullptr;
  QPushButton* btUndo = nullptr;
  QPushButton* btHistory = nullptr;
  QFrame* StaticText1 = nullptr;
  Preview* DispPrev = nullptr;
  QPushButton* btBackUp = nullptr;
  QPushButton* btRestore = nullptr;
  QPushButton* btCheck = nullptr;
  QPushButton* btEject = nullptr;  // makes the chosen drive's card safe to pull out
  QPushButton* btHelp = nullptr;
  QPushButton* btEnd = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Image3 = nullptr;
};

class SidePanel : public QWidget, public SidePanelControls {
  Q_OBJECT

 public:
  static constexpr int kWidth = 171;

  explicit SidePanel(QWidget* parent = nullptr);

  // The gauge's scale, its position (held to the scale) and the free-space text.
  void SetGauge(int maximum, int position, const QString& freeText);
  // The bar and the free-space text in red when space is low, else in their own colours;
  // both repaint at once, as the operations that change the space are still running.
  void PaintGauge(bool low);

 signals:
  // The product panel, its icon, its name or its version was clicked.
  void ProductClicked();
  // The banner or its caption was clicked.
  void BannerClicked();

 private:
  void BuildProductPanel();
};

}  // namespace sdmate
