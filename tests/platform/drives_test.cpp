// The system's drives as Windows gives them: the system drive is a fixed drive with its size,
// its volume's serial number for a key, nothing to eject; a folder the user picks gets a free
// letter of its own, through which its files are reached.
#include "platform/drives.h"

#include <gtest/gtest.h>

#include "platform/drive_table.h"
#include "tests/support/card_builder.h"

namespace sdmate::test {
namespace {

#ifdef _WIN32
TEST(Win32DrivesTest, TheSystemDriveIsFixedWithItsSizeAndAPickedFolderGetsAFreeLetter) {
  DriveTable table;
  std::unique_ptr<Drives> drives = MakeNativeDrives(table);
  bool listed = false;
  for (const DriveInfo& drive : drives->List()) {
    if (drive.letter != 'C') continue;
    listed = true;
    EXPECT_EQ(drive.root, "C:\\");
    EXPECT_EQ(drive.type, DriveType::Fixed);
  }
  ASSERT_TRUE(listed);
  EXPECT_GT(drives->TotalBytes('C'), 0);
  EXPECT_GE(drives->FreeBytes('C'), 0);
  EXPECT_LE(drives->FreeBytes('C'), drives->TotalBytes('C'));
  EXPECT_TRUE(drives->CardKeyOf('C').starts_with("serial:")) << drives->CardKeyOf('C');
  const EjectResult eject = drives->Eject('C');
  EXPECT_FALSE(eject.ejected);
  EXPECT_FALSE(eject.removable) << "a fixed drive is not even tried";
  EXPECT_FALSE(drives->Refresh()) << "nothing came or went";

  TempDir temp;
  WriteBytes(temp.path() / "card" / "file.txt", "card");
  const std::string folder = Utf8(temp.path() / "card");
  const char letter = drives->MapFolder(folder);
  ASSERT_NE(letter, 0);
  ASSERT_NE(letter, 'C');
  EXPECT_EQ(drives->NativePathOf(std::string(1, letter) + ":\\file.txt"), folder + "\\file.txt");
  EXPECT_EQ(drives->TypeOf(letter), DriveType::Fixed) << "the type of the folder's own drive";
  EXPECT_EQ(drives->CardKeyOf(letter), "path:" + folder);
  EXPECT_EQ(drives->MapFolder(folder), letter) << "once";
}
#endif

}  // namespace
}  // namespace sdmate::test
