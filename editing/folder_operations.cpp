// Adding, deleting and retitling the folders of a kind.
#include "editing/folder_operations.h"

#include <algorithm>

#include "core/card_guard.h"
#include "core/content_table.h"
#include "core/sjis.h"

namespace sdmate {
namespace {

// A directory of the card the update may delete whole: on the loaded card, and a plain path
// below the kind's data directory as a trusted table header names one.
bool IsRemovableFolderDirectory(const CardModel& model, MediaKind kind, std::string_view dir) {
  if (model.drive == 0) return false;
  const std::string root = CardRoot(model.drive);
  return dir.starts_with(root) && IsTrustedDirectoryText(kind, dir.substr(root.size()));
}

// The card directory the folder's items were read from: the sourceDir of the first item whose
// file has not left its place. A folder of new or computer files has none, and nothing outside
// the kind's data directory is ever named, so the update can never delete more than a folder.
std::string RemovedDirectoryOf(const CardModel& model, MediaKind kind, const FolderSlot& folder) {
  for (const ItemRow& item : folder.items) {
    if (item.sourceDir != item.targetDir) continue;
    std::string_view dir = item.sourceDir;
    if (dir.empty() || dir.back() != '\\') return {};
    dir.remove_suffix(1);
    return IsRemovableFolderDirectory(model, kind, dir) ? std::string(dir) : std::string();
  }
  return {};
}

}  // namespace

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

FolderDeleteResult DeleteFolder(CardModel& model, MediaKind kind, int folder, Feedback& feedback) {
  KindState& state = model.of(kind);
  // The last folder of a kind is never deleted.
  if (!state.hasFolder(folder) || state.folderCount() <= 1) return {};
  if (state.removedFolders.size() >= static_cast<std::size_t>(kMaxRemovedFolders)) {
    feedback.Tell(MessageKind::Warning,
                  "削除したフォルダは128個までしか記録できません．\n"
                  "メモリカードを更新してから削除してください．");
    return {};
  }
  if (feedback.Ask(MessageKind::Confirmation, TraitsOf(kind).folderDeleteQuestion,
                   Buttons::YesNo) != Answer::Yes) {
    return {};
  }

  const FolderSlot& doomed = state.folder(folder);
  std::string directory = RemovedDirectoryOf(model, kind, doomed);
  if (!directory.empty()) state.removedFolders.push_back(std::move(directory));

  // Items already marked were taken off the gauge when they were marked.
  std::int64_t visibleBytes = 0;
  for (const ItemRow& item : doomed.items) {
    if (!item.deleted) visibleBytes += item.size;
  }
  model.gauge.Subtract(visibleBytes);
  feedback.Refresh();

  // The later folders move down one number with everything they hold; their items keep their
  // directories, and the update moves their files.
  state.folders.erase(static_cast<std::size_t>(folder - 1));
  return {.deleted = true, .folderToShow = std::min(folder, state.folderCount())};
}

EditResult StoreFolderTitle(CardModel& model, MediaKind kind, int folder,
                            std::string_view sjisTitle) {
  KindState& state = model.of(kind);
  if (!state.hasFolder(folder)) return {};
  state.folder(folder).folderTitle = std::string(CutAtCharBoundary(sjisTitle, kHeaderTitleRead));
  return {.changed = true};
}

}  // namespace sdmate
