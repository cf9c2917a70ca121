// The card's lock with LockFileEx: released by the system when the handle closes or the process
// dies. One byte far past the text is locked, so that a waiting run can still read who holds it.
#include "platform/file_lock.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

constexpr DWORD kLockedByte = 0x40000000;

class Win32FileLock final : public FileLock {
 public:
  explicit Win32FileLock(HANDLE file) : file_(file) {}
  ~Win32FileLock() override {
    OVERLAPPED at{};
    at.Offset = kLockedByte;
    ::UnlockFileEx(file_, 0, 1, 0, &at);
    ::CloseHandle(file_);
  }
  Win32FileLock(const Win32FileLock&) = delete;
  Win32FileLock& operator=(const Win32FileLock&) = delete;

 private:
  HANDLE file_;
};

std::string ReadHolder(HANDLE file) {
  char text[64];
  DWORD got = 0;
  OVERLAPPED at{};
  if (!::ReadFile(file, text, sizeof text - 1, &got, &at) || got == 0) return {};
  std::string holder(text, got);
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
  return holder;
}

}  // namespace

LockAttempt LockFileExclusive(const std::string& nativePath, int waitMilliseconds) {
  LockAttempt attempt;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(win32::Widen(nativePath)).parent_path(),
                                      error);
  HANDLE file = ::CreateFileW(win32::LongPath(nativePath).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return attempt;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
  for (;;) {
    OVERLAPPED at{};
    at.Offset = kLockedByte;
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      break;
    }
    const DWORD failure = ::GetLastError();
    if (failure != ERROR_LOCK_VIOLATION || std::chrono::steady_clock::now() >= until) {
      attempt.busy = failure == ERROR_LOCK_VIOLATION;
      attempt.holder = ReadHolder(file);
      ::CloseHandle(file);
      return attempt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string pid = std::to_string(::GetCurrentProcessId()) + "\r\n";
  DWORD written = 0;
  OVERLAPPED at{};
  ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, &at);
  ::FlushFileBuffers(file);
  attempt.lock = std::make_unique<Win32FileLock>(file);
  return attempt;
}

}  // namespace sdmate
