// POSIX terminals take the arguments and the output as UTF-8 already.
#include "platform/console.h"

namespace sdmate {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareUtf8Console() {}

}  // namespace sdmate
