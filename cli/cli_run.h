// The commands of sdmate-cli, run on the services main built.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_services.h"

namespace sdmate::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;  // check found problems, or the commit failed or stopped
inline constexpr int kExitUsage = 2;     // bad usage, no card, or a card that cannot be read

// args: the words after the program's name. Results go to out, messages to err.
int RunCli(const std::vector<std::string>& args, CliServices& services, std::ostream& out,
           std::ostream& err);

}  // namespace sdmate::cli
