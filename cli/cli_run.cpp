// The command line's dispatch and what the commands share.
#include "cli/cli_run.h"

#include "cli/cli_messages.h"
#include "cli/commands.h"
#include "cli/console_feedback.h"
#include "cli/output.h"
#include "core/version.h"

namespace sdmate::cli {

std::ostream& Say(std::ostream& err) { return err << "sdmate-cli: "; }

int UsageError(std::ostream& err, const std::string& error) {
  Say(err) << error << "\n\n" << UsageText();
  return kExitUsage;
}

int NoCard(std::ostream& err, const std::string& card) {
  Say(err) << text::kNoCardFolder << card << '\n';
  return kExitUsage;
}

char CardLetter(CliServices& services, const std::string& card) {
  const bool driveOnly =
      card.size() >= 2 && card[1] == ':' &&
      (card.size() == 2 || (card.size() == 3 && (card[2] == '\\' || card[2] == '/')));
  if (driveOnly) {
    const char letter = UpperLetter(card[0]);
    for (const DriveInfo& drive : services.drives.List()) {
      if (letter != 0 && UpperLetter(drive.letter) == letter) return letter;
    }
  }
  if (!services.files.IsDirectory(card)) return 0;
  return services.drives.MapFolder(card);
}

bool LoadWhole(CardSession& session, char letter, const std::string& card, std::ostream& err,
               bool whole) {
  if (!session.Load(letter, {.askRemovable = false}).loaded) {
    Say(err) << text::kCardUnreadable << card << '\n';
    return false;
  }
  if (whole && !session.model().complete) {
    Say(err) << text::kTablesUnreadable << card << '\n';
    return false;
  }
  return true;
}

bool NoUnfinishedCommit(const Command& command, CliServices& services, char letter,
                        std::ostream& err) {
  ConsoleFeedback feedback(err, command.yes && !command.dryRun);
  CardSession session(SessionOn(services, services.files, feedback));
  if (!session.HasUnfinishedCommit(letter)) return true;
  if (!command.dryRun && session.Load(letter, {.askRemovable = false}).loaded &&
      session.tookBack().ran) {
    bool whole = true;
    for (const UpdateResult& commit : session.tookBack().commits) {
      whole = whole && commit.failures.empty() && commit.reload.loaded;
    }
    if (whole) return true;
  }
  Say(err) << text::kUnfinishedFirst << command.card << '\n';
  return false;
}

SessionServices SessionOn(CliServices& services, Files& files, Feedback& feedback) {
  return {files,    services.drives, services.codec, services.clock,
          feedback, services.places, services.fit,   services.exporting};
}

void PrintCard(const Command& command, const CardModel& model, TextCodec& codec, std::ostream& out,
               const CameraArea* camera, const JudgeOf& judge) {
  if (command.json) {
    PrintCardJson(model, codec, out, camera, judge);
  } else {
    PrintCardText(model, codec, out, camera);
  }
}

JudgeOf HandsetJudge(CliServices& services, Files& files, const CardSession& session) {
  return [&services, &files, &session](MediaKind kind, const ItemRow& item) {
    return JudgeFile(kind, session.NativePath(item.SourcePath()), files, services.fit.movies);
  };
}

int RunCli(const std::vector<std::string>& args, CliServices& services, std::ostream& out,
           std::ostream& err) {
  ParseResult parsed = ParseArguments(args);
  if (!parsed.command) return UsageError(err, parsed.error);
  const Command& command = *parsed.command;
  if (command.name == CommandName::Help) {
    out << UsageText();
    return kExitOk;
  }
  if (!command.history.empty()) {
    services.places.historyDirectory = command.history;
  }
  if (command.name == CommandName::Version) {
    out << "sdmate-cli " << kVersion << '\n';
    return kExitOk;
  }
  if (command.name == CommandName::MakeSample) return RunMakeSample(command, services, out, err);

  const char letter = CardLetter(services, command.card);
  if (letter == 0) return NoCard(err, command.card);
  switch (command.name) {
    case CommandName::List:
      return RunList(command, services, letter, out, err);
    case CommandName::Edit:
      return RunEdit(command, services, letter, out, err);
    case CommandName::Check:
      return RunCheck(command, services, letter, out);
    case CommandName::Repair:
      return RunRepair(command, services, letter, out, err);
    case CommandName::Backup:
      return RunBackup(command, services, letter, out, err);
    case CommandName::History:
      return RunHistory(command, services, letter, out, err);
    case CommandName::Undo:
      return RunUndo(command, services, letter, out, err);
    case CommandName::Restore:
      return RunRestore(command, services, letter, out, err);
    case CommandName::Export:
      return RunExport(command, services, letter, out, err);
    default:
      return kExitUsage;
  }
}

}  // namespace sdmate::cli
