// sdmate-cli: the card engine on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return sdmate::cli::RunCli(args, std::cout, std::cerr);
}
