// Adding, deleting and retitling the folders of a kind.
#include "editing/folder_operations.h"

#include "core/content_table.h"
#include "core/sjis.h"

namespace sdmate {

int AddFolder(CardModel& model, MediaKind kind, Feedback& feedback) {
  KindState& state = model.of(kind);
  const int n = state.nextFolderNumber();
  if (n > kMaxFolders) {
    feedback.Tell(MessageKind::Warning, "フォルダは127個までしか作成できません．");
    return 0;
  }
  FolderSlot folder;
  folder.folderTitle = DefaultFolderTitle(kind, n);
  state.folders.push_back(std::move(folder));
  return n;
}

FolderDeleteResult DeleteFolder(CardModel&, MediaKind, int, Feedback&) { return {}; }

EditResult StoreFolderTitle(CardModel& model, MediaKind kind, int folder,
                            std::string_view sjisTitle) {
  KindState& state = model.of(kind);
  if (!state.hasFolder(folder)) return {};
  state.folder(folder).folderTitle = std::string(CutAtCharBoundary(sjisTitle, kHeaderTitleRead));
  return {.changed = true};
}

}  // namespace sdmate
