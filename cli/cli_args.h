// The command line of sdmate-cli taken apart: the command, its options, the card folder and,
// for edit, the operations with their words. Only the syntax is checked here; folder and row
// numbers are checked against the card as the operations are applied.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/card_layout.h"

namespace sdmate::cli {

enum class CommandName {
  List,
  Edit,
  Check,
  Repair,
  Backup,
  History,
  Undo,
  Restore,
  Export,
  MakeSample,
  Help,
  Version
};

enum class OpName {
  Add,
  Delete,
  Renumber,
  Up,
  Down,
  Move,
  Title,
  FolderAdd,
  FolderDelete,
  FolderTitle
};

struct EditOp {
  OpName name = OpName::Add;
  MediaKind kind = MediaKind::Image;
  int folder = 0;     // from 1; 0 for folder-add
  int row = 0;        // from 1; 0 where the operation takes no row
  int toFolder = 0;   // move: the folder the item joins, from 1
  std::string text;   // FILE of add, TEXT of title and folder-title (UTF-8 as typed)
  std::string words;  // the operation as typed, for messages
};

struct Command {
  CommandName name = CommandName::Help;
  bool json = false;
  bool yes = false;  // answer the engine's questions Yes (otherwise No)
  bool dryRun = false;
  bool deleteOrphans = false;  // repair: delete orphans instead of adopting them
  bool fit = false;            // edit: pictures and movies of every add fitted to the handset
  bool convert = false;        // export: movies converted for the computer
  std::string exportKind;      // export --kind: "image", "movie", "document", "camera"; empty: all
  std::string card;
  std::string destination;  // backup: empty for the default; export: DEST
  std::string backup;       // restore: the backup folder
  std::string snapshot;     // undo: the snapshot's id, empty for the last commit
  std::string history;      // --history: the history folder, empty for the default
  std::vector<EditOp> ops;
};

struct ParseResult {
  std::optional<Command> command;
  std::string error;  // why the words are not a command (Japanese), when command is empty
};

// args: the words after the program's name.
ParseResult ParseArguments(const std::vector<std::string>& args);

// The usage text, one line per form and the operations of edit.
std::string UsageText();

}  // namespace sdmate::cli
