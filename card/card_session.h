// One card session: the model with the state the window keeps beside it (whether the update is
// due, the backup advice) and every operation the window and the command line call. Both faces
// drive the card through this class only.
#pragma once

#include <string>
#include <vector>

#include "card/backup.h"
#include "card/card_load.h"
#include "card/card_update.h"
#include "editing/folder_operations.h"
#include "editing/item_operations.h"
#include "import/stage_files.h"

namespace sdmate {

class CardSession {
 public:
  CardSession(Files& files, Drives& drives, TextCodec& codec, Feedback& feedback)
      : files_(files), drives_(drives), codec_(codec), feedback_(feedback) {}

  CardModel& model() { return model_; }
  const CardModel& model() const { return model_; }
  Files& files() { return files_; }
  Drives& drives() { return drives_; }
  TextCodec& codec() { return codec_; }
  Feedback& feedback() { return feedback_; }

  // The update button: enabled by every staged edit, disabled by the end of an update.
  bool updateDue() const { return updateDue_; }
  // Set when the window is first shown; cleared by the first load and by a backup.
  bool backupAdvice() const { return backupAdvice_; }
  void SetBackupAdvice(bool advice) { backupAdvice_ = advice; }

  LoadResult Load(char drive, LoadOptions options = {}) {
    LoadResult result = LoadCard(model_, drive, backupAdvice_, files_, drives_, feedback_, options);
    if (result.anyFolderAdded()) updateDue_ = true;
    return result;
  }
  UpdateResult Update() {
    UpdateResult result = UpdateCard(model_, backupAdvice_, files_, drives_, feedback_);
    if (result.ran) updateDue_ = false;
    return result;
  }
  BackupResult Backup(const std::string& backupRoot, const std::string& stamp) {
    return BackupCard(model_.drive, backupRoot, stamp, backupAdvice_, files_, feedback_);
  }

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
  EditResult StoreItemTitle(MediaKind kind, int folder, int row, std::string_view sjisTitle) {
    return Due(sdmate::StoreItemTitle(model_, kind, folder, row, sjisTitle));
  }
  int AddFolder(MediaKind kind) {
    int added = sdmate::AddFolder(model_, kind, feedback_);
    if (added != 0) updateDue_ = true;
    return added;
  }
  FolderDeleteResult DeleteFolder(MediaKind kind, int folder) {
    FolderDeleteResult result = sdmate::DeleteFolder(model_, kind, folder, feedback_);
    if (result.deleted) updateDue_ = true;
    return result;
  }
  EditResult StoreFolderTitle(MediaKind kind, int folder, std::string_view sjisTitle) {
    return Due(sdmate::StoreFolderTitle(model_, kind, folder, sjisTitle));
  }
  bool PrepareAdd(MediaKind kind) { return sdmate::PrepareAdd(model_, kind, files_, feedback_); }
  BatchResult AddFiles(MediaKind kind, int folder, const std::vector<std::string>& paths) {
    return Batch(sdmate::AddFiles(model_, kind, folder, paths, files_, codec_, feedback_));
  }
  BatchResult DropFiles(MediaKind kind, int folder, const std::vector<std::string>& paths) {
    return Batch(sdmate::DropFiles(model_, kind, folder, paths, files_, codec_, feedback_));
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

  Files& files_;
  Drives& drives_;
  TextCodec& codec_;
  Feedback& feedback_;
  CardModel model_;
  bool updateDue_ = false;
  bool backupAdvice_ = false;
};

}  // namespace sdmate
