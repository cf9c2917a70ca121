// The session's operations that do more than hand a call on.
#include "card/card_session.h"

#include "card/card_messages.h"
#include "editing/titles.h"
#include "platform/native_path.h"

namespace sdmate {

LoadResult CardSession::Load(char drive, LoadOptions options) {
  LoadResult result = LoadCard(model_, drive, backupAdvice_, services_.files, services_.drives,
                               services_.feedback, options);
  if (result.anyFolderAdded()) updateDue_ = true;
  if (result.loaded) cardPresent_ = true;
  return result;
}

bool CardSession::CheckCardPresent() {
  if (!cardPresent_) return false;
  if (DrivePresent(model_.drive, services_.drives, services_.files)) return true;
  cardPresent_ = false;
  services_.feedback.Tell(MessageKind::Warning, text::kCardRemoved);
  return false;
}

bool CardSession::Eject(char drive) {
  const bool loadedHere = cardPresent_ && model_.drive == drive;
  if (!EjectDrive(drive, loadedHere && updateDue_, services_.drives, services_.feedback))
    return false;
  if (loadedHere) cardPresent_ = false;
  return true;
}

UpdateResult CardSession::Update() {
  UpdateResult result =
      UpdateCard(model_, backupAdvice_, services_.files, services_.drives, services_.feedback);
  if (result.ran) updateDue_ = false;
  return result;
}

std::string CardSession::DefaultBackupRoot() const {
  // Beside the program where the user may write there (a copied or portable program), else in
  // the user's own data folder (an installed one).
  const std::string& program = services_.places.programDirectory;
  const bool besideProgram = services_.files.IsWritableDirectory(program);
  return JoinNativePath(besideProgram ? program : services_.places.dataDirectory, "BackUp");
}

BackupResult CardSession::Backup(char drive, const std::string& backupRoot, bool offerToOpen) {
  return BackupCard(drive, backupRoot.empty() ? DefaultBackupRoot() : backupRoot,
                    FolderStamp(services_.clock.Now()), backupAdvice_, services_.files,
                    services_.feedback, offerToOpen);
}

EditResult CardSession::StoreItemTitle(MediaKind kind, int folder, int row, std::string_view utf8) {
  const KindState& state = model_.of(kind);
  if (!state.hasFolder(folder)) return {};
  const ItemRow* item = VisibleItemAtRow(state.folder(folder), row);
  if (item == nullptr) return {};
  return Due(sdmate::StoreItemTitle(model_, kind, folder, row,
                                    TitleBytes(services_.codec, item->title, utf8)));
}

EditResult CardSession::StoreFolderTitle(MediaKind kind, int folder, std::string_view utf8) {
  const KindState& state = model_.of(kind);
  if (!state.hasFolder(folder)) return {};
  return Due(sdmate::StoreFolderTitle(
      model_, kind, folder, TitleBytes(services_.codec, state.folder(folder).folderTitle, utf8)));
}

int CardSession::AddFolder(MediaKind kind) {
  const int added = sdmate::AddFolder(model_, kind, services_.feedback);
  if (added != 0) updateDue_ = true;
  return added;
}

FolderDeleteResult CardSession::DeleteFolder(MediaKind kind, int folder) {
  FolderDeleteResult result = sdmate::DeleteFolder(model_, kind, folder, services_.feedback);
  if (result.deleted) updateDue_ = true;
  return result;
}

}  // namespace sdmate
