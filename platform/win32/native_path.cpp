// Native paths, the program's folders and the clock on Windows.
#include "platform/native_path.h"

#include <windows.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/drive_table.h"
#include "platform/places.h"
#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

// The uninstaller the installer (cpack's NSIS) writes beside the program.
constexpr char kUninstallerName[] = "Uninstall.exe";

std::string WithSeparator(std::string path) {
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path.push_back('\\');
  return path;
}

std::string ExecutableDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return ".\\";
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  std::string path = win32::Narrow(buffer);
  return path.substr(0, path.find_last_of("\\/") + 1);
}

class SystemClock final : public Clock {
 public:
  LocalTime Now() override {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
  LocalTime LocalTimeOf(std::int64_t unixSeconds) override {
    // 100-nanosecond ticks since 1601, in the zone (and its summer time) of that instant.
    ULARGE_INTEGER ticks{};
    ticks.QuadPart = static_cast<ULONGLONG>(unixSeconds * 10000000LL + 116444736000000000LL);
    FILETIME utc{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME universal{}, local{};
    if (unixSeconds < -11644473600LL || !::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
      return CalendarTimeOf(unixSeconds);
    }
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
  }
};

}  // namespace

char NativeSeparator() { return '\\'; }

// A letter the table does not know is a drive of the system itself.
std::optional<std::string> UnmappedDriveRoot(char letter) { return std::string(1, letter) + ":"; }

SplitPath SplitNativePath(std::string_view path) {
  std::size_t at = path.find_last_of("\\/");
  if (at == std::string_view::npos) return {"", std::string(path)};
  return {std::string(path.substr(0, at + 1)), std::string(path.substr(at + 1))};
}

Places SystemPlaces() {
  Places places;
  places.programDirectory = ExecutableDirectory();
  DWORD length = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring current(length, L'\0');
  if (length > 0 && ::GetCurrentDirectoryW(length, current.data()) == length - 1) {
    current.resize(length - 1);
    places.currentDirectory = WithSeparator(win32::Narrow(current));
  } else {
    places.currentDirectory = ".\\";
  }
  const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
  places.dataDirectory = local != nullptr && local[0] != L'\0'
                             ? WithSeparator(win32::Narrow(local)) + "Sdmate\\"
                             : places.programDirectory + "Sdmate\\";
  places.historyDirectory = places.dataDirectory + "History\\";
  places.docDirectory = places.programDirectory;
  // The installer leaves its uninstaller beside the program; a portable copy has none.
  const std::wstring uninstaller = win32::Widen(places.programDirectory + kUninstallerName);
  const DWORD attributes = ::GetFileAttributesW(uninstaller.c_str());
  places.installed =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return places;
}

std::unique_ptr<Clock> MakeSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace sdmate
