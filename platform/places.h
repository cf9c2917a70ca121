// The folders of the computer the program works with: where it is installed, where the user
// started it, and where it may keep data of its own.
#pragma once

#include <string>

namespace sdmate {

struct Places {
  std::string programDirectory;  // the running executable's folder, with its trailing separator
  std::string currentDirectory;  // the working directory at start, with its trailing separator
  // The program's own data folder of the user, with its trailing separator:
  // $XDG_DATA_HOME/sdmate/ (default ~/.local/share/sdmate/) or %LOCALAPPDATA%\Sdmate\ (backups of
  // an installed program go into its BackUp folder).
  std::string dataDirectory;
  // Where the snapshots of the commits are kept, with its trailing separator:
  // $XDG_DATA_HOME/sdmate/history/ or %LOCALAPPDATA%\Sdmate\History\.
  std::string historyDirectory;
  // Where an installed program keeps its documents (ReadMe.txt), with its trailing separator:
  // <prefix>/share/doc/sdmate/ beside <prefix>/bin; the program's folder on Windows.
  std::string docDirectory;
  // The program was set up by its installer (its folder is the system's, not the user's): its
  // backups go into the user's data folder even where the program's folder could be written.
  bool installed = false;
};

// The places of this run, as the operating system tells them.
Places SystemPlaces();

}  // namespace sdmate
