// One full cycle on a real FAT file system: a vfat image mounted through FUSE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

bool Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A vfat image mounted on a folder for the life of the object.
class FatMount {
 public:
  explicit FatMount(const fs::path& base) : image_(base / "card.img"), mount_(base / "mnt") {
    if (!fs::exists("/dev/fuse") || !Run("command -v fusefat") || !Run("command -v mkfs.vfat")) {
      reason_ = "FUSE, fusefat or mkfs.vfat is not available";
      return;
    }
    fs::create_directories(mount_);
    { std::ofstream(image_).flush(); }
    fs::resize_file(image_, 32 * 1024 * 1024);
    if (!Run("mkfs.vfat -n SDCARD '" + image_.string() + "'")) {
      reason_ = "mkfs.vfat failed";
      return;
    }
    if (!Run("fusefat -o rw+ '" + image_.string() + "' '" + mount_.string() + "'")) {
      reason_ = "fusefat could not mount the image";
      return;
    }
    mounted_ = true;
    if (!Run("touch '" + (mount_ / "probe").string() + "'")) reason_ = "the mount is not writable";
    fs::remove(mount_ / "probe");
  }
  ~FatMount() {
    if (mounted_) Run("fusermount -u '" + mount_.string() + "'");
  }
  FatMount(const FatMount&) = delete;
  FatMount& operator=(const FatMount&) = delete;

  const fs::path& mount() const { return mount_; }
  // Empty when the image is mounted and writable.
  const std::string& reason() const { return reason_; }

 private:
  fs::path image_;
  fs::path mount_;
  bool mounted_ = false;
  std::string reason_;
};

TEST(FatImageTest, LoadEditUpdateAndReadBackOnFat) {
  TempDir temp;
  FatMount fat(temp.path());
  if (!fat.reason().empty()) GTEST_SKIP() << fat.reason();

  CardRig rig(fat.mount());
  rig.card.Folder(MediaKind::Image, 1, "one", {{.name = "STIL0001.JPG"}, {.name = "STIL0002.JPG"}});
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  rig.card.Folder(MediaKind::Image, 3, "three", {{.name = "STIL0001.JPG", .content = "three"}});
  rig.card.Folder(MediaKind::Movie, 10, "unreached", {});
  rig.card.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}, {.name = "MOL002.3GP"}});
  const std::string pdf = rig.ComputerFile("new.pdf", "%PDF new");

  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_TRUE(rig.session.MoveItemDown(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 2).deleted);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Movie, 1, 1).changed);
  ASSERT_EQ(rig.AddFiles(MediaKind::Document, 1, {pdf}).staged, 1);
  UpdateResult result = rig.Update();
  ASSERT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();

  const fs::path still = fat.mount() / "PRIVATE/DOCOMO/STILL";
  EXPECT_EQ(ReadBytes(still / "SUD001/STIL0001.JPG"), CardBuilder::DefaultContent("STIL0002.JPG"));
  EXPECT_EQ(ReadBytes(still / "SUD001/STIL0002.JPG"), CardBuilder::DefaultContent("STIL0001.JPG"));
  EXPECT_EQ(ReadBytes(still / "SUD002/STIL0001.JPG"), "three");
  EXPECT_FALSE(fs::exists(still / "SUD003"));
  EXPECT_FALSE(fs::exists(fat.mount() / "PRIVATE/DOCOMO/TABLE/STILL/SUD003.TBL"));
  EXPECT_EQ(ReadBytes(fat.mount() / "PRIVATE/DOCOMO/DOCUMENT/PUD001/PDFDC001.PDF"), "%PDF new");
  EXPECT_FALSE(fs::exists(fat.mount() / "SD_VIDEO/PRL001/MOL001.3GP"));
  for (const std::string& name : ListTree(fat.mount())) {
    EXPECT_NE(name.back(), '_') << name;
    EXPECT_EQ(name.find(".new"), std::string::npos) << name;
  }
  EXPECT_EQ(rig.model().of(MediaKind::Image).folderCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Document, 1).itemCount(), 1);
  EXPECT_EQ(rig.Folder(MediaKind::Movie, 1).itemCount(), 1);
  EXPECT_EQ(DecodeTable(MediaKind::Image,
                        ReadBytes(fat.mount() / "PRIVATE/DOCOMO/TABLE/STILL/SUD002.TBL"))
                .folderTitle,
            "three");
}

}  // namespace
}  // namespace sdmate::test
