// Makes every flush of a file below SDMATE_SLOW_UNDER (the benchmark's cards; every file when it
// is not set) cost what it costs on a card behind a USB reader: 15 ms by default, SDMATE_FLUSH_MS
// to change. The computer's own disk, where the history is kept, flushes at its own speed.
// Loaded with LD_PRELOAD around fsync, fdatasync and syncfs.
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

bool OnTheCard(int fd) {
  static const char* under = std::getenv("SDMATE_SLOW_UNDER");
  if (under == nullptr || *under == '\0') return true;
  char target[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t size = ::readlink(link.c_str(), target, sizeof target - 1);
  return size > 0 && std::string(target, static_cast<std::size_t>(size)).starts_with(under);
}

void Wait(int fd) {
  static const long milliseconds = [] {
    const char* text = std::getenv("SDMATE_FLUSH_MS");
    return text != nullptr ? std::atol(text) : 15L;
  }();
  if (OnTheCard(fd)) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));  // NOLINT
}

}  // namespace

extern "C" int fsync(int fd) {
  static auto real = Next<int (*)(int)>("fsync");
  Wait(fd);
  return real(fd);
}

extern "C" int fdatasync(int fd) {
  static auto real = Next<int (*)(int)>("fdatasync");
  Wait(fd);
  return real(fd);
}

extern "C" int syncfs(int fd) {
  static auto real = Next<int (*)(int)>("syncfs");
  Wait(fd);
  return real(fd);
}
