// The choice before an export: what goes (the selected entries, the shown folder or everything on
// the card) and whether movies are made playable on the computer. Behind a small interface so
// that the window's tests can answer it.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QCheckBox;
class QRadioButton;

namespace sdmate {

enum class ExportScope { Selection, Folder, Card };

// What an export button offers, in the texts the dialog shows.
struct ExportOffer {
  QString selectionText;  // "選んでいる画像（2 枚）"; empty: nothing selected to offer
  QString folderText;     // "表示しているフォルダ（100NECDT、3 枚）"
  bool folderHasMovies = false;  // the folder (and a selection in it) holds movies
  ExportScope initial = ExportScope::Folder;
};

struct ExportChoice {
  ExportScope scope = ExportScope::Folder;
  bool convertMovies = true;  // asked only when the scope holds movies
};

class ExportDialog {
 public:
  virtual ~ExportDialog() = default;
  // The user's choice; nothing when the dialog is closed.
  virtual std::optional<ExportChoice> Choose(QWidget* parent, const ExportOffer& offer) = 0;
};

// The dialog itself: one button per scope, the movies' check box (on at the start, and only
// enabled while the chosen scope holds movies), and the button that goes on to the folder.
class ExportChoiceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ExportChoiceDialog(const ExportOffer& offer, QWidget* parent = nullptr);

  ExportChoice choice() const;

  QRadioButton* rbSelection;  // nullptr when the offer has no selection
  QRadioButton* rbFolder;
  QRadioButton* rbCard;
  QCheckBox* cbConvert;

 private:
  void ShowConvert();

  bool folderHasMovies_;
};

class QtExportDialog : public ExportDialog {
 public:
  std::optional<ExportChoice> Choose(QWidget* parent, const ExportOffer& offer) override;
};

}  // namespace sdmate
