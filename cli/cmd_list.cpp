// list: the card as the window shows it, and the camera pictures beside it.
#include "card/staging_files.h"
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"

namespace sdmate::cli {

int RunList(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err) {
  // Never committed: nothing the load might ask to write reaches the card.
  StagingFiles files(services.files);
  ConsoleFeedback feedback(err, false);
  CardSession session(SessionOn(services, files, feedback));
  if (!session.Load(letter, {.askRemovable = false}).loaded) {
    Say(err) << text::kCardUnreadable << command.card << '\n';
    return kExitUsage;
  }
  PrintCard(command, session.model(), services.codec, out, &session.Camera(),
            command.json ? HandsetJudge(services, files, session) : JudgeOf{});
  return session.model().complete ? kExitOk : kExitUsage;
}

}  // namespace sdmate::cli
