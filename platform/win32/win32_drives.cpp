// Drives on Windows: the logical drives map to themselves, and a chosen folder gets the next
// free letter inside the program.
#include <windows.h>

#include <cstdio>

#include "platform/drive_table.h"
#include "platform/drives.h"
#include "platform/win32/win32_util.h"

namespace sdmate {
namespace {

DriveType FromWindows(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return DriveType::Removable;
    case DRIVE_FIXED:
      return DriveType::Fixed;
    case DRIVE_REMOTE:
      return DriveType::Remote;
    case DRIVE_CDROM:
      return DriveType::CdRom;
    case DRIVE_RAMDISK:
      return DriveType::RamDisk;
    case DRIVE_NO_ROOT_DIR:
      return DriveType::NoRootDir;
    default:
      return DriveType::Unknown;
  }
}

class Win32Drives final : public Drives {
 public:
  explicit Win32Drives(DriveTable& table) : table_(table) {
    DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if (mask & (1u << i))
        table_.Assign(static_cast<char>('A' + i), std::string(1, 'A' + i) + ":\\");
    }
  }

  std::vector<DriveInfo> List() override {
    std::vector<DriveInfo> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (auto root = table_.RootOf(letter)) drives.push_back({letter, *root, TypeOf(letter)});
    }
    return drives;
  }

  DriveType TypeOf(char letter) override {
    auto root = Root(letter);
    if (!root) return DriveType::NoRootDir;
    wchar_t volume[MAX_PATH + 1] = {};
    if (!::GetVolumePathNameW(root->c_str(), volume, MAX_PATH)) return DriveType::NoRootDir;
    return FromWindows(::GetDriveTypeW(volume));
  }

  std::int64_t TotalBytes(char letter) override {
    ULARGE_INTEGER available{}, total{}, free{};
    auto root = Root(letter);
    if (!root || !::GetDiskFreeSpaceExW(root->c_str(), &available, &total, &free)) return -1;
    return static_cast<std::int64_t>(total.QuadPart);
  }

  std::int64_t FreeBytes(char letter) override {
    ULARGE_INTEGER available{}, total{}, free{};
    auto root = Root(letter);
    if (!root || !::GetDiskFreeSpaceExW(root->c_str(), &available, &total, &free)) return -1;
    return static_cast<std::int64_t>(available.QuadPart);
  }

  char MapFolder(const std::string& folder) override { return table_.MapFolder(folder); }

  std::optional<std::string> NativePathOf(const std::string& modelPath) override {
    return table_.ToNative(modelPath);
  }

  std::string CardKeyOf(char letter) override {
    auto root = table_.RootOf(letter);
    if (!root) return {};
    const std::wstring wide = win32::Widen(*root);
    // A drive of the system: its volume's serial number; a folder standing for a card: its path.
    if (wide.size() <= 3 && wide.size() >= 2 && wide[1] == L':') {
      DWORD serial = 0;
      std::wstring volume = wide.substr(0, 2) + L"\\";
      if (::GetVolumeInformationW(volume.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr,
                                  0)) {
        char text[16];
        std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(serial));
        return std::string("serial:") + text;
      }
    }
    return "path:" + *root;
  }

 private:
  std::optional<std::wstring> Root(char letter) const {
    auto root = table_.RootOf(letter);
    if (!root) return std::nullopt;
    std::wstring wide = win32::Widen(*root);
    if (wide.empty() || (wide.back() != L'\\' && wide.back() != L'/')) wide.push_back(L'\\');
    return wide;
  }

  DriveTable& table_;
};

}  // namespace

std::unique_ptr<Drives> MakeNativeDrives(DriveTable& table) {
  return std::make_unique<Win32Drives>(table);
}

}  // namespace sdmate
