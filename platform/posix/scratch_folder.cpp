// The run's scratch folder on POSIX systems: mkdtemp below $TMPDIR (or /tmp), so only the user
// can read what waits there.
#include "platform/scratch_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace sdmate {
namespace {

class PosixScratchFolder final : public ScratchFolder {
 public:
  explicit PosixScratchFolder(std::string prefix) : prefix_(std::move(prefix)) {}
  ~PosixScratchFolder() override { Clear(); }
  PosixScratchFolder(const PosixScratchFolder&) = delete;
  PosixScratchFolder& operator=(const PosixScratchFolder&) = delete;

  std::string NewFolder() override {
    const std::string root = Root();
    if (root.empty()) return {};
    for (;;) {
      const std::string folder = root + std::to_string(++count_);
      if (::mkdir(folder.c_str(), 0700) == 0) return folder + "/";
      if (errno != EEXIST) return {};
    }
  }

  void Clear() override {
    if (path_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    path_.clear();
  }

 private:
  std::string Root() {
    if (!path_.empty()) return path_;
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    if (base.back() != '/') base.push_back('/');
    std::string pattern = base + prefix_ + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) return {};
    path_ = std::string(name.data()) + "/";
    return path_;
  }

  std::string prefix_;
  std::string path_;
  unsigned count_ = 0;
};

}  // namespace

std::unique_ptr<ScratchFolder> MakeScratchFolder(const std::string& prefix) {
  return std::make_unique<PosixScratchFolder>(prefix);
}

}  // namespace sdmate
