// backup: the card's handset areas copied into a time-stamped folder.
#include "cli/commands.h"
#include "cli/console_feedback.h"

namespace sdmate::cli {

int RunBackup(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err) {
  ConsoleFeedback feedback(err, false);
  CardSession session(SessionOn(services, services.files, feedback));
  const BackupResult result = session.Backup(letter, command.destination);
  if (!result.folder.empty()) out << result.folder << '\n';
  return result.complete ? kExitOk : kExitProblems;
}

}  // namespace sdmate::cli
