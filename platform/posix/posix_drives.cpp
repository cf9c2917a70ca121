// Drives on POSIX systems: the mounted file systems get letters, removable ones first, and a
// chosen folder gets the next free letter. Removable means the block device says so. The mount
// table is read again on each refresh; an eject flushes, unmounts and powers off through
// udisksctl.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/drive_table.h"
#include "platform/drives.h"
#include "platform/processes.h"

namespace sdmate {
namespace {

namespace fs = std::filesystem;

// The mount table writes a space in a path as \040 (and the like for other bytes).
std::string Unescape(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\\' && at + 3 < text.size()) {
      int value = (text[at + 1] - '0') * 64 + (text[at + 2] - '0') * 8 + (text[at + 3] - '0');
      result.push_back(static_cast<char>(value));
      at += 3;
    } else {
      result.push_back(text[at]);
    }
  }
  return result;
}

struct Mount {
  std::string device;  // "/dev/sdb1"
  std::string point;   // "/media/user/CARD"
};

// Mounts of real devices, in the order of the mount table, each point once.
std::vector<Mount> MountedDevices() {
  std::vector<Mount> mounts;
  std::ifstream table("/proc/self/mounts");
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string device, point;
    fields >> device >> point;
    if (device.rfind("/dev/", 0) != 0 || device.rfind("/dev/loop", 0) == 0) continue;
    point = Unescape(point);
    if (std::none_of(mounts.begin(), mounts.end(),
                     [&point](const Mount& mount) { return mount.point == point; })) {
      mounts.push_back({Unescape(device), point});
    }
  }
  return mounts;
}

// The mount a folder lies on: the mounted device whose mount point is the longest leading part
// of the folder's real path.
std::optional<Mount> MountOf(const std::string& folder) {
  std::error_code error;
  const std::string real = fs::canonical(folder, error).string();
  if (error) return std::nullopt;
  std::optional<Mount> best;
  for (const Mount& mount : MountedDevices()) {
    const bool inside =
        real == mount.point || mount.point == "/" || real.rfind(mount.point + "/", 0) == 0;
    if (inside && (!best || mount.point.size() > best->point.size())) best = mount;
  }
  return best;
}

// The label udev gives a device's file system (/dev/disk/by-label, with "\x20" for a space).
std::string LabelOf(const std::string& device) {
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) return {};
  for (const auto& entry : fs::directory_iterator("/dev/disk/by-label", error)) {
    std::error_code linkError;
    if (fs::canonical(entry.path(), linkError) != target || linkError) continue;
    const std::string name = entry.path().filename().string();
    std::string label;
    for (std::size_t at = 0; at < name.size(); ++at) {
      if (name.compare(at, 2, "\\x") == 0 && at + 3 < name.size()) {
        label.push_back(static_cast<char>(std::stoi(name.substr(at + 2, 2), nullptr, 16)));
        at += 3;
      } else {
        label.push_back(name[at]);
      }
    }
    return label;
  }
  return {};
}

DriveType TypeOfFolder(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return DriveType::NoRootDir;
  std::error_code error;
  fs::path device = fs::canonical("/sys/dev/block/" + std::to_string(major(info.st_dev)) + ":" +
                                      std::to_string(minor(info.st_dev)),
                                  error);
  if (error) return DriveType::Fixed;  // no block device: tmpfs, overlay, a network share
  const std::string text = device.string();
  if (text.find("/usb") != std::string::npos) return DriveType::Removable;
  if (device.filename().string().rfind("mmcblk", 0) == 0) return DriveType::Removable;
  for (fs::path at = device; at.has_relative_path() && at != at.parent_path();
       at = at.parent_path()) {
    std::ifstream removable(at / "removable");
    int flag = 0;
    if (removable >> flag) return flag ? DriveType::Removable : DriveType::Fixed;
  }
  return DriveType::Fixed;
}

// The UUID of the file system a mount point holds, through the links of /dev/disk/by-uuid;
// empty when it has none (or the folder is no mount point).
std::string UuidOfMount(const fs::path& point) {
  struct stat at {};
  struct stat above {};
  if (::stat(point.c_str(), &at) != 0 || ::stat(point.parent_path().c_str(), &above) != 0)
    return {};
  if (at.st_dev == above.st_dev && point != point.root_path()) return {};  // no mount point
  std::error_code error;
  for (fs::directory_iterator it("/dev/disk/by-uuid", error), end; !error && it != end;
       it.increment(error)) {
    struct stat device {};
    if (::stat(it->path().c_str(), &device) == 0 && S_ISBLK(device.st_mode) &&
        device.st_rdev == at.st_dev) {
      return it->path().filename().string();
    }
  }
  return {};
}

class PosixDrives final : public Drives {
 public:
  explicit PosixDrives(DriveTable& table) : table_(table) {
    std::vector<Mount> mounts = MountedDevices();
    std::stable_partition(mounts.begin(), mounts.end(), [](const Mount& mount) {
      return TypeOfFolder(mount.point) == DriveType::Removable;
    });
    for (const Mount& mount : mounts) Take(mount);
  }

  std::vector<DriveInfo> List() override {
    std::vector<DriveInfo> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (auto root = table_.RootOf(letter)) {
        const auto mounted = mounted_.find(letter);
        drives.push_back({letter, *root, TypeOfFolder(*root),
                          mounted != mounted_.end() ? LabelOf(mounted->second.device) : ""});
      }
    }
    return drives;
  }

  DriveType TypeOf(char letter) override {
    auto root = table_.RootOf(letter);
    return root ? TypeOfFolder(*root) : DriveType::NoRootDir;
  }

  std::int64_t TotalBytes(char letter) override {
    struct statvfs info {};
    if (!Query(letter, info)) return -1;
    return static_cast<std::int64_t>(info.f_blocks) * static_cast<std::int64_t>(info.f_frsize);
  }

  std::int64_t FreeBytes(char letter) override {
    struct statvfs info {};
    if (!Query(letter, info)) return -1;
    return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
  }

  char MapFolder(const std::string& folder) override { return table_.MapFolder(folder); }

  std::optional<std::string> NativePathOf(const std::string& modelPath) override {
    return table_.ToNative(modelPath);
  }

  std::string CardKeyOf(char letter) override {
    auto root = table_.RootOf(letter);
    if (!root) return {};
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::path(*root), error);
    if (error) return "path:" + *root;
    const std::string uuid = UuidOfMount(folder);
    return uuid.empty() ? "path:" + folder.string() : "uuid:" + uuid;
  }

  bool Refresh() override {
    const std::vector<Mount> mounts = MountedDevices();
    bool changed = false;
    for (auto at = mounted_.begin(); at != mounted_.end();) {
      const bool still = std::any_of(mounts.begin(), mounts.end(), [&at](const Mount& mount) {
        return mount.point == at->second.point;
      });
      if (still) {
        ++at;
        continue;
      }
      table_.Assign(at->first, {});
      at = mounted_.erase(at);
      changed = true;
    }
    for (const Mount& mount : mounts) {
      const bool known = std::any_of(mounted_.begin(), mounted_.end(), [&mount](const auto& entry) {
        return entry.second.point == mount.point;
      });
      if (!known && Take(mount)) changed = true;
    }
    return changed;
  }

  EjectResult Eject(char letter) override {
    const std::optional<std::string> root = table_.RootOf(letter);
    const std::optional<Mount> mount = root ? MountOf(*root) : std::nullopt;
    if (!mount || TypeOfFolder(mount->point) != DriveType::Removable) return {false, false, {}};
    // Whatever the kernel still holds for the medium is written before it goes.
    const int folder = ::open(mount->point.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      ::syncfs(folder);
      ::close(folder);
    }
    // udisks unmounts for the user without the super-user's rights; its words say why not.
    std::unique_ptr<Processes> processes = MakeNativeProcesses();
    const std::optional<std::string> udisks =
        processes->FindProgram("udisksctl", ProgramSearchPath());
    if (!udisks) return {false, true, "udisksctl が見つかりません"};
    auto udisksctl = [&](const char* verb) {
      return processes->Run({.program = *udisks,
                             .arguments = {verb, "-b", mount->device},
                             .timeout = std::chrono::seconds(30)});
    };
    const ProcessResult unmounted = udisksctl("unmount");
    if (!unmounted.succeeded()) return {false, true, unmounted.output + unmounted.errors};
    // Unmounted is safe to pull; a reader that cannot be powered off (an internal slot) is
    // no failure.
    udisksctl("power-off");
    for (auto at = mounted_.begin(); at != mounted_.end();) {
      at = at->second.point == mount->point ? mounted_.erase(at) : std::next(at);
    }
    // The letter, and every folder picked inside the medium, stand for nothing now.
    for (const auto& [assigned, folderRoot] : table_.Assigned()) {
      const bool inside =
          folderRoot == mount->point || folderRoot.rfind(mount->point + "/", 0) == 0;
      if (assigned == letter || inside) table_.Assign(assigned, {});
    }
    return {true, true, {}};
  }

 private:
  // Gives a mount a letter; false when none is free.
  bool Take(const Mount& mount) {
    const char letter = table_.MapFolder(mount.point);
    if (letter == 0) return false;
    mounted_[letter] = mount;
    return true;
  }

  bool Query(char letter, struct statvfs& info) {
    auto root = table_.RootOf(letter);
    return root && ::statvfs(root->c_str(), &info) == 0;
  }

  DriveTable& table_;
  std::map<char, Mount> mounted_;  // the letters the mount table gave, with their mounts
};

}  // namespace

std::unique_ptr<Drives> MakeNativeDrives(DriveTable& table) {
  return std::make_unique<PosixDrives>(table);
}

}  // namespace sdmate
