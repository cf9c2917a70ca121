// Drives on Windows: the logical drives map to themselves, and a chosen folder gets the next
// free letter inside the program. A refresh compares the usable drives (a card reader's only with
// a card in it) with the last ones; an eject flushes and dismounts the volume and asks the
// configuration manager to eject its disk, or else ejects the medium of a built-in slot.
#include <windows.h>
// (after windows.h)
#include <cfgmgr32.h>
#include <setupapi.h>
#include <winioctl.h>

#include <cstdio>
#include <vector>

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

std::string DriveRoot(int slot) { return std::string(1, static_cast<char>('A' + slot)) + ":\\"; }

// While it lives, a drive without its medium answers "not ready" instead of the system's
// "insert a disk" box.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~NoCriticalErrorBoxes() { ::SetThreadErrorMode(previous_, nullptr); }
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  DWORD previous_ = 0;
};

// The logical drives that can be used now: a card reader's letter exists without a card in it,
// and counts only while a medium is there.
DWORD UsableDrives() {
  const NoCriticalErrorBoxes quiet;
  DWORD mask = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    const DWORD bit = 1u << i;
    if (!(mask & bit)) continue;
    const std::wstring root = win32::Widen(DriveRoot(i));
    if (::GetDriveTypeW(root.c_str()) != DRIVE_REMOVABLE) continue;
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) mask &= ~bit;
  }
  return mask;
}

// The disks' interface class (GUID_DEVINTERFACE_DISK).
constexpr GUID kDiskInterface = {
    0x53f56307, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};

// The device instance of the disk with this number, or 0.
DEVINST DiskInstance(DWORD number) {
  HDEVINFO set = ::SetupDiGetClassDevsW(&kDiskInterface, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return 0;
  DEVINST found = 0;
  SP_DEVICE_INTERFACE_DATA face{};
  face.cbSize = sizeof face;
  for (DWORD i = 0;
       found == 0 && ::SetupDiEnumDeviceInterfaces(set, nullptr, &kDiskInterface, i, &face); ++i) {
    DWORD size = 0;
    ::SetupDiGetDeviceInterfaceDetailW(set, &face, nullptr, 0, &size, nullptr);
    std::vector<unsigned char> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!::SetupDiGetDeviceInterfaceDetailW(set, &face, detail, size, nullptr, &device)) continue;
    HANDLE disk = ::CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (disk == INVALID_HANDLE_VALUE) continue;
    STORAGE_DEVICE_NUMBER its{};
    DWORD bytes = 0;
    if (::DeviceIoControl(disk, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &its, sizeof its,
                          &bytes, nullptr) &&
        its.DeviceNumber == number) {
      found = device.DevInst;
    }
    ::CloseHandle(disk);
  }
  ::SetupDiDestroyDeviceInfoList(set);
  return found;
}

std::string LastErrorText() {
  wchar_t* text = nullptr;
  ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, ::GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string narrow = text != nullptr ? win32::Narrow(text) : std::string();
  ::LocalFree(text);
  return narrow;
}

class Win32Drives final : public Drives {
 public:
  explicit Win32Drives(DriveTable& table)
      : table_(table), mask_(::GetLogicalDrives()), usable_(UsableDrives()) {
    for (int i = 0; i < 26; ++i) {
      if (mask_ & (1u << i)) table_.Assign(static_cast<char>('A' + i), DriveRoot(i));
    }
  }

  // Every letter the table knows, but a reader's letter only while a card is in it (a letter
  // that leads nowhere is no drive to choose, and a card put in shows as a drive that came).
  std::vector<DriveInfo> List() override {
    std::vector<DriveInfo> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const int slot = letter - 'A';
      auto root = table_.RootOf(letter);
      if (!root || (*root == DriveRoot(slot) && !(usable_ & (1u << slot)))) continue;
      drives.push_back({letter, *root, TypeOf(letter), LabelOf(letter)});
    }
    return drives;
  }

  bool Refresh() override {
    const DWORD mask = ::GetLogicalDrives();
    const DWORD usable = UsableDrives();
    if (mask == mask_ && usable == usable_) return false;
    for (int i = 0; i < 26; ++i) {
      const DWORD bit = 1u << i;
      const char letter = static_cast<char>('A' + i);
      // A drive that came, or a medium put into a reader (an ejected one's letter stands for
      // nothing until then); a letter the user gave a folder keeps that folder.
      const bool came = (mask & bit) && (!(mask_ & bit) || (usable & ~usable_ & bit));
      if (came && !table_.RootOf(letter)) table_.Assign(letter, DriveRoot(i));
      if (!(mask & bit) && (mask_ & bit) && table_.RootOf(letter) == DriveRoot(i))
        table_.Assign(letter, {});
    }
    mask_ = mask;
    usable_ = usable;
    return true;
  }

  EjectResult Eject(char letter) override {
    const int slot = letter >= 'a' ? letter - 'a' : letter - 'A';
    if (slot < 0 || slot >= 26 || table_.RootOf(letter) != DriveRoot(slot) ||
        TypeOf(letter) != DriveType::Removable)
      return {false, false, {}};
    const NoCriticalErrorBoxes quiet;
    const std::wstring volumePath = std::wstring(L"\\\\.\\") + static_cast<wchar_t>(letter) + L":";
    HANDLE volume =
        ::CreateFileW(volumePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return {false, true, LastErrorText()};
    DWORD bytes = 0;
    STORAGE_DEVICE_NUMBER number{};
    const bool flushed =
        ::FlushFileBuffers(volume) &&
        ::DeviceIoControl(volume, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr) &&
        ::DeviceIoControl(volume, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr) &&
        ::DeviceIoControl(volume, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number,
                          sizeof number, &bytes, nullptr);
    EjectResult result{false, true, flushed ? std::string() : LastErrorText()};
    if (flushed) {
      DEVINST disk = DiskInstance(number.DeviceNumber);
      PNP_VETO_TYPE veto = PNP_VetoTypeUnknown;
      wchar_t vetoName[MAX_PATH] = {};
      // The disk itself, or else the reader it hangs on, is what the system ejects.
      CONFIGRET answer = disk != 0 ? ::CM_Request_Device_EjectW(disk, &veto, vetoName, MAX_PATH, 0)
                                   : CR_NO_SUCH_DEVINST;
      DEVINST parent = 0;
      if (answer != CR_SUCCESS && disk != 0 && ::CM_Get_Parent(&parent, disk, 0) == CR_SUCCESS)
        answer = ::CM_Request_Device_EjectW(parent, &veto, vetoName, MAX_PATH, 0);
      result.ejected = answer == CR_SUCCESS && veto == PNP_VetoTypeUnknown;
      // A slot of the computer itself is no device the system ejects: with the volume flushed,
      // locked and dismounted, its medium is ejected, and may be pulled out.
      if (!result.ejected) {
        PREVENT_MEDIA_REMOVAL allow{FALSE};
        ::DeviceIoControl(volume, IOCTL_STORAGE_MEDIA_REMOVAL, &allow, sizeof allow, nullptr, 0,
                          &bytes, nullptr);
        result.ejected = ::DeviceIoControl(volume, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr,
                                           0, &bytes, nullptr) != FALSE;
      }
      if (!result.ejected) {
        result.detail = vetoName[0] != L'\0' ? win32::Narrow(vetoName) : LastErrorText();
      }
    }
    ::CloseHandle(volume);
    if (result.ejected) {
      table_.Assign(letter, {});
      usable_ &= ~(1u << slot);
    }
    return result;
  }

  DriveType TypeOf(char letter) override {
    const NoCriticalErrorBoxes quiet;
    auto root = Root(letter);
    if (!root) return DriveType::NoRootDir;
    wchar_t volume[MAX_PATH + 1] = {};
    if (!::GetVolumePathNameW(root->c_str(), volume, MAX_PATH)) return DriveType::NoRootDir;
    return FromWindows(::GetDriveTypeW(volume));
  }

  std::int64_t TotalBytes(char letter) override {
    const NoCriticalErrorBoxes quiet;
    ULARGE_INTEGER available{}, total{}, free{};
    auto root = Root(letter);
    if (!root || !::GetDiskFreeSpaceExW(root->c_str(), &available, &total, &free)) return -1;
    return static_cast<std::int64_t>(total.QuadPart);
  }

  std::int64_t FreeBytes(char letter) override {
    const NoCriticalErrorBoxes quiet;
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

  std::string LabelOf(char letter) const {
    const NoCriticalErrorBoxes quiet;
    auto root = Root(letter);
    wchar_t label[MAX_PATH + 1] = {};
    if (!root || !::GetVolumeInformationW(root->c_str(), label, MAX_PATH + 1, nullptr, nullptr,
                                          nullptr, nullptr, 0))
      return {};
    return win32::Narrow(label);
  }

  DriveTable& table_;
  DWORD mask_;    // the logical drives
  DWORD usable_;  // those of them that hold a medium
};

}  // namespace

std::unique_ptr<Drives> MakeNativeDrives(DriveTable& table) {
  return std::make_unique<Win32Drives>(table);
}

}  // namespace sdmate
