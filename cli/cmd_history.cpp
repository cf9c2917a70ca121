// history, undo and restore: the card's snapshots, a commit taken back, a backup put back.
#include <functional>

#include "card/staging_files.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"
#include "cli/output.h"

namespace sdmate::cli {
namespace {

void PrintPlan(const RestoreSummary& summary, std::ostream& out) {
  out << text::kPlanWritten << summary.written << '\n'
      << text::kPlanRemoved << summary.removed << '\n'
      << text::kPlanBytes << summary.bytes << '\n';
}

// The status of an undo or a restore: 0 when it ran without failures; 1 when it was refused,
// answered No (no --yes), or something failed.
int TakeBackStatus(const Command& command, const CardSession::TakeBack& outcome,
                   std::ostream& err) {
  if (command.dryRun) return outcome.refused.empty() ? kExitOk : kExitProblems;
  const bool nothingToDo = outcome.summary.written == 0 && outcome.summary.removed == 0 &&
                           outcome.refused.empty() && command.name == CommandName::Restore;
  if (!outcome.ran && nothingToDo) return kExitOk;
  if (!outcome.ran) {
    if (outcome.refused.empty() && !command.yes) Say(err) << text::kNotWrittenWithoutYes << '\n';
    return kExitProblems;
  }
  for (const UpdateResult& commit : outcome.commits) {
    if (!commit.failures.empty() || !commit.reload.loaded) return kExitProblems;
  }
  return kExitOk;
}

}  // namespace

int RunHistory(const Command& command, CliServices& services, char letter, std::ostream& out,
               std::ostream& err) {
  StagingFiles files(services.files);  // reading only
  ConsoleFeedback feedback(err, false);
  CardSession session(SessionOn(services, files, feedback));
  if (!LoadWhole(session, letter, command.card, err, false)) return kExitUsage;
  const std::vector<Snapshot> snapshots = session.Snapshots();
  if (command.json) {
    PrintSnapshotsJson(snapshots, out);
  } else {
    PrintSnapshotsText(snapshots, out);
  }
  return kExitOk;
}

namespace {

// An undo or a restore: the loaded card taken back by `take`, its plan shown on a dry run.
int RunTakeBack(const Command& command, CliServices& services, char letter, std::ostream& out,
                std::ostream& err, const std::function<CardSession::TakeBack(CardSession&)>& take) {
  ConsoleFeedback feedback(err, command.yes);
  CardSession session(SessionOn(services, services.files, feedback));
  History::Hold hold;
  if (!command.dryRun) {
    hold = session.HoldCard(letter);
    if (!hold) return kExitProblems;
  }
  if (!LoadWhole(session, letter, command.card, err, false)) return kExitUsage;
  const CardSession::TakeBack outcome = take(session);
  if (command.dryRun) {
    PrintPlan(outcome.summary, out);
    Say(err) << text::kDryRun << '\n';
  } else if (outcome.ran) {
    PrintCard(command, session.model(), services.codec, out);
  }
  return TakeBackStatus(command, outcome, err);
}

}  // namespace

int RunUndo(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err) {
  return RunTakeBack(command, services, letter, out, err, [&](CardSession& session) {
    // A commit that did not end, taken back by the load, was the last one: one undo, not two.
    if (command.snapshot.empty() && !command.dryRun && session.tookBack().ran) {
      return session.tookBack();
    }
    return session.Undo(command.snapshot, command.dryRun);
  });
}

int RunRestore(const Command& command, CliServices& services, char letter, std::ostream& out,
               std::ostream& err) {
  return RunTakeBack(command, services, letter, out, err, [&](CardSession& session) {
    return session.Restore(command.backup, command.dryRun);
  });
}

}  // namespace sdmate::cli
