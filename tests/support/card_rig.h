// A card in a temporary folder mapped to a drive letter, with real files, fake drives and a
// scripted feedback: what the card engine's tests load, edit and commit. The staged edits here
// change the model's fields the way the editing operations do, so the commit can be tested on
// its own.
#pragma once

#include <memory>
#include <string>

#include "card/backup.h"
#include "card/card_load.h"
#include "card/card_update.h"
#include "core/card_model.h"
#include "tests/support/card_builder.h"

namespace sdmate::test {

class CardRig {
 public:
  static constexpr char kDrive = 'E';

  CardRig();

  // The folder the card's root is in (the card itself is <base>/card); tests put files of the
  // computer and "surroundings" of the card beside it.
  const fs::path& base() const { return temp_.path(); }
  const fs::path& cardRoot() const { return card.root(); }

  // Load and update through the rig's files, or through the files given (a failing double).
  LoadResult Load(Files* via = nullptr, LoadOptions options = {});
  UpdateResult Update(Files* via = nullptr);
  // A fresh load into a separate model, as a later run of the program would see the card.
  CardModel LoadFresh();

  FolderSlot& Folder(MediaKind kind, int n) { return model.of(kind).folder(n); }
  // Native path of a card path without drive.
  fs::path Native(const std::string& cardPath) const { return card.Native(cardPath); }
  // Bytes of folder n's table on the card.
  std::string TableBytes(MediaKind kind, int n) const;

 private:
  TempDir temp_;

 public:
  DriveTable table;
  std::unique_ptr<Files> files;
  FakeDrives drives{table};
  ScriptedFeedback feedback;
  CardBuilder card;
  CardModel model;
  bool advice = false;
};

// Staged edits, field by field as the editing operations leave the model.
// Marks the item of a row deleted and moves it behind the visible items.
void StageDelete(FolderSlot& folder, int row);
// Swaps the orders of rows row and row + 1.
void StageSwap(FolderSlot& folder, int row);
// Gives every visible item the name of its row: prefix, number of its order, its extension.
void StageRenumber(FolderSlot& folder, MediaKind kind);
// A file of the computer staged as a new item of folder n with file number p.
void StageNewFile(FolderSlot& folder, MediaKind kind, int n, char drive, const fs::path& file,
                  int p);
// Folder n removed; its card directory recorded when it held an item read from the card.
void StageFolderDelete(KindState& state, MediaKind kind, int n, char drive);

// Makes a directory unwritable for the life of the object, also for a super-user (through the
// immutable attribute where the file system has one). effective() tells whether it worked.
class ReadOnlyDirectory {
 public:
  explicit ReadOnlyDirectory(fs::path path);
  ~ReadOnlyDirectory();
  ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
  ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;
  bool effective() const { return effective_; }

 private:
  fs::path path_;
  bool immutable_ = false;
  bool effective_ = false;
};

}  // namespace sdmate::test
