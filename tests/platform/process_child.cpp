// The child the process tests start: it echoes its arguments, writes lines and errors, sleeps,
// reads its input and exits with a chosen status, as the first argument says.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = sdmate::Utf8Arguments(argc, argv);
  if (args.empty()) return 100;
  const std::string& what = args[0];
  if (what == "echo") {
    for (std::size_t i = 1; i < args.size(); ++i) std::cout << '[' << args[i] << "]\n";
    return 0;
  }
  if (what == "lines" && args.size() == 2) {
    const int count = std::stoi(args[1]);
    for (int i = 1; i <= count; ++i) {
      std::cout << "line " << i << '\n';
      // Some lines also say something on the error stream, so both pipes fill together.
      if (i % 10 == 0) std::cerr << "note " << i << '\n';
    }
    return 0;
  }
  if (what == "fail" && args.size() == 3) {
    std::cout << "partial line without end";
    std::cerr << "first\n" << args[2] << '\n';
    return std::stoi(args[1]);
  }
  if (what == "sleep" && args.size() == 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(args[1])));
    return 0;
  }
  if (what == "stdin") {
    std::size_t count = 0;
    while (std::cin.get() != EOF) ++count;
    std::cout << count << '\n';
    return 0;
  }
  return 101;
}
