// Drive letters for folders, and card paths turned into native ones.
#include "platform/drive_table.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

#ifdef _WIN32
TEST(DriveTable, MapsModelPathsToNativeOnes) {
  DriveTable table;
  table.Assign('e', "C:\\cards\\one\\");
  EXPECT_EQ(table.ToNative("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\").value(),
            "C:\\cards\\one\\PRIVATE\\DOCOMO\\STILL\\SUD001");
  EXPECT_EQ(table.ToNative("e:/PRIVATE/x.tbl").value(), "C:\\cards\\one\\PRIVATE\\x.tbl");
  // Letters the table does not know are the system's own drives.
  EXPECT_EQ(table.ToNative("F:\\\\PRIVATE").value(), "F:\\PRIVATE");
  EXPECT_EQ(table.ToNative("C:\\Users\\u\\photo.jpg").value(), "C:\\Users\\u\\photo.jpg");
}
#else
TEST(DriveTable, MapsModelPathsToNativeOnes) {
  DriveTable table;
  table.Assign('e', "/media/card/");
  EXPECT_EQ(table.ToNative("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\").value(),
            "/media/card/PRIVATE/DOCOMO/STILL/SUD001");
  EXPECT_EQ(table.ToNative("e:\\PRIVATE\\x.tbl").value(), "/media/card/PRIVATE/x.tbl");
  EXPECT_EQ(table.ToNative("E:\\").value(), "/media/card");
  EXPECT_EQ(table.ToNative("/home/u/photo.jpg").value(), "/home/u/photo.jpg");
  // Without drive letters on this system, a letter that stands for nothing reaches nothing.
  EXPECT_FALSE(table.ToNative("F:\\\\PRIVATE").has_value());
  table.Assign('R', "/");
  EXPECT_EQ(table.ToNative("R:\\\\SD_VIDEO\\").value(), "/SD_VIDEO");
}
#endif

TEST(DriveTable, FoldersGetTheNextFreeLetterOnce) {
  DriveTable table;
  table.Assign('C', "/");
  EXPECT_EQ(table.MapFolder("/tmp/card"), 'D');
  EXPECT_EQ(table.MapFolder("/tmp/other"), 'E');
  EXPECT_EQ(table.MapFolder("/tmp/card"), 'D');
  EXPECT_EQ(table.RootOf('D').value(), "/tmp/card");
  for (int i = 0; i < 21; ++i) table.MapFolder("/f" + std::to_string(i));
  EXPECT_EQ(table.MapFolder("/one/too/many"), 0);
}

TEST(DriveTable, DriveLetterOfAPath) {
  EXPECT_EQ(DriveLetterOf("e:\\x"), 'E');
  EXPECT_EQ(DriveLetterOf("/e:/x"), 0);
  EXPECT_EQ(DriveLetterOf(""), 0);
  EXPECT_EQ(DriveLetterOf("1:\\"), 0);
}

}  // namespace
}  // namespace sdmate
