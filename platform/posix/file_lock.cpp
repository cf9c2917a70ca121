// The card's lock with flock: released by the system when the descriptor closes or the
// process dies.
#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace sdmate {
namespace {

class PosixFileLock final : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

 private:
  int fd_;
};

std::string ReadHolder(int fd) {
  char text[64];
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  if (got <= 0) return {};
  std::string holder(text, static_cast<std::size_t>(got));
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0')) holder.pop_back();
  return holder;
}

}  // namespace

LockAttempt LockFileExclusive(const std::string& nativePath, int waitMilliseconds) {
  LockAttempt attempt;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(nativePath).parent_path(), error);
  const int fd = ::open(nativePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return attempt;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until) {
      attempt.busy = errno == EWOULDBLOCK;
      attempt.holder = ReadHolder(fd);
      ::close(fd);
      return attempt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, pid.data(), pid.size(), 0);
  }
  attempt.lock = std::make_unique<PosixFileLock>(fd);
  return attempt;
}

}  // namespace sdmate
