// Child processes on Windows: CreateProcessW with a command line quoted word by word the way
// CommandLineToArgvW reads it back, no console window, standard input from NUL, standard output
// and error on pipes drained by two threads; the lines reach the caller on its own thread.
#include <windows.h>

#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/native_path.h"
#include "platform/processes.h"
#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A handle closed on every way out.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (valid()) ::CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// What the reading threads hand over.
struct Received {
  std::mutex mutex;
  std::string output;  // not yet taken by the caller's thread
  std::string errors;
};

void Drain(HANDLE pipe, Received& received, bool isOutput) {
  char buffer[8192];
  DWORD got = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    const std::lock_guard lock(received.mutex);
    std::string& target = isOutput ? received.output : received.errors;
    target.append(buffer, got);
    if (!isOutput && target.size() > kKeptErrorBytes) {
      target.erase(0, target.size() - kKeptErrorBytes);
    }
  }
}

class Win32Processes final : public Processes {
 public:
  std::optional<std::string> FindProgram(const std::string& name,
                                         const std::vector<std::string>& folders) override {
    const std::string file = name.ends_with(".exe") ? name : name + ".exe";
    for (const std::string& folder : folders) {
      if (folder.empty()) continue;
      const std::string path = JoinNativePath(folder, file);
      const DWORD attributes = ::GetFileAttributesW(win32::LongPath(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return path;
      }
    }
    return std::nullopt;
  }

  ProcessResult Run(const ProcessRun& run) override {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle outRead, outWrite, errRead, errWrite;
    if (!::CreatePipe(outRead.out(), outWrite.out(), &inherit, 0) ||
        !::CreatePipe(errRead.out(), errWrite.out(), &inherit, 0)) {
      return result;
    }
    ::SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
    Handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));

    std::wstring line = win32::CommandLineWord(win32::Widen(run.program));
    for (const std::string& argument : run.arguments)
      line += L" " + win32::CommandLineWord(win32::Widen(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION info{};
    const std::wstring program = win32::LongPath(run.program);
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &info)) {
      return result;
    }
    result.started = true;
    Handle process(info.hProcess);
    Handle thread(info.hThread);
    // Only the child holds the writing ends now, so the pipes end when it does.
    outWrite.Close();
    errWrite.Close();
    input.Close();

    Received received;
    std::thread outReader(Drain, outRead.get(), std::ref(received), true);
    std::thread errReader(Drain, errRead.get(), std::ref(received), false);
    std::string pending;
    auto takeOutput = [&] {
      std::string taken;
      {
        const std::lock_guard lock(received.mutex);
        taken.swap(received.output);
      }
      if (!run.onOutputLine) {
        result.output += taken;
        return;
      }
      pending += taken;
      std::size_t start = 0;
      for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos;
           start = end + 1) {
        std::string_view text(pending.data() + start, end - start);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        run.onOutputLine(text);
      }
      pending.erase(0, start);
    };

    const auto deadline = SteadyClock::now() + run.timeout;
    for (;;) {
      const DWORD waited = ::WaitForSingleObject(process.get(), 50);
      takeOutput();
      if (waited != WAIT_TIMEOUT) break;
      if (run.stopWhen && run.stopWhen()) {
        result.stopped = true;
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), INFINITE);
        break;
      }
      if (run.timeout.count() > 0 && SteadyClock::now() >= deadline) {
        result.timedOut = true;
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), INFINITE);
        break;
      }
    }
    outReader.join();
    errReader.join();
    takeOutput();
    if (run.onOutputLine && !pending.empty()) run.onOutputLine(pending);
    result.errors = std::move(received.errors);
    DWORD code = 0;
    if (!result.timedOut && !result.stopped && ::GetExitCodeProcess(process.get(), &code)) {
      result.exitCode = static_cast<int>(code);
    }
    return result;
  }
};

}  // namespace

std::vector<std::string> ProgramSearchPath() {
  std::vector<std::string> folders;
  const wchar_t* path = ::_wgetenv(L"PATH");
  if (path == nullptr) return folders;
  const std::string text = win32::Narrow(path);
  std::string_view rest(text);
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    const std::string_view folder = rest.substr(0, semicolon);
    if (!folder.empty()) folders.emplace_back(folder);
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return folders;
}

std::unique_ptr<Processes> MakeNativeProcesses() { return std::make_unique<Win32Processes>(); }

}  // namespace sdmate
