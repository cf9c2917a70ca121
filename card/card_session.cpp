// The session's operations that do more than hand a call on.
#include "card/card_session.h"

#include "editing/titles.h"
#include "platform/native_path.h"

namespace sdmate {

LoadResult CardSession::Load(char drive, LoadOptions options) {
  LoadResult result = LoadCard(model_, drive, backupAdvice_, services_.files, services_.drives,
                               services_.feedback, options);
  // The load replaced the staged items: no fitted file is read any more.
  if (result.loaded) fitting_.Clear();
  if (result.anyFolderAdded()) updateDue_ = true;
  return result;
}

UpdateResult CardSession::Update() {
  UpdateResult result =
      UpdateCard(model_, backupAdvice_, services_.files, services_.drives, services_.feedback);
  // The fitted files are on the card now, or the read-back dropped the items that read them.
  if (result.ran) fitting_.Clear();
  if (result.ran) updateDue_ = false;
  return result;
}

std::string CardSession::DefaultBackupRoot() const {
  return JoinNativePath(services_.places.programDirectory, "BackUp");
}

BackupResult CardSession::Backup(char drive, const std::string& backupRoot) {
  return BackupCard(drive, backupRoot.empty() ? DefaultBackupRoot() : backupRoot,
                    FolderStamp(services_.clock.Now()), backupAdvice_, services_.files,
                    services_.feedback);
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
