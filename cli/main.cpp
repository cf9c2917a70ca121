// sdmate-cli: the card engine on the command line. This file builds the operating system's
// services; everything else works through them.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "platform/console.h"
#include "services/native_services.h"

int main(int argc, char** argv) {
  sdmate::PrepareUtf8Console();
  sdmate::NativeServices native;
  sdmate::cli::CliServices services{native.files(),    native.drives(), native.codec(),
                                    native.clock(),    native.places(), native.fit(),
                                    native.exporting()};
  return sdmate::cli::RunCli(sdmate::Utf8Arguments(argc, argv), services, std::cout, std::cerr);
}
