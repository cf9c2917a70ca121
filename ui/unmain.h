// The main window: three kind pages, the right-hand column (drive chooser, card buttons, gauge,
// preview) and the status bar, with the handlers of all their controls. The handlers call the
// card session and have the pages and the column draw what the model then holds; the window
// holds no card rule of its own.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_session.h"
#include "ui/card_dialogs.h"
#include "ui/export_dialog.h"
#include "ui/folder_picker.h"
#include "ui/kind_page.h"
#include "ui/move_folder_chooser.h"
#include "ui/side_panel.h"
#include "ui/status_view.h"
#include "ui/thumbnails.h"

class QAction;
class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QFrame;
class QLabel;
class QMimeData;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace sdmate {

class CameraPage;
class FolderPicker;
class OpenFilesDialog;
class TfrAbout;

// "ReadMe.txt" in the current directory, or else beside the program, or else in the installed
// documents' folder: its path, or empty when none has it.
std::string FindHelpFile(const std::string& currentDirectory, const std::string& programDirectory,
                         const std::string& docDirectory = {});

class TfrMain : public QMainWindow, public StatusView, public SidePanelControls {
  Q_OBJECT

 public:
  // The window's session works through the services main built.
  explicit TfrMain(const SessionServices& services, QWidget* parent = nullptr);
  ~TfrMain() override;

  const CardSession& session() const { return session_; }
  KindPage& page(MediaKind kind) { return *pages_[IndexOf(kind)]; }
  CameraPage& cameraPage() { return *cameraPage_; }

  // Opens a native path or a web address ("https://...") with the desktop's program for it;
  // tests replace it. The about box opens its links through the same opener.
  using Opener = std::function<void(const std::string& pathOrAddress)>;
  void SetOpener(Opener opener) { opener_ = std::move(opener); }
  // The add buttons' open-file dialog; tests replace it.
  void SetOpenFilesDialog(std::unique_ptr<OpenFilesDialog> dialog);
  // The folder dialog of the drive chooser's "フォルダを指定…"; tests replace it.
  void SetFolderPicker(std::unique_ptr<FolderPicker> picker);
  // The folder dialog of the export buttons; tests replace it.
  void SetExportFolderPicker(std::unique_ptr<FolderPicker> picker);
  // The choice before an export (what goes, movies converted); tests replace it.
  void SetExportDialog(std::unique_ptr<ExportDialog> dialog);
  // The about box of the run, made right after the window.
  void SetAboutBox(TfrAbout* about);
  TfrAbout* aboutBox() const { return about_; }

  // Gives a card folder a drive letter and selects it in the drive chooser. A folder named on
  // the command line is taken as a card without asking whether the drive is removable.
  char MapCardFolder(const std::string& nativeFolder, bool fromCommandLine);
  // A card folder named at start, mapped to this letter: loaded at once when it holds the
  // handset's folders (an empty folder only stays chosen).
  void LoadNamedCard(char letter);
  // The first character of a typed text that the handset cannot show, or an empty text.
  QString LackingCharacter(const QString& text);
  // The letter selected in the drive chooser, or 0.
  char SelectedDrive() const;

  // The window's size and place are kept in the settings (organisation "Sdmate") from now on:
  // the last ones are taken back now, and the window's are written when it closes.
  void RememberPlace();

  // Shown by the operations below the window.
  void ShowStatus(std::string_view text) override;
  void ShowDiskSpace() override;
  QWidget* DialogParent() override { return this; }

  // Handlers of the window's buttons.
  void btLoadMemClick();
  void btRefreshDataClick();
  void btBackUpClick();
  // The card's history and check.
  void btUndoClick();
  void btHistoryClick();
  void btRestoreClick();
  void btCheckClick();
  // The dialogs of the history, the check and the backup folder of a restore; tests replace
  // them.
  void SetHistoryChooser(std::unique_ptr<HistoryChooser> chooser);
  void SetCheckDialog(std::unique_ptr<CheckDialog> dialog);
  void SetBackupPicker(std::unique_ptr<FolderPicker> picker);
  void btEjectClick();
  // Once a second: drives that came or went are shown in the chooser (a card with the
  // handset's folders is chosen while none is loaded), and a loaded card found gone disables
  // the card's operations until the next load.
  void PollDrives();
  void btHelpClick();
  void Panel5Click();
  void Image3Click();
  void EnableEditing();

  // Dropped files: point is in the window's coordinates, paths are native paths of the
  // computer in the order they were dropped. Only a kind's list (its grid, heading row, scroll
  // bar or viewport) takes them; anywhere else, and before the first load, nothing happens.
  // Returns whether the files went to a list.
  bool DropFilesAt(QPoint point, const std::vector<std::string>& paths);
  // The kind whose list lies under a point of the window, if any.
  std::optional<MediaKind> ListAt(QPoint point) const;

  // Handlers of the kind pages, written once for the three kinds.
  void sgClick(MediaKind kind);
  void sgDblClick(MediaKind kind);
  void sgEnter(MediaKind kind);
  void edTitleChange(MediaKind kind);
  void edTitleEnter(MediaKind kind);
  void btEditClick(MediaKind kind);
  void btDelClick(MediaKind kind);
  void btRenClick(MediaKind kind);
  void btUpClick(MediaKind kind);
  void btDownClick(MediaKind kind);
  void sbFolderChange(MediaKind kind);
  void btAddFolderClick(MediaKind kind);
  void btDelFolderClick(MediaKind kind);
  void edFolderTitleChange(MediaKind kind);
  void btEditFolderClick(MediaKind kind);
  void btAddClick(MediaKind kind);
  void cbFitClick(MediaKind kind);
  void btExportClick(MediaKind kind);
  // A drag out of a kind's list: the selected item's file, for the desktop or a file manager.
  void sgDragOut(MediaKind kind);
  // What that drag carries: the file URLs of the selected items' files (where they are now, on
  // the card or on the computer) and which rows of which folder they are; nullptr for a blank
  // row.
  QMimeData* ListDragData(MediaKind kind);
  // 移動…: the selected items to a folder picked from the list of the kind's other folders.
  void btMoveClick(MediaKind kind);
  // The list of folders of 移動… and of a drop on the folder chooser; tests replace it.
  void SetMoveFolderChooser(std::unique_ptr<MoveFolderChooser> chooser);
  // Items of a list dropped at a point of the window: on their own list they take the rows from
  // the one under the point (as up and down would move them), on their kind's folder chooser
  // they go to the folder picked. False when the point is neither.
  bool DropItemsAt(QPoint point, const QMimeData& items);

  // The items' pictures (ui/unmain_thumbnails.cpp), made off the window's thread and kept in the
  // cache folder; tests and the benchmark point the cache elsewhere before the first load.
  ThumbnailProvider& thumbnails();
  void SetThumbnailCache(const QString& cacheRoot);

  // Handlers of the camera pictures' page (ui/unmain_camera.cpp).
  void sbCameraFolderChange();
  void sgCameraClick();
  void sgCameraDblClick();
  void btExportCameraClick();
  // Another tab was chosen: the camera pictures are read from the card when their page is
  // first shown after a load.
  void pcMainChange();

  // The folder shown on a kind's page (from 1), 0 before the first load.
  int ShownFolder(MediaKind kind) const;

  // The keys of the window: each runs the handler of its button.
  // Ctrl+Z: the last staged edit taken back; with none staged, the undo of the last commit.
  void StepBackClick();
  // Ctrl+Y: the staged edit taken back last done again.
  void StepForwardClick();
  // F2: the front page's title field, its text selected.
  void GoToTitle();
  // Delete: the selected items of the front page's list.
  void DeleteSelected();
  // Ctrl+A in a list: every row selected.
  void SelectAllRows();

  // The tabs and the drive list; the controls of the right-hand column (they sit in the
  // SidePanel) are members under the names of the window's controls too.
  QTabWidget* pcMain;
  QComboBox* curDrive;
  QStatusBar* StatusBar;
  // The window's shortcuts.
  QAction* acDelete;     // Delete, in a list
  QAction* acTitle;      // F2
  QAction* acUpdate;     // Ctrl+S
  QAction* acStepBack;   // Ctrl+Z
  QAction* acStepFwd;    // Ctrl+Y
  QAction* acLoad;       // Ctrl+O
  QAction* acSelectAll;  // Ctrl+A, in a list

 protected:
  void showEvent(QShowEvent* event) override;
  // Staged edits not written: asked whether to update first (はい), drop them (いいえ) or stay.
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildRightColumn(QWidget* client);
  void AddCameraPage();
  // After a load: the camera page shows the new card's pictures when it is next shown.
  void CameraAreaLoaded();
  void ShowCamera();
  const CameraFolder* ShownCameraFolder();
  // The export dialog, then the folder dialog: the choice and the native destination folder;
  // nothing when either was closed.
  struct ExportRequest {
    ExportChoice choice;
    std::string destination;
  };
  std::optional<ExportRequest> AskExport(const ExportOffer& offer);
  void CreateActions();
  // After the staged edits stepped back or forward: every page drawn from the model, each on
  // the folder and row it showed where they are still there.
  void ShowStepped();
  void ConnectPage(KindPage& page);
  // Redraws everything from the model after a load or an update.
  void ShowModel();
  // Fills a kind's folder chooser from the model and shows folder `select`.
  void ShowFolders(MediaKind kind, int select);
  // The folder shown on a kind's page, nullptr before the first load.
  const FolderSlot* ShownSlot(MediaKind kind) const;
  // Selects a row of a kind's list and runs the list's handler, as a click on the row does.
  void SelectRowAndShow(MediaKind kind, int row);
  // After an edit of a kind's shown folder: its rows drawn again, the selection on `row` (held
  // to the rows there are; the selected row when 0), and the title field and preview showing
  // the item there.
  void RedrawShownFolder(MediaKind kind, int row = 0);
  // The kind whose page is in front.
  MediaKind FrontKind() const;
  // The preview shows the picture of the front page's selected item; a movie, a document, a
  // blank row or a file that is no picture leave it empty.
  void ShowFrontPreview();
  // Up (step -1) or down (step +1) for the selected row; the selection follows the item.
  void MoveSelectedItem(MediaKind kind, int step);
  // Rows of a folder moved to a folder the user picks from a list opened at `at` (global).
  void MoveRowsToFolder(MediaKind kind, int folder, const std::vector<int>& rows, QPoint at);
  // The kind whose folder chooser is under a point of the window.
  std::optional<MediaKind> ChooserAt(QPoint point) const;
  // What the picture of an item is made from, at a size; none for a file no picture is made of.
  std::optional<ThumbnailRequest> ThumbnailOf(const ItemRow& item, int edge);
  // The list's icon of an item: its picture, its kind's icon when none can be made, or nothing
  // while it is being made.
  QIcon ThumbnailIcon(MediaKind kind, const ItemRow& item, bool urgent);
  // A picture is there: the preview waiting for it shows it, the lists fill theirs in.
  void ThumbnailReady(const QString& key);
  void ShowUpdateDue();
  // The update's question with what it will do; true to go on. Nothing to write asks nothing.
  bool ConfirmUpdate();
  // The undo button: on while the loaded card's last commit can be taken back.
  void ShowUndoable();
  // After an undo, a restore or a repair: the card as it is now.
  void ShowCommitted();
  // The loaded card is gone (pulled out or ejected): nothing acts on it until a load.
  void DisableCardOperations();
  // Another drive chosen than the loaded one: the loaded card's pages and operations wait until
  // it is chosen again (or another card is loaded), so no one edits a card not shown as chosen.
  void ShowChosenDrive();
  // After files were staged on a kind's shown folder: rows, gauge, update button.
  void ShowStagedFiles(MediaKind kind);
  // The item on the selected row of a kind's list, nullptr for a blank row.
  const ItemRow* SelectedItem(MediaKind kind);
  std::string NativePath(const std::string& modelPath) const;

  Feedback& feedback_;
  CardSession session_;
  std::array<KindPage*, 3> pages_{};
  SidePanel* sidePanel_ = nullptr;
  QLabel* statusPanel_ = nullptr;
  Opener opener_;
  std::unique_ptr<OpenFilesDialog> openFiles_;
  std::unique_ptr<HistoryChooser> historyChooser_;
  std::unique_ptr<CheckDialog> checkDialog_;
  std::unique_ptr<FolderPicker> backupPicker_;
  std::unique_ptr<FolderPicker> exportPicker_;
  std::unique_ptr<ExportDialog> exportDialog_;
  std::unique_ptr<MoveFolderChooser> moveChooser_ = std::make_unique<QtMoveFolderChooser>();
  std::string lastExportFolder_;  // where the folder dialog of the next export opens
  CameraPage* cameraPage_ = nullptr;
  bool cameraShown_ = false;  // the camera page shows the loaded card's pictures
  TfrAbout* about_ = nullptr;
  std::set<char> commandLineDrives_;
  std::set<char> knownDrives_;  // the drives the chooser listed at the last poll
  bool shown_ = false;
  bool remembersPlace_ = false;
  QString thumbnailCache_;
  std::string cardKey_;  // the key of the card on cardKeyDrive_
  char cardKeyDrive_ = 0;
  bool moviesAsked_ = false;  // the movie tools were looked for on this thread
  bool thumbnailsDue_ = false;
  QString previewKey_;  // the picture the preview waits for
  // Last: its workers end before anything they read goes.
  std::unique_ptr<ThumbnailProvider> thumbnails_;
};

}  // namespace sdmate
