// The program's folders and the clock on POSIX systems.
#include "platform/places.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/clock.h"

namespace sdmate {
namespace {

std::string WithSeparator(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

class SystemClock final : public Clock {
 public:
  LocalTime Now() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
  }
  LocalTime LocalTimeOf(std::int64_t unixSeconds) override {
    const auto when = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr) return CalendarTimeOf(unixSeconds);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
  }
};

}  // namespace

Places SystemPlaces() {
  Places places;
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  places.programDirectory = error ? "./" : WithSeparator(self.parent_path().string());
  std::filesystem::path current = std::filesystem::current_path(error);
  places.currentDirectory = error ? "./" : WithSeparator(current.string());
  // The XDG base directories: an empty or relative value is to be ignored.
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data != nullptr && data[0] == '/') {
    places.dataDirectory = WithSeparator(data) + "sdmate/";
  } else if (home != nullptr && home[0] == '/') {
    places.dataDirectory = WithSeparator(home) + ".local/share/sdmate/";
  } else {
    places.dataDirectory = places.programDirectory + "sdmate-data/";
  }
  places.historyDirectory = places.dataDirectory + "history/";
  // The installed layout is relative to the program, so a package or a prefix of the user's
  // own finds it alike.
  places.docDirectory =
      WithSeparator((std::filesystem::path(places.programDirectory) / SDMATE_DOC_FROM_BIN)
                        .lexically_normal()
                        .string());
  return places;
}

std::unique_ptr<Clock> MakeSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace sdmate
