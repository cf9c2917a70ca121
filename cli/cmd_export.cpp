// export: everything on the card (or one kind, or the camera pictures) copied into a folder of
// the computer under readable names, movies converted on request. The card is only read.
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"

namespace sdmate::cli {

int RunExport(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err) {
  // Questions are answered No: a load never takes back an unfinished commit for an export.
  ConsoleFeedback feedback(err, false);
  CardSession session(SessionOn(services, services.files, feedback));
  if (!LoadWhole(session, letter, command.card, err, false)) return kExitUsage;
  ExportParts parts;
  if (command.exportKind == "camera") {
    parts = ExportParts::CameraOnly();
  } else {
    for (MediaKind kind : kAllKinds) {
      if (command.exportKind == TraitsOf(kind).key) parts = ExportParts::Only(kind);
    }
  }
  const ExportResult result =
      session.ExportCard(command.destination, parts, {.convertMovies = command.convert});
  for (const std::string& path : result.written) out << path << '\n';
  return result.ran && result.failed.empty() && !result.cancelled ? kExitOk : kExitProblems;
}

}  // namespace sdmate::cli
