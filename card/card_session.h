// One card session: the model with the state the window keeps beside it (whether the update is
// due, the backup advice) and every operation the window and the command line call. Both faces
// drive the card through this class only; it hands out the model to read, never to change.
#pragma once

#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "card/backup.h"
#include "card/card_check.h"
#include "card/card_load.h"
#include "card/card_update.h"
#include "card/commit_failure.h"
#include "card/commit_preview.h"
#include "card/drive_watch.h"
#include "card/export_items.h"
#include "card/history.h"
#include "card/repair.h"
#include "card/restore_plan.h"
#include "editing/folder_operations.h"
#include "editing/item_operations.h"
#include "editing/move_items.h"
#include "import/stage_files.h"
#include "platform/clock.h"
#include "platform/places.h"

namespace sdmate {

// The services a session works through, built by the program's main (or by a test).
struct SessionServices {
  Files& files;
  Drives& drives;
  TextCodec& codec;
  Clock& clock;
  Feedback& feedback;
  Places places;
  // Fitting of pictures and movies to the handset as they are staged; none: staged as they are.
  FitServices fit = {};
  // Movies converted for the computer as they are exported; none: exported as they are.
  ExportServices exporting = {};
};

class CardSession {
 public:
  explicit CardSession(const SessionServices& services)
      : services_(services),
        history_(services.places.historyDirectory, services.files, services.clock) {}

  const CardModel& model() const { return model_; }
  // What the last load or read-back read of the card.
  const LoadedCard& loaded() const { return read_; }

  // The update button: enabled by every staged edit, disabled by the end of an update.
  bool updateDue() const { return updateDue_; }
  // Set when the window is first shown; cleared by the first load and by a backup.
  bool backupAdvice() const { return backupAdvice_; }
  void SetBackupAdvice(bool advice) { backupAdvice_ = advice; }

  // Drives and paths.
  std::vector<DriveInfo> ListDrives() { return services_.drives.List(); }
  // Gives a folder of the computer (a mounted card, a copy of one) a drive letter; 0 when none
  // is free.
  char MapCardFolder(const std::string& nativeFolder) {
    return services_.drives.MapFolder(nativeFolder);
  }
  // The native path of a model path (a card path or a path of the computer); empty when its
  // drive letter stands for nothing.
  std::string NativePath(const std::string& modelPath) const {
    return services_.drives.NativePathOf(modelPath).value_or(std::string());
  }
  const Places& places() const { return services_.places; }
  // Reads the system's drives again; true when they changed.
  bool RefreshDrives() { return services_.drives.Refresh(); }
  bool HoldsHandsetFolders(char drive) {
    return sdmate::HoldsHandsetFolders(drive, services_.files);
  }
  // A loaded card that is still in its drive: set by a load, cleared when the card is found
  // gone (the user is told once) or ejected. The card's operations wait for the next load.
  bool cardPresent() const { return cardPresent_; }
  bool CheckCardPresent();
  // Makes the drive's card safe to pull out (asking first when the loaded card on it has edits
  // not written), and says so; true when it was ejected.
  bool Eject(char drive);

  // Texts at the window's and the console's edge: card bytes shown as UTF-8, typed UTF-8 as the
  // card's bytes, and how many bytes a typed text takes on the card.
  std::string ToUtf8(std::string_view sjis) { return services_.codec.ToUtf8(sjis); }
  std::string FromUtf8(std::string_view utf8) { return services_.codec.FromUtf8(utf8); }

  // The card.
  // A commit of the card that did not end is offered to be taken back (checked as an undo is);
  // what became of that offer is tookBack() until the next load.
  LoadResult Load(char drive, LoadOptions options = {});
  // Whether the newest commit of the card on the drive did not end and is not taken back (one
  // another run is making, holding the card, is not).
  bool HasUnfinishedCommit(char drive);
  // The commit of the staged edits. A commit that changed nothing on the card (a card that
  // takes no write) says so in one message, keeps every staged edit and leaves no undo behind;
  // ran is then false.
  UpdateResult Update();
  // What the update would do now, with native paths.
  CommitPreview PreviewUpdate();
  // Card paths in a text shown as native paths.
  std::string NativePaths(std::string_view text) const;
  // Copies the drive's handset areas into a time-stamped folder of backupRoot, by default the
  // "BackUp" folder beside the program, or in the user's data folder when the program's folder
  // cannot be written. offerToOpen: the completion asks whether to open the folder.
  BackupResult Backup(char drive, const std::string& backupRoot = {}, bool offerToOpen = false);
  std::string DefaultBackupRoot() const;
  // The card's lock for one run, for a face that reads the card before it commits (the edit of
  // the command line): commits, undos, restores, repairs and backups of this session nest in
  // it. Empty, and told, when another run holds the card or the history lies on the card.
  History::Hold HoldCard(char drive);
  // The history of the loaded card, newest first.
  std::vector<Snapshot> Snapshots();
  // The snapshot the undo button takes back: the newest commit not undone (an undo's own
  // snapshot only when it is chosen by its id).
  std::optional<Snapshot> LastUndoable();

  // An undo or a restore, asked first (Yes: it runs), with what it would do.
  struct TakeBack {
    bool ran = false;
    std::string refused;     // why nothing was written, when it was refused
    RestoreSummary summary;  // what the plan does (all of it, for several snapshots)
    std::vector<UpdateResult> commits;
  };
  // Takes back the last commit (id empty), or the snapshot of that id and every later one not
  // undone, newest first. dryRun: the plan only. Refused, the card untouched, where a path the
  // undo writes or removes holds bytes the commit neither found nor left (and, for a commit
  // that ended, while the card's tables are not the ones it left).
  TakeBack Undo(const std::string& id = {}, bool dryRun = false);
  // What the last load did with a commit that did not end: ran is true when it took it back (a
  // face that loads in order to undo counts it as the undo asked for).
  const TakeBack& tookBack() const { return tookBack_; }
  bool offeredTakeBack() const { return offeredTakeBack_; }
  // Puts a backup folder onto the loaded card.
  TakeBack Restore(const std::string& backupFolder, bool dryRun = false);

  // The repair of the loaded card, loaded just before: what the check finds, what the repair
  // will do, and what the check finds afterwards.
  struct RepairOutcome {
    bool ran = false;
    std::vector<Finding> before;
    RepairPreparation preparation;
    std::vector<Finding> after;
    UpdateResult update;
  };
  RepairOutcome Repair(RepairOptions options, bool dryRun = false);

  // The handset's camera pictures on the loaded card, by folder, to be read only (the handset
  // keeps its own table of them): listed when first asked after a load.
  const CameraArea& Camera();

  // Exports into a native folder of the computer; the card is only read, and a file already
  // there is never replaced (the same file is skipped, another takes the next number). Each
  // tells the user the summary and stops between files when 中止 is pressed.
  // Whether movies can be converted for the computer in this run (ffmpeg found).
  bool CanConvertMovies();
  // The items a folder shows (the given list rows, from 1; all when none), named by their
  // titles.
  ExportResult ExportFolder(MediaKind kind, int folder, const std::string& destination,
                            const ExportOptions& options = {}, const std::vector<int>& rows = {});
  // The pictures of the camera folder at that place of Camera().folders (from 1; the given
  // pictures, from 1; all when none), named by the time they were taken.
  ExportResult ExportCameraFolder(int folder, const std::string& destination,
                                  const std::vector<int>& pictures = {});
  // Everything on the card the parts name: destination/<kind>/<number title>/, camera pictures
  // in destination/カメラ画像/<folder>/.
  ExportResult ExportCard(const std::string& destination, const ExportParts& parts = {},
                          const ExportOptions& options = {});
  // A clip's picture for thumbnails and the preview, from the movie converter main handed over;
  // callable from any thread once CanConvertMovies() was asked.
  std::optional<MovieFrame> MovieFrameOf(const std::string& nativePath, int edge) const {
    if (services_.exporting.movies == nullptr) return std::nullopt;
    return services_.exporting.movies->FrameOf(nativePath, edge);
  }
  // The loaded card's key (its file system's id, or a mapped folder's path); empty before a load.
  std::string LoadedCardKey() {
    return model_.drive == 0 ? std::string() : services_.drives.CardKeyOf(model_.drive);
  }
  // What is wrong with the card on a drive, read-only.
  std::vector<Finding> Check(char drive) { return CheckCard(drive, services_.files); }

  // Staged edits of items and folders. Each one that changes the model can be taken back
  // before the commit (StepBack).
  EditResult DeleteItem(MediaKind kind, int folder, int row) {
    return DeleteItems(kind, folder, {row});
  }
  // Several rows of one folder deleted as one edit.
  EditResult DeleteItems(MediaKind kind, int folder, std::vector<int> rows);
  EditResult RenumberItems(MediaKind kind, int folder) {
    return Edit([&] { return sdmate::RenumberItems(model_, kind, folder); });
  }
  EditResult MoveItemUp(MediaKind kind, int folder, int row) {
    return Edit([&] { return sdmate::MoveItemUp(model_, kind, folder, row); });
  }
  EditResult MoveItemDown(MediaKind kind, int folder, int row) {
    return Edit([&] { return sdmate::MoveItemDown(model_, kind, folder, row); });
  }
  // The visible items on rows of a folder moved behind the items of another folder of the kind,
  // as one edit (editing/move_items.h).
  EditResult MoveItems(MediaKind kind, int folder, const std::vector<int>& rows, int toFolder) {
    return Edit([&] {
      return sdmate::MoveItems(model_, kind, folder, rows, toFolder, services_.files,
                               services_.feedback);
    });
  }
  // A contiguous block of rows moved up (steps < 0) or down, as one edit.
  EditResult MoveRows(MediaKind kind, int folder, int first, int last, int steps) {
    return Edit([&] { return sdmate::MoveRows(model_, kind, folder, first, last, steps); });
  }
  // Titles as the user typed them (UTF-8). A text that shows the stored title unchanged keeps
  // the stored bytes: not every Shift-JIS code survives a round trip.
  EditResult StoreItemTitle(MediaKind kind, int folder, int row, std::string_view utf8);
  EditResult StoreFolderTitle(MediaKind kind, int folder, std::string_view utf8);
  int AddFolder(MediaKind kind);
  FolderDeleteResult DeleteFolder(MediaKind kind, int folder);

  // Files of the computer staged as new items.
  bool PrepareAdd(MediaKind kind) {
    return sdmate::PrepareAdd(model_, kind, services_.files, services_.feedback);
  }
  BatchResult AddFiles(MediaKind kind, int folder, const std::vector<std::string>& paths) {
    return Batch([&] {
      return sdmate::AddFiles(model_, kind, folder, paths, services_.files, services_.codec,
                              services_.feedback, &fitting_);
    });
  }
  BatchResult DropFiles(MediaKind kind, int folder, const std::vector<std::string>& paths) {
    return Batch([&] {
      return sdmate::DropFiles(model_, kind, folder, paths, services_.files, services_.codec,
                               services_.feedback, &fitting_);
    });
  }

  // The staged edits one by one: back to the model before the last edit, and forward again.
  // A load or a commit starts afresh.
  bool CanStepBack() const { return !back_.empty(); }
  bool CanStepForward() const { return !forward_.empty(); }
  bool StepBack() { return Step(back_, forward_); }
  bool StepForward() { return Step(forward_, back_); }

  // Fitting pictures and movies to the handset as they are added (import/fit_files.h): possible
  // for a kind when main handed over its fitter; off until switched on.
  bool CanFit(MediaKind kind) const { return fitting_.CanFit(kind); }
  bool FitOn(MediaKind kind) const { return fitting_.On(kind); }
  void SetFit(MediaKind kind, bool on) { fitting_.SetOn(kind, on); }
  // The add dialog's filter of a kind, with the types fitting takes while it is on.
  std::string AddDialogFilter(MediaKind kind) const { return DialogFilter(kind, FitOn(kind)); }

 private:
  TakeBack RunUndo(const std::vector<Snapshot>& targets);
  // A card path as the user is shown it: native where the drive is mapped.
  ShownPath Shown() const;
  // HoldCard with the refusal given back instead of told.
  History::Hold Hold(char drive, std::string& refused);
  // A model state the staged edits can return to.
  struct Staged {
    CardModel model;
    bool updateDue = false;
  };
  template <typename Operation>
  EditResult Edit(Operation operation) {
    Staged before{model_, updateDue_};
    const EditResult result = operation();
    if (result.changed) Remember(std::move(before));
    return result;
  }
  template <typename Operation>
  BatchResult Batch(Operation operation) {
    Staged before{model_, updateDue_};
    const BatchResult result = operation();
    if (result.ranToEnd) updateDue_ = true;
    if (result.staged > 0) Remember(std::move(before));
    return result;
  }
  // An edit changed the model: its state before goes on the stack, the update is due.
  void Remember(Staged before);
  bool Step(std::vector<Staged>& from, std::vector<Staged>& to);
  // The model was read from the card again: no staged edit to step through.
  // Drops the staged states (and a model a load replaced), freed beside the user's work.
  void ForgetStaged(CardModel replaced = {});

  // Every entry of the card directories the plans can change, with each file's size and time:
  // what a commit that changed nothing leaves as it was. The run holds the card, so nothing
  // else changes it meanwhile.
  std::string CardListing(const std::vector<KindPlan>& plans);

  ExportResult Export(const std::vector<ExportFile>& plan, const std::string& destination,
                      const ExportOptions& options);

  SessionServices services_;
  History history_;
  CameraArea camera_;
  FileFitting fitting_{services_.fit};
  CardModel model_;
  LoadedCard read_;              // what the last load or read-back read of the card
  std::vector<Staged> back_;     // the states before each staged edit, oldest first
  std::vector<Staged> forward_;  // the states stepped back from, nearest last
  std::future<void> freeing_;    // states no longer needed, being freed beside the user's work
  bool updateDue_ = false;
  bool backupAdvice_ = false;
  bool cardPresent_ = false;
  TakeBack tookBack_;
  bool offeredTakeBack_ = false;
};

}  // namespace sdmate
