// Exports into folders of the computer: the naming rules, a folder's items and a selection under
// their titles, camera pictures under their shot times, the whole card into one tree, movies
// converted on request; never a file replaced, the same file never written twice, a stop that
// keeps what is done, and the card only read.
#include "card/export_items.h"

#include <gtest/gtest.h>

#include "card/export_messages.h"
#include "tests/support/card_rig.h"
#include "tests/support/exif_jpeg.h"

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

TEST(ExportNameTest, NumbersShotTimesAndFolders) {
  EXPECT_EQ(NumberedName("a.JPG", 2), "a (2).JPG");
  EXPECT_EQ(NumberedName("memo", 3), "memo (3)");
  EXPECT_EQ(ShotFileName({2005, 3, 3, 14, 7, 31}, "NEC_0001.JPG"), "2005-03-03 14-07-31.jpg");
  EXPECT_EQ(ShotFileName({2010, 12, 31, 0, 0, 0}, "x.Jpg"), "2010-12-31 00-00-00.jpg");
  EXPECT_EQ(ExportFolderName(1, "風景"), "001 風景");
  EXPECT_EQ(ExportFolderName(12, " a:b. "), "012 a_b");
  EXPECT_EQ(ExportFolderName(3, ""), "003");
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
    rig.feedback.progress.clear();
  }
  ExportResult Export(const std::vector<int>& rows = {}) {
    return rig.session.ExportFolder(MediaKind::Image, 1, Utf8(destination), {}, rows);
  }

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
  EXPECT_EQ(result.bytes, 11);
  EXPECT_EQ(ReadBytes(Out("海.JPG")), "the user's own file");
  EXPECT_EQ(ReadBytes(Out("海 (2).JPG")), "one");
  EXPECT_EQ(ReadBytes(Out("a_b.GIF")), "two");
  EXPECT_EQ(ReadBytes(Out("海 (3).JPG")), "three");
  EXPECT_FALSE(fs::exists(Out("STIL0004.JPG")));
  EXPECT_EQ(fs::last_write_time(Out("a_b.GIF")),
            fs::last_write_time(rig.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.GIF")));
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), before) << "the card is only read";
  EXPECT_EQ(rig.feedback.Texts().back(),
            "書き出しが完了しました（3 件、11 バイト）\n保存先：" + Utf8(destination));
  EXPECT_EQ(rig.feedback.busyDepth, 0);
  EXPECT_EQ(rig.feedback.progress.back(), std::make_pair(3, 3));
}

TEST_F(ExportItemsTest, ASecondExportAddsNothingAndAChangedFileTakesTheNextNumber) {
  ASSERT_EQ(Export().written.size(), 4U);
  const auto first = SnapshotTree(destination);

  const ExportResult again = Export();
  EXPECT_TRUE(again.written.empty());
  EXPECT_EQ(again.same.size(), 4U);
  EXPECT_EQ(SnapshotTree(destination), first);
  EXPECT_EQ(rig.feedback.Texts().back(), std::string(text::kExportNothingNew) + "\n" +
                                             text::kExportSame + "4 件\n保存先：" +
                                             Utf8(destination));

  // The card's file changed since: it is a new file, and the old export stays.
  WriteBytes(rig.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.GIF"), "edited");
  const ExportResult changed = Export({2});
  ASSERT_EQ(changed.written.size(), 1U);
  EXPECT_EQ(ReadBytes(Out("a_b (2).GIF")), "edited");
  EXPECT_EQ(ReadBytes(Out("a_b.GIF")), "two");
}

TEST_F(ExportItemsTest, ASelectionExportsItsRowsOnce) {
  const ExportResult result = Export({3, 1, 3, 99});
  ASSERT_EQ(result.written.size(), 2U);
  EXPECT_EQ(ReadBytes(Out("海.JPG")), "one");
  EXPECT_EQ(ReadBytes(Out("海 (2).JPG")), "three");
  EXPECT_EQ(ListTree(destination).size(), 2U);
}

TEST_F(ExportItemsTest, AMissingFolderIsMadeAndAFailedCopyIsNamed) {
  // The copy that writes a_b.GIF fails (a copy from the card fails where it writes).
  rig.files.failPathContaining = "a_b.GIF";
  destination /= "new";
  const ExportResult result = Export();
  EXPECT_EQ(result.written.size(), 3U);
  ASSERT_EQ(result.failed.size(), 1U);
  EXPECT_TRUE(result.failed[0].source.ends_with("STIL0002.GIF")) << result.failed[0].source;
  EXPECT_EQ(result.failed[0].reason, text::kExportUnwritable);
  EXPECT_EQ(ReadBytes(Out("STIL0004.JPG")), "four");
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Warning);
  EXPECT_NE(rig.feedback.shown.back().text.find("書き出せませんでした"), std::string::npos);
  EXPECT_NE(rig.feedback.shown.back().text.find(result.failed[0].source + "（"), std::string::npos)
      << "the file is named by its path on this computer";
}

TEST_F(ExportItemsTest, StoppingKeepsWhatIsDone) {
  rig.feedback.cancelAfter = 2;
  const ExportResult result = Export();
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.written.size(), 2U);
  EXPECT_EQ(result.notReached, 2U);
  EXPECT_EQ(ListTree(destination).size(), 2U);
  EXPECT_EQ(rig.feedback.cancellable, 0);
  EXPECT_EQ(rig.feedback.Texts().back(),
            std::string(text::kExportCancelled) + "\n書き出したファイル（2 件、6 バイト）\n" +
                text::kExportNotReached + "2 件\n保存先：" + Utf8(destination));
}

TEST_F(ExportItemsTest, AFolderOnTheCardIsRefused) {
  const auto before = SnapshotTree(rig.cardRoot());
  destination = rig.cardRoot() / "PRIVATE" / "out";
  const ExportResult result = Export();
  EXPECT_FALSE(result.ran);
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), before);
  EXPECT_FALSE(fs::exists(destination));
  EXPECT_NE(rig.feedback.Texts().back().find("カードの中には書き出せません"), std::string::npos);
}

// A converter that writes "mp4:" and the clip's bytes, or says what the test tells it.
class FakeConverter : public MovieConverter {
 public:
  bool Available() override { return available; }
  ConvertResult ConvertForComputer(const std::string& input, const std::string& outputFolder,
                                   const FitProgress& /*progress*/) override {
    inputs.push_back(input);
    outputs.push_back(outputFolder);
    const std::string bytes = ReadBytes(PathFromUtf8(input));
    if (bytes.starts_with("h264")) return {ConvertResult::Outcome::AlreadyPlayable, {}, {}};
    if (bytes.starts_with("junk")) return {ConvertResult::Outcome::NotConverted, {}, "読めません"};
    const std::string output = outputFolder + "clip.mp4";
    WriteBytes(PathFromUtf8(output), "mp4:" + bytes);
    return {ConvertResult::Outcome::Converted, output, {}};
  }
  bool available = true;
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
};

// A card with folders of every kind and camera pictures, and a session that converts movies with
// a fake converter.
class CardExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.card.Folder(MediaKind::Image, 1, rig.codec->FromUtf8("風景"),
                    {{.name = "STIL0001.JPG", .title = rig.codec->FromUtf8("夕焼け")}});
    rig.card.Folder(MediaKind::Image, 2, "", {});
    rig.card.Folder(MediaKind::Image, 3, "empty title", {{.name = "STIL0001.GIF", .title = ""}});
    rig.card.Folder(MediaKind::Movie, 1, "clips",
                    {{.name = "MOL001.3GP", .title = "amr", .content = "mpeg4+amr"},
                     {.name = "MOL002.MP4", .title = "h264", .content = "h264+aac"},
                     {.name = "MOL003.3GP", .title = "junk", .content = "junk"}});
    rig.card.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "memo"}});
    rig.card.File("DCIM/100NECDT/NEC_0001.JPG", CameraJpeg({.data = "first"}))
        .File("DCIM/100NECDT/NEC_0002.JPG", CameraJpeg({.data = "second, same second"}))
        .File("DCIM/101NECDT/NEC_0003.JPG", CameraJpeg({.shot = {}, .data = "no exif"}));
    fs::last_write_time(rig.cardRoot() / "DCIM/101NECDT/NEC_0003.JPG",
                        std::chrono::file_clock::from_sys(std::chrono::sys_seconds(
                            std::chrono::seconds(1112320800))));  // 2005-04-01 11:00:00 in Japan
    ASSERT_TRUE(session.Load(CardRig::kDrive).loaded);
    rig.feedback.shown.clear();
  }
  fs::path Out(const std::string& utf8) const { return destination / PathFromUtf8(utf8); }

  CardRig rig;
  FakeConverter converter;
  std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-test-export");
  CardSession session{SessionServices{rig.files,
                                      rig.drives,
                                      *rig.codec,
                                      rig.clock,
                                      rig.feedback,
                                      TestPlaces(rig.temp()),
                                      {},
                                      ExportServices{&converter, scratch.get()}}};
  fs::path destination = rig.base() / "all";
};

TEST_F(CardExportTest, EverythingGoesIntoOneTreeAndASecondRunAddsNothing) {
  const auto card = SnapshotTree(rig.cardRoot());
  const ExportResult result = session.ExportCard(Utf8(destination));
  EXPECT_TRUE(result.failed.empty());
  const std::vector<std::string> expected = {
      "カメラ画像/100NECDT/2005-03-03 14-07-31 (2).jpg",
      "カメラ画像/100NECDT/2005-03-03 14-07-31.jpg",
      "カメラ画像/101NECDT/2005-04-01 11-00-00.jpg",
      "ドキュメント/001 docs/memo.PDF",
      "ムービー/001 clips/amr.3GP",
      "ムービー/001 clips/h264.MP4",
      "ムービー/001 clips/junk.3GP",
      "待受け画像/001 風景/夕焼け.JPG",
      "待受け画像/003 empty title/STIL0001.GIF",
  };
  EXPECT_EQ(ListTree(destination), expected);
  EXPECT_EQ(ReadBytes(Out("カメラ画像/100NECDT/2005-03-03 14-07-31.jpg")),
            CameraJpeg({.data = "first"}));
  EXPECT_EQ(fs::last_write_time(Out("カメラ画像/101NECDT/2005-04-01 11-00-00.jpg")),
            fs::last_write_time(rig.cardRoot() / "DCIM/101NECDT/NEC_0003.JPG"));
  EXPECT_TRUE(converter.inputs.empty()) << "movies are converted only when asked";
  EXPECT_EQ(result.written.size(), expected.size());
  EXPECT_EQ(SnapshotTree(rig.cardRoot()), card);

  const auto first = SnapshotTree(destination);
  const ExportResult again = session.ExportCard(Utf8(destination));
  EXPECT_TRUE(again.written.empty());
  EXPECT_EQ(again.same.size(), expected.size());
  EXPECT_EQ(SnapshotTree(destination), first);
  EXPECT_TRUE(rig.feedback.Texts().back().starts_with(text::kExportNothingNew));
}

TEST_F(CardExportTest, MoviesAreConvertedWhenAskedAndKeepTheirTime) {
  const ExportResult result = session.ExportCard(
      Utf8(destination), ExportParts::Only(MediaKind::Movie), {.convertMovies = true});
  EXPECT_EQ(converter.inputs.size(), 3U);
  EXPECT_EQ(ListTree(destination),
            (std::vector<std::string>{"ムービー/001 clips/amr.mp4", "ムービー/001 clips/h264.MP4",
                                      "ムービー/001 clips/junk.3GP"}));
  EXPECT_EQ(ReadBytes(Out("ムービー/001 clips/amr.mp4")), "mp4:mpeg4+amr");
  EXPECT_EQ(ReadBytes(Out("ムービー/001 clips/h264.MP4")), "h264+aac");
  EXPECT_EQ(fs::last_write_time(Out("ムービー/001 clips/amr.mp4")),
            fs::last_write_time(rig.Native("\\SD_VIDEO\\PRL001\\MOL001.3GP")));
  EXPECT_EQ(result.converted, 1);
  ASSERT_EQ(result.asIs.size(), 1U);
  EXPECT_EQ(result.asIs[0].reason, "読めません");
  const std::string summary = rig.feedback.Texts().back();
  EXPECT_NE(summary.find(std::string(text::kExportConverted) + "1 件"), std::string::npos);
  EXPECT_NE(summary.find(std::string(text::kExportAsIs) + "1 件"), std::string::npos);
  EXPECT_NE(summary.find("MOL003.3GP（読めません）"), std::string::npos) << summary;
  for (const std::string& folder : converter.outputs) {
    EXPECT_FALSE(fs::exists(PathFromUtf8(folder))) << "converted files are not kept";
  }

  // Converted again, the same bytes: nothing is added.
  const ExportResult again = session.ExportCard(
      Utf8(destination), ExportParts::Only(MediaKind::Movie), {.convertMovies = true});
  EXPECT_TRUE(again.written.empty());
  EXPECT_EQ(again.same.size(), 3U);
}

TEST_F(CardExportTest, WithoutTheConverterMoviesGoAsTheyAreAfterOneMessage) {
  converter.available = false;
  const ExportResult result = session.ExportCard(
      Utf8(destination), ExportParts::Only(MediaKind::Movie), {.convertMovies = true});
  EXPECT_EQ(result.written.size(), 3U);
  EXPECT_TRUE(converter.inputs.empty());
  const std::vector<std::string> texts = rig.feedback.Texts();
  ASSERT_EQ(texts.size(), 2U);
  EXPECT_EQ(texts[0], text::kExportNoConverter);
  EXPECT_TRUE(fs::exists(Out("ムービー/001 clips/amr.3GP")));
}

TEST_F(CardExportTest, ACameraFolderOrAPartOfIt) {
  ASSERT_EQ(session.Camera().folders.size(), 2U);
  EXPECT_EQ(session.ExportCameraFolder(1, Utf8(destination), {2}).written.size(), 1U);
  EXPECT_EQ(ReadBytes(Out("2005-03-03 14-07-31.jpg")), CameraJpeg({.data = "second, same second"}));
  EXPECT_EQ(session.ExportCameraFolder(1, Utf8(destination)).written.size(), 1U);
  EXPECT_EQ(ReadBytes(Out("2005-03-03 14-07-31 (2).jpg")), CameraJpeg({.data = "first"}));
  EXPECT_FALSE(session.ExportCameraFolder(3, Utf8(destination)).ran);
  const ExportResult camera =
      session.ExportCard(Utf8(destination / "c"), ExportParts::CameraOnly());
  EXPECT_EQ(camera.written.size(), 3U);
}

}  // namespace
}  // namespace sdmate::test
