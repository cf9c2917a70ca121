// What a repair adds to the loaded model.
#include "card/repair.h"

#include <map>
#include <utility>

#include "card/card_load.h"
#include "card/table_probe.h"
#include "core/card_guard.h"
#include "core/content_table.h"

namespace sdmate {
namespace {

// The directory a folder's files are in on the card: the first item's, else its own.
std::string DirectoryOf(const FolderSlot& folder, const std::string& own) {
  for (const ItemRow& item : folder.items) {
    if (!item.added) return item.sourceDir;
  }
  return own;
}

void Append(FolderSlot& folder, ItemRow item) {
  const int visible = folder.visibleCount();
  // Room behind the visible items: deleted ones move one place further down.
  for (ItemRow& other : folder.items) {
    if (other.deleted) ++other.order;
  }
  if (item.deleted) {
    item.order = folder.itemCount() + 1;
    ++folder.deletedCount;
  } else {
    item.order = visible + 1;
  }
  folder.items.push_back(std::move(item));
}

}  // namespace

RepairPreparation PrepareRepair(CardModel& model, const std::vector<Finding>& findings,
                                CardListings& listings, RepairOptions options) {
  Files& files = listings.files();
  RepairPreparation preparation;
  const char drive = model.drive;
  for (MediaKind kind : kAllKinds) {
    KindState& state = model.of(kind);
    // Which folder reads which directory, by the directory's upper-cased card path.
    std::map<std::string, int> folderOf;
    for (int n = 1; n <= state.folderCount(); ++n) {
      folderOf[AsciiUpper(
          DirectoryOf(std::as_const(state).folder(n), CardFolderDirectory(drive, kind, n)))] = n;
    }
    for (const Finding& finding : findings) {
      if (finding.kind != kind || finding.problem != Problem::AfterGap) continue;
      const int number = TableNumberOf(kind, finding.path.substr(finding.path.rfind('\\') + 1));
      const auto bytes = files.ReadFile(finding.path, kLargestTableRead);
      if (number == 0 || !bytes || state.folderCount() >= kMaxFolders) {
        preparation.kept.push_back(finding);
        continue;
      }
      TableNotes notes;
      state.folders.push_back(FolderFromTable(kind, drive, number, *bytes, listings, notes));
      const int n = state.folderCount();
      folderOf[AsciiUpper(DirectoryOf(std::as_const(state).folder(n),
                                      CardFolderDirectory(drive, kind, number)))] = n;
      ++preparation.foldersBrought;
    }
    for (const Finding& finding : findings) {
      if (finding.kind != kind || finding.problem != Problem::Orphan) continue;
      const std::size_t slash = finding.path.rfind('\\');
      const std::string directory = finding.path.substr(0, slash + 1);
      const std::string name = finding.path.substr(slash + 1);
      auto folder = folderOf.find(AsciiUpper(directory));
      const auto listed = [&](const FolderSlot& slot) {
        for (const ItemRow& item : slot.items) {
          if (AsciiUpper(item.SourcePath()) == AsciiUpper(finding.path)) return true;
        }
        return false;
      };
      if (folder != folderOf.end() && listed(state.folder(folder->second))) continue;
      if (!IsHandsetFileName(kind, name) || folder == folderOf.end() ||
          state.folder(folder->second).itemCount() >= kMaxItems) {
        preparation.kept.push_back(finding);
        continue;
      }
      Append(state.folder(folder->second), {.deleted = options.deleteOrphans,
                                            .sourceDir = directory,
                                            .targetDir = directory,
                                            .sourceName = name,
                                            .targetName = name,
                                            .stamp = files.FileStampText(finding.path),
                                            .title = name,
                                            .size = listings.SizeOf(directory, name)});
      ++(options.deleteOrphans ? preparation.deleted : preparation.adopted);
    }
    for (const Finding& finding : findings) {
      if (finding.kind == kind && finding.problem == Problem::Unreadable) {
        preparation.kept.push_back(finding);
      }
    }
  }
  return preparation;
}

}  // namespace sdmate
