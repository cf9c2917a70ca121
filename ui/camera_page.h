// The fourth tab of the main window: the handset's camera pictures, one camera folder at a time,
// with the time each was taken, its size and its pixel size. The page only shows them: the
// handset keeps its own table of them, so there is nothing to add, delete, renumber or title
// here. The window hands the page the camera area to draw; the page holds no card data.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace sdmate {

struct CameraArea;
struct CameraFolder;
struct CameraPicture;

// "2005:03:03 14:07:31", as the other pages show their items' times.
QString ShotText(const CameraPicture& picture);

class CameraPage : public QWidget {
  Q_OBJECT

 public:
  explicit CameraPage(QWidget* parent = nullptr);

  QComboBox* sbFolder;    // "100NECDT" ...
  QLabel* lbNote;         // why the page has no editing controls
  QTableWidget* sg;       // the pictures of the chosen folder
  QLabel* lbEmpty;        // over the list when the card holds no camera pictures
  QPushButton* btExport;  // the pictures (selected, the folder, or the whole card) to the computer

  // The folder picked in the chooser, from 1; 0 while the chooser is empty.
  int ChosenFolder() const;
  // The selected list rows, from 1, in list order.
  std::vector<int> SelectedRows() const;
  // The row of the current picture, from 1; 0 when none.
  int CurrentRow() const;

  // Fills the chooser with the area's folders and shows the first; none of these runs the
  // window's handlers of the chooser or the list.
  void ShowArea(const CameraArea& area);
  // The rows of a folder's pictures; the first row is selected.
  void ShowFolder(const CameraFolder& folder);

 signals:
  // Enter or F4 on the list: the current picture is opened.
  void OpenKeyInList();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sdmate
