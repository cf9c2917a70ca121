// check: what the handset and the program would trip over, without writing.
#include "card/staging_files.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"
#include "cli/output.h"

namespace sdmate::cli {

int RunCheck(const Command& command, CliServices& services, char letter, std::ostream& out) {
  StagingFiles files(services.files);  // never committed: the check cannot write
  SilentFeedback feedback;
  CardSession session(SessionOn(services, files, feedback));
  const std::vector<Finding> findings = session.Check(letter);
  auto native = [&](const std::string& path) {
    const std::string shown = session.NativePath(path);
    return shown.empty() ? path : shown;
  };
  if (command.json) {
    // What the handset makes of the files already on the card, from the card as it loads.
    const bool loaded = session.Load(letter, {.askRemovable = false}).loaded;
    PrintFindingsJson(findings, services.codec, native, out, loaded ? &session.model() : nullptr,
                      HandsetJudge(services, files, session));
  } else {
    PrintFindingsText(findings, services.codec, native, out);
  }
  return findings.empty() ? kExitOk : kExitProblems;
}

}  // namespace sdmate::cli
