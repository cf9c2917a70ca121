// edit: operations staged in order on one load and committed once.
#include "card/staging_files.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"

namespace sdmate::cli {
namespace {

// A path of the computer as the engine gets it. A relative path gets "./" in front, so that
// its first character can never be taken for the card's drive letter.
std::string ComputerPath(const std::string& path) {
  const bool driveLetter = path.size() >= 2 && path[1] == ':' && UpperLetter(path[0]) != 0;
  const bool absolute = path.starts_with('/') || path.starts_with('\\') || driveLetter;
  return absolute ? path : "./" + path;
}

// Folder and row of an operation against the model as it stands now; empty when in range.
std::string RangeError(const CardModel& model, const EditOp& op) {
  if (op.name == OpName::FolderAdd) return {};
  const KindState& state = model.of(op.kind);
  if (!state.hasFolder(op.folder)) {
    return text::kFolderOutOfRange + std::to_string(state.folderCount()) + "): " + op.words;
  }
  if (op.name == OpName::Move && !state.hasFolder(op.toFolder)) {
    return text::kFolderOutOfRange + std::to_string(state.folderCount()) + "): " + op.words;
  }
  const int rows = state.folder(op.folder).visibleCount();
  if (op.row > rows) {
    return text::kRowOutOfRange +
           (rows == 0 ? std::string(text::kNoRows) : "1〜" + std::to_string(rows)) +
           "): " + op.words;
  }
  return {};
}

// Skipped: the operation did nothing (an add the engine declined); the others still run, and
// the command ends with the problems' status.
enum class Outcome { Done, Skipped, Stopped };

Outcome Apply(CardSession& session, const EditOp& op, std::ostream& err) {
  switch (op.name) {
    case OpName::Add: {
      if (!session.PrepareAdd(op.kind)) {
        Say(err) << text::kNotAdded << op.words << '\n';
        return Outcome::Skipped;
      }
      const BatchResult added = session.AddFiles(op.kind, op.folder, {ComputerPath(op.text)});
      if (!added.ranToEnd) return Outcome::Stopped;
      if (added.staged == 0) {
        Say(err) << text::kNotAdded << op.words << '\n';
        return Outcome::Skipped;
      }
      return Outcome::Done;
    }
    case OpName::Delete:
      session.DeleteItem(op.kind, op.folder, op.row);
      break;
    case OpName::Renumber:
      session.RenumberItems(op.kind, op.folder);
      break;
    case OpName::Up:
      session.MoveItemUp(op.kind, op.folder, op.row);
      break;
    case OpName::Down:
      session.MoveItemDown(op.kind, op.folder, op.row);
      break;
    case OpName::Move:
      // Refused when the folder cannot take the item (the engine says why), or is its own.
      if (!session.MoveItems(op.kind, op.folder, {op.row}, op.toFolder).changed) {
        Say(err) << text::kNotMoved << op.words << '\n';
        return Outcome::Skipped;
      }
      break;
    case OpName::Title:
      session.StoreItemTitle(op.kind, op.folder, op.row, op.text);
      break;
    case OpName::FolderAdd:
      session.AddFolder(op.kind);
      break;
    case OpName::FolderDelete:
      if (!session.DeleteFolder(op.kind, op.folder).deleted) {
        Say(err) << text::kFolderNotDeleted << op.words << '\n';
      }
      break;
    case OpName::FolderTitle:
      session.StoreFolderTitle(op.kind, op.folder, op.text);
      break;
  }
  return Outcome::Done;
}

}  // namespace

int RunEdit(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err) {
  if (!NoUnfinishedCommit(command, services, letter, err)) return kExitProblems;
  StagingFiles files(services.files);
  ConsoleFeedback feedback(err, command.yes);
  CardSession session(SessionOn(services, files, feedback));
  // One run on the card from its load to its commit: another edit waits, or is refused.
  History::Hold hold;
  if (!command.dryRun) {
    hold = session.HoldCard(letter);
    if (!hold) return kExitProblems;
  }
  if (command.fit) {
    if (!session.CanFit(MediaKind::Image)) {
      Say(err) << text::kNoFitting << '\n';
      return kExitUsage;
    }
    session.SetFit(MediaKind::Image, true);
    session.SetFit(MediaKind::Movie, true);
  }
  if (!LoadWhole(session, letter, command.card, err, true)) return kExitUsage;

  bool skipped = false;
  for (const EditOp& op : command.ops) {
    if (std::string error = RangeError(session.model(), op); !error.empty()) {
      Say(err) << text::kCardUnchanged << '\n';
      return UsageError(err, error);
    }
    const Outcome outcome = Apply(session, op, err);
    if (outcome == Outcome::Stopped) {
      Say(err) << text::kStoppedForSpace << op.words << '\n';
      return kExitProblems;
    }
    skipped = skipped || outcome == Outcome::Skipped;
  }
  const int done = skipped ? kExitProblems : kExitOk;

  // Without operations the card is committed as it is, as the update button does after a load.
  if (command.dryRun || (!session.updateDue() && !command.ops.empty())) {
    PrintCard(command, session.model(), services.codec, out);
    Say(err) << (command.dryRun ? text::kDryRun : text::kNothingToCommit) << '\n';
    return done;
  }

  const bool directoriesMade = files.Commit();
  if (!directoriesMade) Say(err) << text::kDataFolderNotMade << '\n';
  const UpdateResult update = session.Update();
  if (!update.ran) {
    Say(err) << text::kNotUpdated << command.card << '\n';
    return kExitProblems;
  }
  if (!update.reload.loaded) {
    Say(err) << text::kNotReloaded << command.card << '\n';
    return kExitProblems;
  }
  PrintCard(command, session.model(), services.codec, out);
  return update.failures.empty() && directoriesMade ? done : kExitProblems;
}

}  // namespace sdmate::cli
