// Child processes on POSIX systems: posix_spawn with the program's own argument vector, standard
// input from /dev/null, standard output and error on pipes read with poll until both close or
// the time limit passes (then the child is killed).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/native_path.h"
#include "platform/processes.h"

extern char** environ;

namespace sdmate {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Both ends of a pipe, closed on every way out.
struct Pipe {
  std::array<int, 2> fd{-1, -1};
  bool Open() { return ::pipe2(fd.data(), O_CLOEXEC) == 0; }
  void Close(int end) {
    if (fd[static_cast<std::size_t>(end)] >= 0) ::close(fd[static_cast<std::size_t>(end)]);
    fd[static_cast<std::size_t>(end)] = -1;
  }
  ~Pipe() {
    Close(0);
    Close(1);
  }
  Pipe() = default;
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
};

// Hands complete lines of standard output on as they come, or keeps all of it.
class OutputLines {
 public:
  explicit OutputLines(const ProcessRun& run, ProcessResult& result) : run_(run), result_(result) {}
  void Add(const char* data, std::size_t size) {
    if (!run_.onOutputLine) {
      result_.output.append(data, size);
      return;
    }
    pending_.append(data, size);
    std::size_t start = 0;
    for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos;
         start = end + 1) {
      std::string_view line(pending_.data() + start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      run_.onOutputLine(line);
    }
    pending_.erase(0, start);
  }
  void Finish() {
    if (run_.onOutputLine && !pending_.empty()) run_.onOutputLine(pending_);
    pending_.clear();
  }

 private:
  const ProcessRun& run_;
  ProcessResult& result_;
  std::string pending_;
};

void KeepErrors(std::string& errors, const char* data, std::size_t size) {
  errors.append(data, size);
  if (errors.size() > kKeptErrorBytes) errors.erase(0, errors.size() - kKeptErrorBytes);
}

class PosixProcesses final : public Processes {
 public:
  std::optional<std::string> FindProgram(const std::string& name,
                                         const std::vector<std::string>& folders) override {
    for (const std::string& folder : folders) {
      if (folder.empty()) continue;
      const std::string path = JoinNativePath(folder, name);
      struct stat info {};
      if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
          ::access(path.c_str(), X_OK) == 0) {
        return path;
      }
    }
    return std::nullopt;
  }

  ProcessResult Run(const ProcessRun& run) override {
    ProcessResult result;
    Pipe out;
    Pipe err;
    if (!out.Open() || !err.Open()) return result;

    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) return result;
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
    ::posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);

    std::vector<std::string> words;
    words.reserve(run.arguments.size() + 1);
    words.push_back(run.program);
    words.insert(words.end(), run.arguments.begin(), run.arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, run.program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    out.Close(1);
    err.Close(1);
    if (spawned != 0) return result;
    result.started = true;

    OutputLines lines(run, result);
    const auto deadline = SteadyClock::now() + run.timeout;
    std::array<char, 8192> buffer{};
    while (out.fd[0] >= 0 || err.fd[0] >= 0) {
      if (run.stopWhen && run.stopWhen()) {
        result.stopped = true;
        ::kill(pid, SIGKILL);
        break;
      }
      // The stop is asked at least every tenth of a second.
      int wait = run.stopWhen ? 100 : -1;
      if (run.timeout.count() > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        if (left.count() <= 0) {
          result.timedOut = true;
          ::kill(pid, SIGKILL);
          break;
        }
        wait = static_cast<int>(std::min<std::int64_t>(left.count(), run.stopWhen ? 100 : 1000));
      }
      std::array<pollfd, 2> watched{{{out.fd[0], POLLIN, 0}, {err.fd[0], POLLIN, 0}}};
      const int ready = ::poll(watched.data(), watched.size(), wait);
      if (ready < 0 && errno != EINTR) break;
      for (std::size_t i = 0; i < watched.size(); ++i) {
        if (watched[i].fd < 0 || watched[i].revents == 0) continue;
        const ssize_t got = ::read(watched[i].fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
          (i == 0 ? out : err).Close(0);
          continue;
        }
        const auto size = static_cast<std::size_t>(got);
        if (i == 0) {
          lines.Add(buffer.data(), size);
        } else {
          KeepErrors(result.errors, buffer.data(), size);
        }
      }
    }
    lines.Finish();

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && !result.stopped && WIFEXITED(status))
      result.exitCode = WEXITSTATUS(status);
    return result;
  }
};

}  // namespace

std::vector<std::string> ProgramSearchPath() {
  std::vector<std::string> folders;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return folders;
  std::string_view rest(path);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    // An empty entry would mean the current directory: never searched.
    if (!folder.empty()) folders.emplace_back(folder);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return folders;
}

std::unique_ptr<Processes> MakeNativeProcesses() { return std::make_unique<PosixProcesses>(); }

}  // namespace sdmate
