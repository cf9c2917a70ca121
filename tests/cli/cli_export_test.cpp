// export and list on the command line: the whole sample card exported twice into one folder (the
// second run adds nothing and says so), one kind or the camera pictures alone, a destination on
// the card refused, and the camera pictures in list --json.
#include "tests/cli/cli_runner.h"
#include "tests/support/exif_jpeg.h"

namespace sdmate::test {
namespace {

class CliExport : public CliCommand {
 protected:
  fs::path destination = temp.path() / "exported";
  std::string Destination() const { return Utf8(destination); }
  fs::path Out(const std::string& utf8) const { return destination / PathFromUtf8(utf8); }
};

TEST_F(CliExport, TheSampleCardExportedTwiceGivesOneTreeAndNothingAddedTheSecondTime) {
  ASSERT_EQ(Sdmate({"make-sample", Card()}).status, 0);
  const auto cardBefore = SnapshotTree(card);

  const Outcome first = Sdmate({"export", Card(), Destination()});
  ASSERT_EQ(first.status, 0) << Describe(first);
  const std::vector<std::string> tree = ListTree(destination);
  // Three folders of pictures (one empty), two of movies, one of documents, the camera's.
  EXPECT_EQ(tree.size(), 6U + 14U + 3U + 3U) << testing::PrintToString(tree);
  EXPECT_EQ(ReadBytes(Out("待受け画像/001 風景/夕焼けの空.JPG")),
            ReadBytes(builder.Native(kStill + "STIL0001.JPG")));
  EXPECT_TRUE(fs::exists(Out("ムービー/001 ムービー集/クリップ12.3GP")));
  EXPECT_TRUE(fs::exists(Out("ムービー/002 旅行/海辺.3GP")));
  EXPECT_TRUE(fs::exists(Out("ドキュメント/001 書類/使い方の案内.PDF")));
  EXPECT_TRUE(fs::exists(Out("カメラ画像/100NECDT/2005-03-03 14-07-31.jpg")));
  EXPECT_TRUE(fs::exists(Out("カメラ画像/100NECDT/2005-03-03 14-07-31 (2).jpg")));
  EXPECT_FALSE(fs::exists(Out("待受け画像/003 お気に入り"))) << "an empty folder makes nothing";
  // Each file written is named on standard output.
  EXPECT_EQ(static_cast<std::size_t>(std::count(first.out.begin(), first.out.end(), '\n')),
            tree.size());
  EXPECT_NE(first.err.find("書き出しが完了しました（26 件、"), std::string::npos) << first.err;

  const auto exported = SnapshotTree(destination);
  const Outcome second = Sdmate({"export", Card(), Destination()});
  ASSERT_EQ(second.status, 0) << Describe(second);
  EXPECT_EQ(second.out, "");
  EXPECT_NE(second.err.find("新しく書き出したファイルはありません"), std::string::npos)
      << second.err;
  EXPECT_NE(second.err.find("同じファイルが既にあるため書き出さなかったもの：26 件"),
            std::string::npos)
      << second.err;
  EXPECT_EQ(SnapshotTree(destination), exported);
  EXPECT_EQ(SnapshotTree(card), cardBefore) << "the card is only read";
}

TEST_F(CliExport, OneKindOrTheCameraPicturesAloneAndNeverIntoTheCard) {
  ASSERT_EQ(Sdmate({"make-sample", Card()}).status, 0);
  const Outcome camera = Sdmate({"export", "--kind", "camera", Card(), Destination()});
  ASSERT_EQ(camera.status, 0) << Describe(camera);
  EXPECT_EQ(ListTree(destination).size(), 3U);
  EXPECT_TRUE(fs::is_directory(destination / PathFromUtf8("カメラ画像")));

  const Outcome documents = Sdmate({"export", "--kind", "document", Card(), Destination()});
  ASSERT_EQ(documents.status, 0) << Describe(documents);
  EXPECT_EQ(ListTree(destination).size(), 6U);

  const auto before = SnapshotTree(card);
  const Outcome inside = Sdmate({"export", Card(), Utf8(card / "PRIVATE" / "copy")});
  EXPECT_EQ(inside.status, 1) << Describe(inside);
  EXPECT_NE(inside.err.find("カードの中には書き出せません"), std::string::npos) << inside.err;
  EXPECT_EQ(SnapshotTree(card), before);
}

TEST_F(CliExport, ListShowsTheCameraPicturesWithTheirShotTimes) {
  BuildSmallCard();
  builder.File("DCIM/100NECDT/NEC_0001.JPG", CameraJpeg({.width = 1280, .height = 960}))
      .File("DCIM/100NECDT/NEC_0002.JPG", CameraJpeg({.shot = {}}))
      .File("DCIM/100NECDT/IMG_0001.JPG", "another camera's");
  const Outcome listed = Sdmate({"list", "--json", Card()});
  ASSERT_EQ(listed.status, 0) << Describe(listed);
  const json list = Parse(listed);
  ASSERT_EQ(list["camera"].size(), 1U);
  const json& folder = list["camera"][0];
  EXPECT_EQ(folder["folder"], 100);
  EXPECT_EQ(folder["name"], "100NECDT");
  ASSERT_EQ(folder["items"].size(), 2U);
  EXPECT_EQ(folder["items"][0]["name"], "NEC_0001.JPG");
  EXPECT_EQ(folder["items"][0]["shot"], "2005:03:03 14:07:31");
  EXPECT_EQ(folder["items"][0]["shotFromExif"], true);
  EXPECT_EQ(folder["items"][0]["width"], 1280);
  EXPECT_EQ(folder["items"][0]["height"], 960);
  EXPECT_EQ(folder["items"][1]["shotFromExif"], false);
  EXPECT_EQ(list["image"][0]["items"].size(), 3U);

  // (The Windows console ends its lines with a carriage return.)
  std::string text = Sdmate({"list", Card()}).out;
  std::erase(text, '\r');
  EXPECT_NE(text.find("camera 100 100NECDT\n    1  NEC_0001.JPG  2005:03:03 14:07:31"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace sdmate::test
