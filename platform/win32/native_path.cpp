// Native paths, the clock and the executable's place on Windows.
#include "platform/native_path.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_util.h"

namespace sdmate {

SplitPath SplitNativePath(std::string_view path) {
  std::size_t at = path.find_last_of("\\/");
  if (at == std::string_view::npos) return {"", std::string(path)};
  return {std::string(path.substr(0, at + 1)), std::string(path.substr(at + 1))};
}

std::string LocalBackupStamp() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return text;
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

}  // namespace sdmate
