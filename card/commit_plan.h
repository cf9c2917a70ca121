// A commit as a list of operations, planned for a whole kind before the first one runs, in the
// handset's order: removed folders, then folder by folder its table and its deletes, renames,
// copies and moves, then the tables and directories of folders that no longer exist. Beside the
// operations, what the card must hold afterwards: the content every item that stays needs, and
// where.
#pragma once

#include <string>
#include <vector>

#include "card/card_load.h"
#include "core/card_model.h"
#include "platform/files.h"

namespace sdmate {

enum class Step {
  Status,         // shows text (no file is touched)
  Refuse,         // a path the plan will not touch: failure + path are reported, nothing runs
  MakeDirectory,  // path, with its missing parents
  WriteTable,     // path := bytes, through a temporary name, flushed
  DeleteFile,     // path; skipped when its content is still needed
  DeleteTree,     // path, a directory with everything in it; needed files are kept
  RemoveEmptyDirectory,  // path, a directory, when nothing is left in it
  Copy,                  // from -> path
  Move,                  // from -> path (a rename on the card)
  SetAside,    // from -> path: a file the plan does not own, in the way of a later step, renamed
               // to a free name of its folder (path) so that nothing overwrites it
  FolderDone,  // a step of progress: folder `folder` is through, and its items' places in the
               // model are theirs (folder 0: a file operation of an undo or a restore)
};

struct Operation {
  Step step = Step::Status;
  std::string path;            // the target: made, written, deleted, copied or moved to
  std::string from;            // Copy, Move: the source, a card path or a path of the computer
  std::string bytes;           // WriteTable: the table
  const char* text = nullptr;  // Status: the text; otherwise the failure line's words
  int folder = 0;  // the folder whose file steps this is, from 1 (0: none); a folder whose
                   // table could not be written keeps its files where they were
  int after = -1;  // the operation that must have succeeded first, whose result is the source
  ItemRow* item = nullptr;  // the item whose file this carries to its place
  // Copy: the step owns whatever its target holds (an undo putting back what its commit found
  // there, a restore). Any other step never writes over a file the plan does not own.
  bool replaces = false;
};

// What an item needs of the card after the commit: its file's content at its final place.
struct Need {
  std::string path;    // final card path (targetDir + targetName)
  std::string source;  // where that content is now: a card path or a path of the computer
  bool added = false;  // a file the user added: copied, never moved or deleted
  int folder = 0;
  ItemRow* item = nullptr;
};

struct KindPlan {
  MediaKind kind = MediaKind::Image;
  std::vector<Operation> operations;
  std::vector<Need> needs;
  // The card directories the plan may change things in (strictly below them), and where a
  // content is put out of the way.
  std::vector<std::string> areas;
  std::string temporaryDirectory;
  // True when an operation would change the card (a plan may find nothing to change).
  bool ChangesTheCard() const;
};

// Every card file and directory the plans may change: what a snapshot saves and hashes before
// the commit, and what an undo may write back. Files below a directory the plans delete are
// listed from the card.
struct TouchedPaths {
  std::vector<std::string> files;
  std::vector<std::string> directories;
};
TouchedPaths TouchedCardPaths(char drive, const std::vector<KindPlan>& plans, Files& files);

// The plan of one kind of the model on the loaded drive. Sets every visible item's targetDir to
// its folder's directory, as the table it gets names it. A table whose bytes on the card are
// already the new ones is not written again, and no data file that stays where it is is touched.
// A folder marked in asRead (by its number, from 1) still is what the card held: it is planned
// only where the kind's other steps touch its directory.
KindPlan PlanKind(KindState& state, MediaKind kind, char drive, Files& files,
                  const std::vector<char>* asRead = nullptr);

// Per kind and folder, whether the model's folder still is exactly what the load read of the
// card: every item in place under its name, and the table it would get the bytes the load read.
// Such a folder needs nothing written, and reads back as it is.
FoldersAsRead FoldersStillAsRead(const CardModel& model, const LoadedCard& read);

// Where an undo's and a restore's plan keeps its temporaries: the card's PRIVATE folder.
std::string RestoreTemporaryDirectory(char drive);

// A file the handset keeps: read from the card and inside the kind's data directory. Only such
// a file is ever renamed, moved or deleted; any other file (of the computer, added by the user,
// or elsewhere on the card's own drive) is only read and copied.
bool IsHandsetFile(const ItemRow& item, char drive, MediaKind kind);

}  // namespace sdmate
