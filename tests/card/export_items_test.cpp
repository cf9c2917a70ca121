// Export of a folder's items into a folder of the computer under their titles: the naming rule,
// the copies with their bytes and times, names already taken, and a copy that fails.
#include "card/export_items.h"

#include <gtest/gtest.h>

#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

TEST(ExportNameTest, TitlesBecomeNamesEveryFileSystemTakes) {
  const std::pair<std::string, std::string> cases[] = {
      {"海の写真", "海の写真.JPG"},  {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j.JPG"},
      {"tab\there", "tab_here.JPG"}, {"  spaced out. . ", "spaced out.JPG"},
      {"", "STIL0001.JPG"},                                // no title: the card's own name
      {" ...", "STIL0001.JPG"},      {"con", "con_.JPG"},  // a device name on Windows
      {"LPT1", "LPT1_.JPG"},         {"CONSOLE", "CONSOLE.JPG"},
      {"☀晴れ", "☀晴れ.JPG"},
  };
  for (const auto& [title, name] : cases) EXPECT_EQ(ExportFileName(title, "STIL0001.JPG"), name);
  EXPECT_EQ(ExportFileName("memo", "NOEXT"), "memo");
}

TEST(ExportNameTest, TakenNamesAreNumberedWithoutRegardToCase) {
  EXPECT_EQ(UnusedName("a.JPG", {}), "a.JPG");
  EXPECT_EQ(UnusedName("a.JPG", {"A.jpg"}), "a (2).JPG");
  EXPECT_EQ(UnusedName("a.JPG", {"a.JPG", "a (2).JPG", "b.JPG"}), "a (3).JPG");
  EXPECT_EQ(UnusedName("memo", {"memo"}), "memo (2)");
}

class ExportItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.card.Folder(
        MediaKind::Image, 1, "f",
        {{.name = "STIL0001.JPG", .title = rig.codec->FromUtf8("海"), .content = "one"},
         {.name = "STIL0002.GIF", .title = "a/b", .content = "two"},
         {.name = "STIL0003.JPG", .title = rig.codec->FromUtf8("海"), .content = "three"},
         {.name = "STIL0004.JPG", .title = "", .content = "four"}});
    rig.Load();
  }
  ExportResult Export() { return rig.session.ExportFolder(MediaKind::Image, 1, Utf8(destination)); }

  // A file of the export folder, its name in UTF-8 (fs::path takes narrow names in the system's
  // code page on Windows).
  fs::path Out(const char* utf8) const { return destination / PathFromUtf8(utf8); }

  CardRig rig;
  fs::path destination = rig.base() / "exported";
};

TEST_F(ExportItemsTest, CopiesTheShownItemsUnderTheirTitlesKeepingTheirTimes) {
  fs::create_directories(destination);
  WriteBytes(Out("海.JPG"), "the user's own file");
  // A deleted item is not shown, so it is not exported.
  rig.session.DeleteItem(MediaKind::Image, 1, 4);
  const auto before = SnapshotTree(rig.cardRoot());

  const ExportResult result = Export();
  EXPECT_TRUE(result.failed.empty());
  EXPECT_EQ(result.written.size(), 3U);
  EXPECT_EQ(ReadBytes(Out("海.JPG")), "the user's own file");
  EXPECT_EQ(ReadBytes(Out("海 (2).JPG")), "one");
  EXPECT_EQ(ReadBytes(Out("a_b.GIF")), "two");
  EXPECT_EQ(ReadBytes(Out("海 (3).JPG")), "three");
  EXPECT_FALSE(fs::exists(Out("STIL0004.JPG")));
  EXPECT_EQ(fs::last_write_time(Out("a_b.GIF")),
            fs::last_write_time(rig.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.GIF")));
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), before) << "the card is only read";
  EXPECT_EQ(rig.feedback.Texts().back(),
            "書き出しが完了しました（3 件）\n保存先：" + Utf8(destination));
  EXPECT_EQ(rig.feedback.busyDepth, 0);
}

TEST_F(ExportItemsTest, AMissingFolderIsMadeAndAFailedCopyIsNamed) {
  // The copy that writes a_b.GIF fails (a copy from the card fails where it writes).
  rig.files.failPathContaining = "a_b.GIF";
  destination /= "new";
  const ExportResult result = Export();
  EXPECT_EQ(result.written.size(), 3U);
  ASSERT_EQ(result.failed.size(), 1U);
  EXPECT_TRUE(result.failed[0].ends_with("STIL0002.GIF")) << result.failed[0];
  EXPECT_EQ(ReadBytes(Out("STIL0004.JPG")), "four");
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Warning);
  EXPECT_NE(rig.feedback.shown.back().text.find("書き出せませんでした"), std::string::npos);
}

}  // namespace
}  // namespace sdmate::test
