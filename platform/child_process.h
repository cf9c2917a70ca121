// A program of the system run as a child process, with its arguments as a list (never through
// a shell), its output and errors caught together.
#pragma once

#include <string>
#include <vector>

namespace sdmate {

struct ChildResult {
  bool ran = false;  // the program could be started
  int status = -1;   // its exit status; -1 when it did not end by itself
  std::string output;
};

// Runs program arguments[0] (looked up on PATH) with the rest as its arguments, standard input
// empty, and waits for it to end.
ChildResult RunChild(const std::vector<std::string>& arguments);

}  // namespace sdmate
