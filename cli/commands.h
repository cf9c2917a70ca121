// One function per command of sdmate-cli, and what they share: the message prefix, the card's
// drive letter, a session on the command's own files and feedback, the card printed.
#pragma once

#include <ostream>
#include <string>

#include "card/card_session.h"
#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "cli/output.h"

namespace sdmate::cli {

// Starts a message line of the program: "sdmate-cli: ".
std::ostream& Say(std::ostream& err);
// The usage error: the reason, then the usage text. Returns kExitUsage.
int UsageError(std::ostream& err, const std::string& error);
// The message that CARD is no card folder. Returns kExitUsage.
int NoCard(std::ostream& err, const std::string& card);

// The drive letter CARD stands for: a drive the computer already has ("E:"), or the folder,
// mapped to the next free letter. 0 when CARD is neither.
char CardLetter(CliServices& services, const std::string& card);
// Loads the card into the session; false (with the message) when it could not be read, or, when
// whole is asked, when a table could not be read.
bool LoadWhole(CardSession& session, char letter, const std::string& card, std::ostream& err,
               bool whole);
// A session on the command's own files and feedback.
// A commit of the card that did not end is taken back first, on the real files, asked as the
// window asks (--yes: taken back); a command that writes runs only on a card taken back whole.
// False, and said, when it was not (answered No, refused, a dry run).
bool NoUnfinishedCommit(const Command& command, CliServices& services, char letter,
                        std::ostream& err);
SessionServices SessionOn(CliServices& services, Files& files, Feedback& feedback);
// The card as text or JSON, as the command asked; with its camera pictures when given, and
// with what the handset makes of each picture and movie when judge is given.
void PrintCard(const Command& command, const CardModel& model, TextCodec& codec, std::ostream& out,
               const CameraArea* camera = nullptr, const JudgeOf& judge = {});
// The handset's verdict on the loaded card's files as they are, read through files (the movies
// probed by the build's movie fitter).
JudgeOf HandsetJudge(CliServices& services, Files& files, const CardSession& session);

int RunList(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err);
int RunEdit(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err);
int RunCheck(const Command& command, CliServices& services, char letter, std::ostream& out);
int RunRepair(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err);
int RunHistory(const Command& command, CliServices& services, char letter, std::ostream& out,
               std::ostream& err);
int RunUndo(const Command& command, CliServices& services, char letter, std::ostream& out,
            std::ostream& err);
int RunRestore(const Command& command, CliServices& services, char letter, std::ostream& out,
               std::ostream& err);
int RunBackup(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err);
int RunExport(const Command& command, CliServices& services, char letter, std::ostream& out,
              std::ostream& err);
int RunMakeSample(const Command& command, CliServices& services, std::ostream& out,
                  std::ostream& err);

}  // namespace sdmate::cli
