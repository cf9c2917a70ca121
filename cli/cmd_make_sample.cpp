// make-sample: the sample card written into an empty folder.
#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/sample_card.h"

namespace sdmate::cli {

int RunMakeSample(const Command& command, CliServices& services, std::ostream& out,
                  std::ostream& err) {
  Files& files = services.files;
  if (!files.Exists(command.card)) {
    if (!files.MakeDirectories(command.card)) {
      Say(err) << text::kFolderNotMade << command.card << '\n';
      return kExitUsage;
    }
  } else if (!files.IsDirectory(command.card) ||
             !files.ListDirectory(command.card).value_or(std::vector<std::string>{"?"}).empty()) {
    Say(err) << text::kNeedEmptyFolder << command.card << '\n';
    return kExitUsage;
  }
  const char letter = CardLetter(services, command.card);
  if (letter == 0) return NoCard(err, command.card);
  const std::string failed = WriteSampleCard(letter, files, services.codec);
  if (!failed.empty()) {
    Say(err) << text::kNotWritten << services.drives.NativePathOf(failed).value_or(failed) << '\n';
    return kExitProblems;
  }
  out << text::kSampleMade << command.card << '\n';
  return kExitOk;
}

}  // namespace sdmate::cli
