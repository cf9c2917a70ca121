// Windows consoles: arguments from the wide command line, output in UTF-8.
#include "platform/console.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/win32/win32_util.h"

namespace sdmate {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void PrepareUtf8Console() { ::SetConsoleOutputCP(CP_UTF8); }

}  // namespace sdmate
