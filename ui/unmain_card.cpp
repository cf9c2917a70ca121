// The main window's handlers of the card's history and check: the undo of the last commit, the
// way back to a chosen snapshot, the restore of a backup and the check with its repair. Each
// runs through the session, which asks and tells through the feedback, and redraws the card.
#include <QPushButton>
#include <QString>

#include "ui/drive_chooser.h"
#include "ui/unmain.h"

namespace sdmate {
namespace {

constexpr char kRestoreCaption[] = "復元するバックアップのフォルダ";

}  // namespace

void TfrMain::SetHistoryChooser(std::unique_ptr<HistoryChooser> chooser) {
  historyChooser_ = std::move(chooser);
}

void TfrMain::SetCheckDialog(std::unique_ptr<CheckDialog> dialog) {
  checkDialog_ = std::move(dialog);
}

void TfrMain::SetBackupPicker(std::unique_ptr<FolderPicker> picker) {
  backupPicker_ = std::move(picker);
}

void TfrMain::ShowUndoable() {
  btUndo->setEnabled(session_.model().loaded && session_.LastUndoable().has_value());
}

void TfrMain::ShowCommitted() {
  if (!session_.model().loaded) {
    ShowUndoable();
    return;
  }
  ShowModel();
  driveChooser->Select(session_.model().drive);
}

void TfrMain::btUndoClick() {
  if (!session_.model().loaded) return;
  if (session_.Undo().ran) ShowCommitted();
  ShowUndoable();
}

void TfrMain::btHistoryClick() {
  if (!session_.model().loaded) return;
  const std::string id = historyChooser_->Choose(this, session_.Snapshots());
  if (id.empty()) return;
  if (session_.Undo(id).ran) ShowCommitted();
  ShowUndoable();
}

void TfrMain::btRestoreClick() {
  if (!session_.model().loaded) return;
  const std::string folder =
      backupPicker_->Pick(this, QString::fromUtf8(kRestoreCaption), session_.DefaultBackupRoot());
  if (folder.empty()) return;
  if (session_.Restore(folder).ran) ShowCommitted();
}

void TfrMain::btCheckClick() {
  if (!session_.model().loaded) return;
  const char drive = session_.model().drive;
  std::vector<std::string> lines;
  for (const Finding& finding : session_.Check(drive)) {
    const std::string native = NativePath(finding.path);
    std::string line =
        std::string(ProblemText(finding.problem)) + ": " + (native.empty() ? finding.path : native);
    if (!finding.detail.empty()) line += " (" + session_.ToUtf8(finding.detail) + ")";
    lines.push_back(std::move(line));
  }
  const CheckChoice choice = checkDialog_->Show(this, lines);
  if (!choice.repair) return;
  // The repair starts from the card as it is: staged edits give way to a fresh load.
  if (!session_.Load(drive, {.askRemovable = false}).loaded) return;
  session_.Repair({.deleteOrphans = choice.deleteOrphans});
  ShowCommitted();
}

}  // namespace sdmate
