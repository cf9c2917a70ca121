// The commit told in words before it runs.
#include "card/commit_preview.h"

#include "card/card_update.h"
#include "card/commit_plan.h"
#include "core/kind_traits.h"

namespace sdmate {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

void Count(std::string& text, const char* words, int count) {
  if (count == 0) return;
  if (!text.empty()) text += "、";
  text += std::string(words) + " " + std::to_string(count);
}

}  // namespace

bool CommitPreview::ChangesTheCard() const {
  for (const Counts& counts : items) {
    if (counts.added + counts.deleted + counts.renamed + counts.moved > 0) return true;
  }
  return foldersMade + foldersRemoved + tablesWritten > 0;
}

CommitPreview PreviewCommit(const CardModel& model, Files& files,
                            const std::function<std::string(const std::string&)>& shownPath) {
  CommitPreview preview;
  CardModel copy = model;
  const CommitRequest request = PlanCommit(copy, files, "commit");
  for (const KindPlan& plan : request.plans) {
    const char* kindName = TraitsOf(plan.kind).exportFolder;
    CommitPreview::Counts& counts = preview.items[IndexOf(plan.kind)];
    const std::string prefix = std::string(kindName) + " ";
    for (const Need& need : plan.needs) {
      if (need.added) {
        ++counts.added;
        preview.lines.push_back(prefix + "追加: " + shownPath(need.source) + " → " +
                                shownPath(need.path));
      } else if (need.source != need.path) {
        const bool rename = DirectoryOf(need.source) == DirectoryOf(need.path);
        ++(rename ? counts.renamed : counts.moved);
        preview.lines.push_back(prefix + (rename ? "名前の変更: " : "移動: ") +
                                shownPath(need.source) + " → " + shownPath(need.path));
      }
    }
    for (const Operation& operation : plan.operations) {
      if (operation.step != Step::WriteTable) continue;
      ++preview.tablesWritten;
      // A table the card does not have yet is a folder made.
      if (files.Exists(operation.path)) continue;
      ++preview.foldersMade;
      preview.lines.push_back(prefix + "フォルダ作成: " + shownPath(operation.path));
    }
    for (const RemovedFolder& removed : model.of(plan.kind).removedFolders) {
      ++preview.foldersRemoved;
      preview.lines.push_back(prefix + "フォルダ削除: " + shownPath(removed));
    }
  }
  // Deleted items are the model's: files on the card whose item is marked deleted.
  for (MediaKind kind : kAllKinds) {
    const std::string prefix = std::string(TraitsOf(kind).exportFolder) + " ";
    for (const FolderSlot& folder : model.of(kind).folders) {
      for (int slot = 0; slot < folder.itemCount(); ++slot) {
        const ItemRow& item = folder.items[static_cast<std::size_t>(slot)];
        if (!item.deleted || item.sourceDir.empty() || item.sourceDir[0] != model.drive) continue;
        ++preview.items[IndexOf(kind)].deleted;
        preview.lines.push_back(prefix + "削除: " + shownPath(item.sourceDir + item.sourceName));
      }
    }
  }
  return preview;
}

std::string PreviewSummary(const CommitPreview& preview) {
  std::string summary;
  for (MediaKind kind : kAllKinds) {
    const CommitPreview::Counts& counts = preview.items[IndexOf(kind)];
    std::string line;
    Count(line, "追加", counts.added);
    Count(line, "削除", counts.deleted);
    Count(line, "名前の変更", counts.renamed);
    Count(line, "移動", counts.moved);
    if (!line.empty()) summary += std::string(TraitsOf(kind).exportFolder) + ": " + line + "\n";
  }
  std::string folders;
  Count(folders, "フォルダ作成", preview.foldersMade);
  Count(folders, "フォルダ削除", preview.foldersRemoved);
  if (!folders.empty()) summary += folders + "\n";
  if (summary.empty() && preview.tablesWritten > 0) summary = "タイトルと並び順の書き換え\n";
  return summary;
}

}  // namespace sdmate
