// sdmate-cli: the card engine on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  sdmate::PrepareUtf8Console();
  return sdmate::cli::RunCli(sdmate::Utf8Arguments(argc, argv), std::cout, std::cerr);
}
