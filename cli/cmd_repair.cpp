// repair: one commit that makes the check's findings go away without losing a file.
#include "card/staging_files.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"
#include "cli/output.h"

namespace sdmate::cli {

int RunRepair(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err) {
  // In a dry run nothing the repair stages may reach the card.
  if (!NoUnfinishedCommit(command, services, letter, err)) return kExitProblems;
  StagingFiles staging(services.files);
  Files& files = command.dryRun ? static_cast<Files&>(staging) : services.files;
  ConsoleFeedback feedback(err, command.yes);
  CardSession session(SessionOn(services, files, feedback));
  History::Hold hold;
  if (!command.dryRun) {
    hold = session.HoldCard(letter);
    if (!hold) return kExitProblems;
  }
  if (!session.Load(letter, {.askRemovable = false}).loaded) {
    Say(err) << text::kCardUnreadable << command.card << '\n';
    return kExitUsage;
  }
  const CardSession::RepairOutcome outcome =
      session.Repair({.deleteOrphans = command.deleteOrphans}, command.dryRun);
  RepairReport report{.repaired = outcome.ran,
                      .found = outcome.before.size(),
                      .adopted = outcome.preparation.adopted,
                      .deleted = outcome.preparation.deleted,
                      .foldersBrought = outcome.preparation.foldersBrought,
                      .remaining = command.dryRun ? outcome.preparation.kept : outcome.after};
  if (!command.dryRun && !outcome.ran) report.remaining = outcome.before;
  auto native = [&](const std::string& path) {
    const std::string shown = session.NativePath(path);
    return shown.empty() ? path : shown;
  };
  if (command.json) {
    PrintRepairJson(report, services.codec, native, out);
  } else {
    out << text::kRepairAdopted << report.adopted << '\n'
        << text::kRepairDeleted << report.deleted << '\n'
        << text::kRepairFolders << report.foldersBrought << '\n';
    if (!report.remaining.empty()) {
      out << text::kNotRepaired << '\n';
      PrintFindingsText(report.remaining, services.codec, native, out);
    }
  }
  if (command.dryRun) Say(err) << text::kDryRun << '\n';
  if (outcome.before.empty()) return kExitOk;  // nothing to do
  if (!command.dryRun && !outcome.ran) {
    if (!command.yes) Say(err) << text::kNotWrittenWithoutYes << '\n';
    return kExitProblems;
  }
  const bool failed = !command.dryRun && !outcome.update.failures.empty();
  return report.remaining.empty() && !failed ? kExitOk : kExitProblems;
}

}  // namespace sdmate::cli
