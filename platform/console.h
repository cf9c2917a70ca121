// The command line and the console in UTF-8 on every system.
#pragma once

#include <string>
#include <vector>

namespace sdmate {

// The program's arguments after its name, as UTF-8. On Windows they are taken from the wide
// command line, since argv holds them in the ANSI code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);
// Makes the console show UTF-8 output (Windows); nothing to do elsewhere.
void PrepareUtf8Console();

}  // namespace sdmate
