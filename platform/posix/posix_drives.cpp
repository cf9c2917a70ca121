// Drives on POSIX systems: the mounted file systems get letters, removable ones first, and a
// chosen folder gets the next free letter. Removable means the block device says so.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/drive_table.h"
#include "platform/drives.h"

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

// Mount points of real devices, in the order of the mount table.
std::vector<std::string> MountedDevices() {
  std::vector<std::string> points;
  std::ifstream mounts("/proc/self/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, point;
    fields >> device >> point;
    if (device.rfind("/dev/", 0) != 0 || device.rfind("/dev/loop", 0) == 0) continue;
    point = Unescape(point);
    if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
  }
  return points;
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
    std::vector<std::string> points = MountedDevices();
    std::stable_partition(points.begin(), points.end(), [](const std::string& point) {
      return TypeOfFolder(point) == DriveType::Removable;
    });
    for (const std::string& point : points) table_.MapFolder(point);
  }

  std::vector<DriveInfo> List() override {
    std::vector<DriveInfo> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (auto root = table_.RootOf(letter)) {
        drives.push_back({letter, *root, TypeOfFolder(*root)});
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

 private:
  bool Query(char letter, struct statvfs& info) {
    auto root = table_.RootOf(letter);
    return root && ::statvfs(root->c_str(), &info) == 0;
  }

  DriveTable& table_;
};

}  // namespace

std::unique_ptr<Drives> MakeNativeDrives(DriveTable& table) {
  return std::make_unique<PosixDrives>(table);
}

}  // namespace sdmate
