// The card rig and the staged edits of the engine's tests.
#include "tests/support/card_rig.h"

#include <cstdlib>
#include <fstream>

#include "platform/native_path.h"

namespace sdmate::test {

CardRig::CardRig() : files(MakeNativeFiles(table)), card(temp_.path() / "card") {
  fs::create_directories(card.root());
  table.Assign(kDrive, card.root().string());
}

LoadResult CardRig::Load(Files* via, LoadOptions options) {
  return LoadCard(model, kDrive, advice, via ? *via : *files, drives, feedback, options);
}

UpdateResult CardRig::Update(Files* via) {
  return UpdateCard(model, advice, via ? *via : *files, drives, feedback);
}

CardModel CardRig::LoadFresh() {
  CardModel fresh;
  bool noAdvice = false;
  ScriptedFeedback quiet;
  LoadCard(fresh, kDrive, noAdvice, *files, drives, quiet);
  return fresh;
}

std::string CardRig::TableBytes(MediaKind kind, int n) const {
  return ReadBytes(Native(TablePath(kDrive, kind, n).substr(2)));
}

void StageDelete(FolderSlot& folder, int row) {
  ItemRow* item = VisibleItemAtRow(folder, row);
  if (!item) return;
  const int visible = folder.visibleCount();
  for (ItemRow& other : folder.items) {
    if (!other.deleted && other.order > row) --other.order;
  }
  item->order = visible;
  item->deleted = true;
  ++folder.deletedCount;
}

void StageSwap(FolderSlot& folder, int row) {
  ItemRow* upper = VisibleItemAtRow(folder, row);
  ItemRow* lower = VisibleItemAtRow(folder, row + 1);
  if (!upper || !lower) return;
  std::swap(upper->order, lower->order);
}

void StageRenumber(FolderSlot& folder, MediaKind kind) {
  for (ItemRow& item : folder.items) {
    if (!item.deleted) {
      item.targetName = DataFileName(kind, item.order, ExtensionOf(item.targetName));
    }
  }
}

void StageNewFile(FolderSlot& folder, MediaKind kind, int n, char drive, const fs::path& file,
                  int p) {
  const int visible = folder.visibleCount();
  for (ItemRow& other : folder.items) {
    if (other.deleted) ++other.order;
  }
  std::string directory = Utf8(file.parent_path()) + NativeSeparator();
  std::string name = Utf8(file.filename());
  folder.items.push_back({.order = visible + 1,
                          .deleted = false,
                          .sourceDir = directory,
                          .targetDir = CardFolderDirectory(drive, kind, n),
                          .sourceName = name,
                          .targetName = DataFileName(kind, p, AsciiUpper(ExtensionOf(name))),
                          .stamp = "2006:01:02 03:04:00",
                          .title = name,
                          .size = static_cast<std::int64_t>(fs::file_size(file))});
}

void StageFolderDelete(KindState& state, MediaKind kind, int n, char drive) {
  bool fromCard = false;
  for (const ItemRow& item : state.folder(n).items) fromCard = fromCard || item.OnCard();
  std::string directory = CardFolderDirectory(drive, kind, n);
  directory.pop_back();
  state.removedFolders.push_back(fromCard ? directory : std::string());
  state.folders.erase(state.folders.begin() + (n - 1));
}

ReadOnlyDirectory::ReadOnlyDirectory(fs::path path) : path_(std::move(path)) {
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
  auto writable = [this] {
    fs::path probe = path_ / ".probe";
    bool ok = static_cast<bool>(std::ofstream(probe));
    std::error_code error;
    fs::remove(probe, error);
    return ok;
  };
  if (writable()) {
    // A super-user writes through the permissions; the immutable attribute stops it too.
    std::string command = "chattr +i '" + path_.string() + "' 2>/dev/null";
    immutable_ = std::system(command.c_str()) == 0;
  }
  effective_ = !writable();
}

ReadOnlyDirectory::~ReadOnlyDirectory() {
  if (immutable_) {
    std::string command = "chattr -i '" + path_.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return;
  }
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
}

}  // namespace sdmate::test
