// One full cycle on a real FAT file system: a vfat image mounted through FUSE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "core/content_table.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

bool Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A vfat image mounted on a folder for the life of the object.
class FatMount {
 public:
  // filled: a folder whose tree is copied into the image before it is mounted (much faster than
  // writing through the mount).
  // clusterSectors: sectors of 512 bytes per cluster (0: mkfs.vfat's choice).
  explicit FatMount(const fs::path& base, int megabytes = 32, const fs::path& filled = {},
                    int clusterSectors = 0)
      : image_(base / "card.img"), mount_(base / "mnt") {
    if (!fs::exists("/dev/fuse") || !Run("command -v fusefat") || !Run("command -v mkfs.vfat")) {
      reason_ = "FUSE, fusefat or mkfs.vfat is not available";
      return;
    }
    fs::create_directories(mount_);
    { std::ofstream(image_).flush(); }
    fs::resize_file(image_, static_cast<std::uintmax_t>(megabytes) * 1024 * 1024);
    const std::string cluster =
        clusterSectors > 0 ? " -s " + std::to_string(clusterSectors) : std::string();
    if (!Run("mkfs.vfat -n SDCARD" + cluster + " '" + image_.string() + "'")) {
      reason_ = "mkfs.vfat failed";
      return;
    }
    if (!filled.empty() &&
        !Run("mcopy -s -m -i '" + image_.string() + "' '" + filled.string() + "'/* ::/")) {
      reason_ = "mcopy (mtools) could not fill the image";
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
  const std::string pdf = rig.ComputerFile("new.pdf", PdfBytes(300));

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
  EXPECT_EQ(ReadBytes(fat.mount() / "PRIVATE/DOCOMO/DOCUMENT/PUD001/PDFDC001.PDF"), PdfBytes(300));
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

// A full card of one kind on FAT: 127 folders of 128 small pictures, loaded, edited (a delete
// and a renumber, a title, a folder delete near the end and a new folder with a new picture)
// and committed, then read back byte for byte.
TEST(FatImageTest, AFullCardOfOneKindOnFat) {
  TempDir temp;
  CardBuilder tree(temp.path() / "tree");
  for (int n = 1; n <= kMaxFolders; ++n) {
    std::vector<TableItem> items;
    for (int p = 1; p <= kMaxItems; ++p) {
      items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                       .title = "t" + std::to_string(p),
                       .content = std::to_string(n) + "/" + std::to_string(p)});
    }
    tree.Folder(MediaKind::Image, n, "f" + std::to_string(n), items);
  }
  if (!sdmate::test::Run("command -v mcopy")) GTEST_SKIP() << "mcopy (mtools) is not available";
  // Large clusters: fusefat cannot grow a directory past its first clusters, and the table
  // directory of a full kind takes its temporary names beside 127 tables.
  FatMount fat(temp.path(), 320, tree.root(), 32);
  if (!fat.reason().empty()) GTEST_SKIP() << fat.reason();
  CardRig rig(fat.mount());
  const std::string photo = rig.ComputerFile("new.jpg", JpegBytes(300));
  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_EQ(rig.model().of(MediaKind::Image).folderCount(), kMaxFolders);
  ASSERT_TRUE(rig.session.DeleteItem(MediaKind::Image, 1, 1).changed);
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 64, 5, "five").changed);
  // A full folder takes no file, deleted items included; a folder made in the deleted one's
  // stead does.
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 0);
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 126).deleted);
  ASSERT_EQ(rig.session.AddFolder(MediaKind::Image), kMaxFolders);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, kMaxFolders, {photo}).staged, 1);
  ExpectCompleted(rig, rig.Update());

  const CardModel after = rig.LoadFresh();
  const auto listed = ListedContents(rig, after, MediaKind::Image);
  ASSERT_EQ(listed.size(), 127u);
  std::vector<std::string> first;
  for (int p = 2; p <= kMaxItems; ++p) first.push_back("1/" + std::to_string(p));
  EXPECT_EQ(listed[0], first);
  EXPECT_EQ(listed[126], std::vector<std::string>{JpegBytes(300)});
  for (int n = 2; n <= 126; ++n) {
    const int was = n < 126 ? n : 127;
    ASSERT_EQ(listed[static_cast<std::size_t>(n - 1)].size(), 128u) << n;
    EXPECT_EQ(listed[static_cast<std::size_t>(n - 1)][127], std::to_string(was) + "/128") << n;
  }
  EXPECT_EQ(VisibleItems(after.of(MediaKind::Image).folder(64))[4]->title, "five");
  EXPECT_EQ(ReadBytes(fat.mount() / "PRIVATE/DOCOMO/STILL/SUD126/STIL0001.JPG"), "127/1");
  EXPECT_EQ(ReadBytes(fat.mount() / "PRIVATE/DOCOMO/STILL/SUD127/STIL0001.JPG"), JpegBytes(300));
  ExpectNoTemporaries(rig);
}

}  // namespace
}  // namespace sdmate::test

namespace sdmate::test {
namespace {

// An export into a FAT folder: the file system, not the program, says which names are taken,
// so a title differing from a file there only in case never replaces it.
TEST(FatImageTest, AnExportNeverReplacesAFileTheFileSystemCallsTheSameName) {
  TempDir temp;
  FatMount fat(temp.path());
  if (!fat.reason().empty()) GTEST_SKIP() << fat.reason();
  // A folder of its own: fusefat shows the volume label as a file of the root.
  const fs::path out = fat.mount() / "out";
  WriteBytes(out / "PHOTO.JPG", "the user's");

  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "f",
                  {{.name = "STIL0001.JPG", .title = "photo", .content = "card one"},
                   {.name = "STIL0002.JPG", .title = "PHOTO", .content = "card two"}});
  rig.Load();
  const ExportResult first = rig.session.ExportFolder(MediaKind::Image, 1, Utf8(out));
  EXPECT_TRUE(first.failed.empty());
  EXPECT_EQ(first.written.size(), 2U);
  EXPECT_EQ(ReadBytes(out / "PHOTO.JPG"), "the user's");
  std::multiset<std::string> contents;
  for (const std::string& name : ListTree(out)) {
    contents.insert(ReadBytes(out / name));
  }
  EXPECT_EQ(contents, (std::multiset<std::string>{"the user's", "card one", "card two"}));

  const ExportResult again = rig.session.ExportFolder(MediaKind::Image, 1, Utf8(out));
  EXPECT_TRUE(again.written.empty());
  EXPECT_EQ(again.same.size(), 2U);
  EXPECT_EQ(ListTree(out).size(), 3U);
}

}  // namespace
}  // namespace sdmate::test

namespace sdmate::test {
namespace {

// On FAT "stil0001.jpg" and "STIL0001.JPG" are one file. A table entry in lower case and a stray
// in lower case: the add takes a number neither has, a stray that turns up after the add was
// staged is renamed out of the way, and every picture keeps its bytes.
TEST(FatImageTest, NamesThatDifferOnlyInCaseAreOneFileOnFat) {
  TempDir temp;
  FatMount fat(temp.path());
  if (!fat.reason().empty()) GTEST_SKIP() << fat.reason();
  CardRig rig(fat.mount());
  rig.card.Folder(MediaKind::Image, 1, "one",
                  {{.name = "stil0001.jpg", .content = "old one"},
                   {.name = "STIL0002.JPG", .content = "old two"}});
  const fs::path folder = fat.mount() / "PRIVATE/DOCOMO/STILL/SUD001";
  WriteBytes(folder / "stil0003.jpg", "a stray");
  const std::string first = rig.ComputerFile("first.jpg", (JpegBytes(64) + "first"));
  const std::string second = rig.ComputerFile("second.jpg", (JpegBytes(64) + "second"));

  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {first, second}).staged, 2);
  // The handset writes a picture under the name the second new one was given.
  WriteBytes(folder / "stil0005.jpg", "the handset's");
  const UpdateResult result = rig.Update();
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  EXPECT_EQ(result.setAside.size(), 1U);

  std::multiset<std::string> contents;
  for (const std::string& name : ListTree(folder)) contents.insert(ReadBytes(folder / name));
  EXPECT_EQ(contents,
            (std::multiset<std::string>{"old one", "old two", "a stray", (JpegBytes(64) + "first"),
                                        (JpegBytes(64) + "second"), "the handset's"}));
  const CardModel after = rig.LoadFresh();
  EXPECT_EQ(ListedContents(rig, after, MediaKind::Image),
            (std::vector<std::vector<std::string>>{
                {"old one", "old two", (JpegBytes(64) + "first"), (JpegBytes(64) + "second")}}));
  EXPECT_EQ(ReadBytes(folder / "STIL0003.JPG"), "a stray");
  EXPECT_EQ(ReadBytes(folder / "STIL0004.JPG"), (JpegBytes(64) + "first"));
  EXPECT_EQ(ReadBytes(folder / "STIL0005.JPG"), (JpegBytes(64) + "second"));
  ExpectNoTemporaries(rig);
}

// A table that names "STIL0002.JPG" where FAT holds "stil0002.jpg": one file, found in the
// folder's listing. It loads with its size, the check finds it neither missing nor an orphan,
// and a commit that touches another folder keeps it as read.
TEST(FatImageTest, ATableNameInAnotherCaseFindsItsFileInTheListing) {
  TempDir temp;
  FatMount fat(temp.path());
  if (!fat.reason().empty()) GTEST_SKIP() << fat.reason();
  CardRig rig(fat.mount());
  rig.card.Folder(MediaKind::Image, 1, "one",
                  {{.name = "STIL0001.JPG", .content = "one"},
                   {.name = "STIL0002.JPG", .content = "second picture"}});
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two"}});
  const fs::path folder = fat.mount() / "PRIVATE/DOCOMO/STILL/SUD001";
  fs::rename(folder / "STIL0002.JPG", folder / "moved.jpg");
  fs::rename(folder / "moved.jpg", folder / "stil0002.jpg");
  ASSERT_EQ(ListTree(folder), (std::vector<std::string>{"STIL0001.JPG", "stil0002.jpg"}));

  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).items[1].size, 14);
  EXPECT_TRUE(rig.session.Check(CardRig::kDrive).empty());

  ASSERT_TRUE(rig.session.StoreFolderTitle(MediaKind::Image, 2, "changed").changed);
  const UpdateResult result = rig.Update();
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  EXPECT_EQ(rig.Folder(MediaKind::Image, 1).itemCount(), 2);
  EXPECT_EQ(rig.Folder(MediaKind::Image, 2).folderTitle, "changed");
  EXPECT_EQ(ReadBytes(folder / "stil0002.jpg"), "second picture");
}

}  // namespace
}  // namespace sdmate::test
