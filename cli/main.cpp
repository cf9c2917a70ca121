// sdmate-cli: the card engine on the command line. This file builds the operating system's
// services; everything else works through them.
#include <iostream>
#include <string>
#include <vector>

#include "card/pictograph_codec.h"
#include "cli/cli_run.h"
#include "platform/console.h"
#include "platform/drive_table.h"
#include "platform/processes.h"
#include "platform/scratch_folder.h"
#ifdef SDMATE_HAVE_MEDIA
#include "media/media_fitters.h"
#endif

int main(int argc, char** argv) {
  sdmate::PrepareUtf8Console();
  sdmate::DriveTable table;
  std::unique_ptr<sdmate::Drives> drives = sdmate::MakeNativeDrives(table);
  std::unique_ptr<sdmate::Files> files = sdmate::MakeNativeFiles(table);
  std::unique_ptr<sdmate::TextCodec> cp932 = sdmate::MakeNativeTextCodec();
  sdmate::PictographCodec codec(*cp932);
  std::unique_ptr<sdmate::Clock> clock = sdmate::MakeSystemClock();
  sdmate::cli::CliServices services{*files, *drives, codec, *clock, sdmate::SystemPlaces()};
  // Fitted files wait in a folder of this run, removed when the program ends.
  std::unique_ptr<sdmate::ScratchFolder> scratch = sdmate::MakeScratchFolder("sdmate-fit");
  // Movies converted for an export wait in a folder of this run until they are copied.
  std::unique_ptr<sdmate::ScratchFolder> converted = sdmate::MakeScratchFolder("sdmate-export");
  std::unique_ptr<sdmate::Processes> processes = sdmate::MakeNativeProcesses();
#ifdef SDMATE_HAVE_MEDIA
  sdmate::MediaFitters fitters =
      sdmate::MakeMediaFitters(*files, *processes, services.places.programDirectory);
  services.fit = {fitters.pictures.get(), fitters.movies.get(), scratch.get()};
  services.exporting = {fitters.converter.get(), converted.get()};
#endif
  return sdmate::cli::RunCli(sdmate::Utf8Arguments(argc, argv), services, std::cout, std::cerr);
}
