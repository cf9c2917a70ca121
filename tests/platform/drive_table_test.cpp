// Drive letters for folders, and card paths turned into native ones.
#include "platform/drive_table.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

TEST(DriveTable, MapsModelPathsToNativeOnes) {
  DriveTable table;
  table.Assign('e', "/media/card/");
  EXPECT_EQ(table.ToNative("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\").value(),
            "/media/card/PRIVATE/DOCOMO/STILL/SUD001");
  EXPECT_EQ(table.ToNative("e:\\PRIVATE\\x.tbl").value(), "/media/card/PRIVATE/x.tbl");
  EXPECT_EQ(table.ToNative("E:\\").value(), "/media/card");
  EXPECT_EQ(table.ToNative("/home/u/photo.jpg").value(), "/home/u/photo.jpg");
  EXPECT_FALSE(table.ToNative("F:\\\\PRIVATE").has_value());
  table.Assign('R', "/");
  EXPECT_EQ(table.ToNative("R:\\\\SD_VIDEO\\").value(), "/SD_VIDEO");
}

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
