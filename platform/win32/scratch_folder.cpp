// The run's scratch folder on Windows: a new folder in the user's temporary folder
// (GetTempPathW), its name made unique by the process, a count and the time.
#include "platform/scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

class Win32ScratchFolder final : public ScratchFolder {
 public:
  explicit Win32ScratchFolder(std::string prefix) : prefix_(std::move(prefix)) {}
  ~Win32ScratchFolder() override { Clear(); }
  Win32ScratchFolder(const Win32ScratchFolder&) = delete;
  Win32ScratchFolder& operator=(const Win32ScratchFolder&) = delete;

  std::string NewFolder() override {
    if (!MakeRoot()) return {};
    for (;;) {
      const std::wstring folder = path_ + std::to_wstring(++folders_);
      if (::CreateDirectoryW(folder.c_str(), nullptr)) return win32::Narrow(folder) + "\\";
      if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
  }

  void Clear() override {
    if (path_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(path_), error);
    path_.clear();
  }

 private:
  bool MakeRoot() {
    if (!path_.empty()) return true;
    wchar_t base[MAX_PATH + 2] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH + 1) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::wstring name = std::wstring(base) + win32::Widen(prefix_) + L"-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++count_) + L"-" +
                                std::to_wstring(::GetTickCount64());
      if (::CreateDirectoryW(name.c_str(), nullptr)) {
        path_ = name + L"\\";
        return true;
      }
      if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
  }

  std::string prefix_;
  std::wstring path_;
  unsigned count_ = 0;
  unsigned folders_ = 0;
};

}  // namespace

std::unique_ptr<ScratchFolder> MakeScratchFolder(const std::string& prefix) {
  return std::make_unique<Win32ScratchFolder>(prefix);
}

}  // namespace sdmate
