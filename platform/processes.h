// Child processes: a program found in a list of folders, run with its arguments as a list (never
// through a shell), its standard output read line by line as it comes, its standard error kept
// for the message when it fails, and a time limit after which it is killed.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sdmate {

struct ProcessRun {
  std::string program;  // a native path, as FindProgram gives it
  std::vector<std::string> arguments;
  // Killed when it runs longer; zero: no limit.
  std::chrono::milliseconds timeout{0};
  // Each line of standard output without its line break, on the calling thread. Without it the
  // output is kept in ProcessResult::output.
  std::function<void(std::string_view line)> onOutputLine;
  // Asked several times a second on the calling thread; true: the program is killed (the user
  // stopped the work).
  std::function<bool()> stopWhen;
};

struct ProcessResult {
  bool started = false;   // the program could be started at all
  bool timedOut = false;  // killed at the time limit
  bool stopped = false;   // killed because stopWhen said so
  int exitCode = -1;      // the exit status; -1 when it was killed or did not start
  std::string output;     // standard output, when no line handler took it
  std::string errors;     // the end of standard error (at most kKeptErrorBytes)

  bool succeeded() const { return started && !timedOut && !stopped && exitCode == 0; }
};

inline constexpr std::size_t kKeptErrorBytes = std::size_t{16} * 1024;

class Processes {
 public:
  virtual ~Processes() = default;
  // The native path of an executable program called name ("ffmpeg"; ".exe" is added on
  // Windows) in the first of the folders that holds one; nullopt when none does.
  virtual std::optional<std::string> FindProgram(const std::string& name,
                                                 const std::vector<std::string>& folders) = 0;
  // Runs the program to its end (or its time limit). Standard input is empty.
  virtual ProcessResult Run(const ProcessRun& run) = 0;
};

// The folders of the PATH environment variable, in order.
std::vector<std::string> ProgramSearchPath();

std::unique_ptr<Processes> MakeNativeProcesses();

}  // namespace sdmate
