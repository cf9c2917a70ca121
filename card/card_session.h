// One card session: the model with the state the window keeps beside it (whether the update is
// due, the backup advice) and every operation the window and the command line call. Both faces
// drive the card through this class only; it hands out the model to read, never to change.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "card/backup.h"
#include "card/card_check.h"
#include "card/card_load.h"
#include "card/card_update.h"
#include "card/drive_watch.h"
#include "card/export_items.h"
#include "editing/folder_operations.h"
#include "editing/item_operations.h"
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
};

class CardSession {
 public:
  explicit CardSession(const SessionServices& services) : services_(services) {}

  const CardModel& model() const { return model_; }

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
  LoadResult Load(char drive, LoadOptions options = {});
  UpdateResult Update();
  // Copies the drive's handset areas into a time-stamped folder of backupRoot, by default the
  // "BackUp" folder beside the program, or in the user's data folder when the program's folder
  // cannot be written. offerToOpen: the completion asks whether to open the folder.
  BackupResult Backup(char drive, const std::string& backupRoot = {}, bool offerToOpen = false);
  std::string DefaultBackupRoot() const;
  // Copies the items a folder shows into a native folder, named by their titles.
  ExportResult ExportFolder(MediaKind kind, int folder, const std::string& destination) {
    if (!model_.of(kind).hasFolder(folder)) return {};
    return ExportItems(model_.of(kind).folder(folder), destination, services_.files,
                       services_.codec, services_.feedback);
  }
  // What is wrong with the card on a drive, read-only.
  std::vector<Finding> Check(char drive) { return CheckCard(drive, services_.files); }

  // Staged edits of items and folders.
  EditResult DeleteItem(MediaKind kind, int folder, int row) {
    return Due(sdmate::DeleteItem(model_, kind, folder, row));
  }
  EditResult RenumberItems(MediaKind kind, int folder) {
    return Due(sdmate::RenumberItems(model_, kind, folder));
  }
  EditResult MoveItemUp(MediaKind kind, int folder, int row) {
    return Due(sdmate::MoveItemUp(model_, kind, folder, row));
  }
  EditResult MoveItemDown(MediaKind kind, int folder, int row) {
    return Due(sdmate::MoveItemDown(model_, kind, folder, row));
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
    return Batch(sdmate::AddFiles(model_, kind, folder, paths, services_.files, services_.codec,
                                  services_.feedback));
  }
  BatchResult DropFiles(MediaKind kind, int folder, const std::vector<std::string>& paths) {
    return Batch(sdmate::DropFiles(model_, kind, folder, paths, services_.files, services_.codec,
                                   services_.feedback));
  }

 private:
  EditResult Due(EditResult result) {
    if (result.changed) updateDue_ = true;
    return result;
  }
  BatchResult Batch(BatchResult result) {
    if (result.ranToEnd) updateDue_ = true;
    return result;
  }

  SessionServices services_;
  CardModel model_;
  bool updateDue_ = false;
  bool backupAdvice_ = false;
  bool cardPresent_ = false;
};

}  // namespace sdmate
