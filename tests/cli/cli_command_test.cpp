// sdmate-cli run as a program on real card trees: what it prints, what it leaves on the card,
// and its exit status.
#include <set>

#include "core/content_table.h"
#include "core/version.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

TEST_F(CliCommand, MakeSampleWritesACardThatListsAndChecksClean) {
  Outcome made = Sdmate({"make-sample", Card()});
  ASSERT_EQ(made.status, 0) << Describe(made);
  EXPECT_TRUE(fs::is_directory(card / "DCIM"));

  auto before = SnapshotTree(card);
  Outcome listed = Sdmate({"list", "--json", Card()});
  ASSERT_EQ(listed.status, 0) << Describe(listed);
  EXPECT_EQ(SnapshotTree(card), before) << "list wrote to the card";
  json list = Parse(listed);

  ASSERT_EQ(list["image"].size(), 3u);
  EXPECT_EQ(list["image"][0]["title"], "風景");
  EXPECT_EQ(list["image"][0]["items"][1]["title"], "富士山");
  EXPECT_EQ(Names(list["image"][1]["items"]),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.GIF", "STIL0003.GIF"}));
  for (const json& folder : list["image"]) {
    for (const json& item : folder["items"]) {
      std::string name = item["name"];
      std::string bytes = ReadBytes(card / "PRIVATE" / "DOCOMO" / "STILL" /
                                    ("SUD00" + std::to_string(folder["folder"].get<int>())) / name);
      EXPECT_EQ(item["size"], bytes.size()) << name;
      EXPECT_LE(bytes.size(), 102400u) << name;
      bool jpeg = bytes.starts_with("\xFF\xD8\xFF");
      bool gif = bytes.starts_with("GIF8");
      EXPECT_TRUE(name.ends_with(".JPG") ? jpeg : gif) << name;
    }
  }
  EXPECT_GE(list["movie"][0]["items"].size(), 10u);
  EXPECT_EQ(list["movie"][0]["items"][9]["name"], "MOL00A.3GP");
  ASSERT_EQ(list["document"].size(), 1u);
  for (const json& item : list["document"][0]["items"]) {
    std::string bytes = ReadBytes(card / "PRIVATE" / "DOCOMO" / "DOCUMENT" / "PUD001" /
                                  item["name"].get<std::string>());
    EXPECT_TRUE(bytes.starts_with("%PDF-1.")) << item["name"];
    EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
  }

  Outcome text = Sdmate({"list", Card()});
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("MOL00C.3GP"), std::string::npos) << text.out;

  Outcome checked = Sdmate({"check", Card()});
  EXPECT_EQ(checked.status, 0) << Describe(checked);

  Outcome again = Sdmate({"make-sample", Card()});
  EXPECT_EQ(again.status, 2) << "a folder that is not empty is refused";
  EXPECT_EQ(SnapshotTree(card), before);
}

TEST_F(CliCommand, EditAddsDeletesMovesAndRenumbersInOneCommit) {
  BuildSmallCard();
  fs::path photo = ComputerFile("photo.jpg", JpegBytes(300));
  std::string a = StillFile("STIL0001.JPG"), b = StillFile("STIL0002.JPG"),
              c = StillFile("STIL0003.JPG");

  // After the delete the list is b, c, photo; up on row 3 makes it b, photo, c.
  Outcome edited =
      Sdmate({"edit",  "--json", Card(), "add",   "image", "1", photo.string(), "delete", "image",
              "1",     "1",      "up",   "image", "1",     "3", "renumber",     "image",  "1",
              "title", "image",  "1",    "2",     "写真"});
  ASSERT_EQ(edited.status, 0) << Describe(edited);
  json list = Parse(edited);
  EXPECT_EQ(Names(list["image"][0]["items"]),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG", "STIL0003.JPG"}));

  // Read back from disk: the table in list order and the files under their new names.
  ContentTable table = DecodeTable(
      MediaKind::Image, ReadBytes(builder.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")));
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(table.entries[0].title, "b");
  EXPECT_EQ(table.entries[1].title, "\x8E\xCA\x90\x5E");  // 写真 in Shift-JIS
  EXPECT_EQ(table.entries[2].title, "c");
  EXPECT_EQ(StillFile("STIL0001.JPG"), b);
  EXPECT_EQ(StillFile("STIL0002.JPG"), JpegBytes(300));
  EXPECT_EQ(StillFile("STIL0003.JPG"), c);
  EXPECT_EQ(ReadBytes(photo), JpegBytes(300)) << "the computer's file is only read";
  for (const std::string& file : ListTree(card)) EXPECT_FALSE(file.ends_with("_")) << file;
}

// An add the engine declines (a text file is no standby image, and without --yes the size
// question is answered No) is said, the other operations are committed, and the status is 1.
TEST_F(CliCommand, AnAddThatWasSkippedEndsWithStatusOne) {
  BuildSmallCard();
  fs::path notes = ComputerFile("notes.txt", "not a picture");
  Outcome edited = Sdmate(
      {"edit", Card(), "add", "image", "1", notes.string(), "title", "image", "1", "1", "x"});
  EXPECT_EQ(edited.status, 1) << Describe(edited);
  EXPECT_NE(edited.err.find("追加しませんでした: add image 1"), std::string::npos)
      << Describe(edited);
  ContentTable table = DecodeTable(
      MediaKind::Image, ReadBytes(builder.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")));
  ASSERT_EQ(table.entries.size(), 3u);
  EXPECT_EQ(table.entries[0].title, "x");
}

// move takes an item to the end of another folder under that folder's lowest free number, with
// its title; a move the engine refuses (into its own folder) is said, and the status is 1.
TEST_F(CliCommand, MoveTakesAnItemIntoAnotherFolder) {
  BuildSmallCard();
  builder.Folder(MediaKind::Image, 2, "more", {{"STIL0001.JPG", "z"}});
  const std::string b = StillFile("STIL0002.JPG");
  Outcome moved = Sdmate({"edit", "--json", Card(), "move", "image", "1", "2", "2"});
  ASSERT_EQ(moved.status, 0) << Describe(moved);
  json list = Parse(moved);
  EXPECT_EQ(Names(list["image"][0]["items"]),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(Names(list["image"][1]["items"]),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG"}));
  EXPECT_EQ(list["image"][1]["items"][1]["title"], "b");
  EXPECT_EQ(ReadBytes(card / "PRIVATE" / "DOCOMO" / "STILL" / "SUD002" / "STIL0002.JPG"), b);
  EXPECT_FALSE(fs::exists(card / "PRIVATE" / "DOCOMO" / "STILL" / "SUD001" / "STIL0002.JPG"));

  auto before = SnapshotTree(card);
  Outcome own = Sdmate({"edit", Card(), "move", "image", "1", "1", "1"});
  EXPECT_EQ(own.status, 1) << Describe(own);
  EXPECT_NE(own.err.find("移動しませんでした: move image 1 1 1"), std::string::npos)
      << Describe(own);
  EXPECT_EQ(SnapshotTree(card), before);
  Outcome nowhere = Sdmate({"edit", Card(), "move", "image", "1", "1", "3"});
  EXPECT_EQ(nowhere.status, 2) << Describe(nowhere);
  EXPECT_EQ(SnapshotTree(card), before);
}

TEST_F(CliCommand, DryRunPrintsTheEditsAndLeavesEveryByte) {
  BuildSmallCard();
  fs::path photo = ComputerFile("photo.jpg", JpegBytes(300));
  auto before = SnapshotTree(card);
  Outcome dry = Sdmate({"edit",
                        "--dry-run",
                        "--json",
                        "--yes",
                        Card(),
                        "add",
                        "image",
                        "1",
                        photo.string(),
                        "delete",
                        "image",
                        "1",
                        "2",
                        "renumber",
                        "image",
                        "1",
                        "folder-add",
                        "movie",
                        "folder-delete",
                        "document",
                        "1",
                        "folder-title",
                        "image",
                        "1",
                        "新しい"});
  ASSERT_EQ(dry.status, 0) << Describe(dry);
  EXPECT_EQ(SnapshotTree(card), before);
  json list = Parse(dry);
  EXPECT_EQ(list["image"][0]["title"], "新しい");
  EXPECT_EQ(Names(list["image"][0]["items"]),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.JPG", "STIL0003.JPG"}));
  EXPECT_EQ(list["image"][0]["items"][2]["title"], "photo.jpg");
  EXPECT_EQ(list["movie"].size(), 2u);
}

TEST_F(CliCommand, CheckFindsTheFileARenumberingLeavesBehind) {
  BuildSmallCard();
  Outcome edited = Sdmate({"edit", Card(), "delete", "image", "1", "2", "renumber", "image", "1"});
  ASSERT_EQ(edited.status, 0) << Describe(edited);
  auto before = SnapshotTree(card);

  Outcome checked = Sdmate({"check", "--json", Card()});
  EXPECT_EQ(checked.status, 1) << Describe(checked);
  EXPECT_EQ(SnapshotTree(card), before) << "check wrote to the card";
  json report = Parse(checked);
  ASSERT_EQ(report["image"].size(), 1u) << report.dump(2);
  EXPECT_EQ(report["image"][0]["problem"], "orphan");
  EXPECT_EQ(fs::path(report["image"][0]["path"].get<std::string>()),
            builder.Native(kStill + "STIL0003.JPG"));
  EXPECT_EQ(report["problems"], 1);
}

TEST_F(CliCommand, CheckReportsEachKindOfDamage) {
  // Table 1: an entry without its file and a header naming folder 2's directory; table 2:
  // a stray partial entry; table 3 missing; table 4 after the gap. The count byte of movie
  // table 1 says 5 entries where the size gives 1.
  builder.Folder(MediaKind::Image, 1, "one",
                 {{"STIL0001.JPG", "x"}, {.name = "STIL0002.JPG", .writeFile = false}},
                 "\\PRIVATE\\DOCOMO\\STILL\\SUD002");
  builder.RawTable(
      MediaKind::Image, 2,
      BuildTableHeader(FolderDirectoryText(MediaKind::Image, 2), "two", 0) + "partial");
  builder.Folder(MediaKind::Image, 4, "four", {});
  builder.RawTable(MediaKind::Movie, 1,
                   BuildTableHeader(FolderDirectoryText(MediaKind::Movie, 1), "m", 5) +
                       BuildTableEntry(MediaKind::Movie, "MOL001.3GP", "m", kHeaderStamp, 1));
  builder.File("SD_VIDEO/PRL001/MOL001.3GP", "m");
  builder.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "stray");

  Outcome checked = Sdmate({"check", "--json", Card()});
  EXPECT_EQ(checked.status, 1) << Describe(checked);
  json report = Parse(checked);
  std::multiset<std::string> image, movie;
  for (const json& finding : report["image"]) image.insert(finding["problem"]);
  for (const json& finding : report["movie"]) movie.insert(finding["problem"]);
  EXPECT_EQ(image, (std::multiset<std::string>{"foreignDirectory", "missing", "oddSize", "afterGap",
                                               "orphan"}))
      << report.dump(2);
  EXPECT_EQ(movie, (std::multiset<std::string>{"countMismatch"})) << report.dump(2);
}

// The handset's pictographs are emoji in the output, and an emoji given to title is stored as
// the handset's code; a pictograph without an emoji keeps its bytes.
TEST_F(CliCommand, PictographsAreEmojiInTheOutputAndInTitles) {
  builder.Folder(MediaKind::Image, 1, "\xF8\x9F\xF8\xA0",
                 {{"STIL0001.JPG", "a\xF8\x9F"}, {"STIL0002.JPG", "b"}});
  Outcome listed = Sdmate({"list", "--json", Card()});
  ASSERT_EQ(listed.status, 0) << Describe(listed);
  json list = Parse(listed);
  EXPECT_EQ(list["image"][0]["title"], "☀☁");
  EXPECT_EQ(list["image"][0]["items"][0]["title"], "a☀");
  EXPECT_NE(Sdmate({"list", Card()}).out.find("a☀"), std::string::npos);

  Outcome edited = Sdmate({"edit", "--yes", Card(), "title", "image", "1", "2", "☀", "folder-title",
                           "image", "1", "晴れ☀️"});
  ASSERT_EQ(edited.status, 0) << Describe(edited);
  ContentTable table = DecodeTable(
      MediaKind::Image, ReadBytes(builder.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")));
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[0].title, "a\xF8\x9F");
  EXPECT_EQ(table.entries[1].title, "\xF8\x9F");
  EXPECT_EQ(table.folderTitle, "\x90\xB0\x82\xEA\xF8\x9F");  // 晴れ in Shift-JIS, then the sun
}

TEST_F(CliCommand, HelpAndVersionGoToStandardOutput) {
  for (const char* word : {"--help", "help", "-h"}) {
    Outcome help = Sdmate({word});
    EXPECT_EQ(help.status, 0) << Describe(help);
    EXPECT_TRUE(help.out.starts_with("使い方:")) << Describe(help);
    EXPECT_EQ(help.err, "");
  }
  Outcome version = Sdmate({"--version"});
  EXPECT_EQ(version.status, 0) << Describe(version);
  std::string line = version.out;
  std::erase(line, '\r');  // a text-mode console on Windows
  EXPECT_EQ(line, std::string("sdmate-cli ") + kVersion + "\n");
}

TEST_F(CliCommand, BadUsageShowsTheUsageAndLeavesTheCard) {
  BuildSmallCard();
  fs::path clip = ComputerFile("clip.3gp", "clip");
  fs::remove_all(card / "SD_VIDEO");
  auto before = SnapshotTree(card);
  const std::vector<std::vector<std::string>> cases = {
      {"edit", Card(), "rename", "image", "1"},                      // unknown operation
      {"edit", Card(), "delete", "image", "1"},                      // missing word
      {"edit", Card(), "renumber", "picture", "1"},                  // unknown kind
      {"edit", Card(), "delete", "image", "1", "4"},                 // row out of range
      {"edit", Card(), "renumber", "image", "2"},                    // folder out of range
      {"edit", Card(), "renumber", "image", "1", "up"},              // missing words at the end
      {"edit", "--yes", Card(), "add", "movie", "1", clip.string(),  // a later row out of range
       "delete", "movie", "1", "5"},
      {"list"},
      {"frobnicate", Card()},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const std::string& word : args) line += word + " ";
    Outcome run = Sdmate(args);
    EXPECT_EQ(run.status, 2) << line << Describe(run);
    EXPECT_NE(run.err.find("使い方:"), std::string::npos) << line << Describe(run);
    EXPECT_EQ(SnapshotTree(card), before) << line;
    EXPECT_FALSE(fs::exists(card / "SD_VIDEO")) << line << "the movie directory was made";
  }
  Outcome missing = Sdmate({"list", (temp.path() / "nowhere").string()});
  EXPECT_EQ(missing.status, 2) << Describe(missing);
}

TEST_F(CliCommand, ACardWithAnUnreadableTableIsNotEdited) {
  BuildSmallCard();
  // A directory where folder 2's table should be: it exists but cannot be read.
  fs::create_directories(builder.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD002.TBL"));
  auto before = SnapshotTree(card);
  Outcome listed = Sdmate({"list", Card()});
  EXPECT_EQ(listed.status, 2) << Describe(listed);
  Outcome edited = Sdmate({"edit", Card(), "renumber", "image", "1"});
  EXPECT_EQ(edited.status, 2) << Describe(edited);
  EXPECT_EQ(SnapshotTree(card), before);
}

TEST_F(CliCommand, BackupCopiesTheCardIntoAStampedFolder) {
  ASSERT_EQ(Sdmate({"make-sample", Card()}).status, 0);
  fs::path destination = temp.path() / "backups";
  Outcome backed = Sdmate({"backup", Card(), destination.string()});
  ASSERT_EQ(backed.status, 0) << Describe(backed);
  ASSERT_TRUE(fs::is_directory(destination));
  std::vector<fs::path> stamps;
  for (const auto& entry : fs::directory_iterator(destination)) stamps.push_back(entry.path());
  ASSERT_EQ(stamps.size(), 1u);
  EXPECT_EQ(stamps[0].filename().string().size(), 15u);  // yyyymmdd-hhnnss
  EXPECT_EQ(SnapshotTree(stamps[0]), SnapshotTree(card));
}

#ifdef SDMATE_CLI_HAS_MEDIA
// --fit turns a PNG into a JPEG the handset shows; without it the PNG meets today's size
// question. The fitted files' folder is gone when the program ends.
TEST_F(CliCommand, FitMakesAnAddedPictureOneTheHandsetShows) {
  BuildSmallCard();
  fs::path logo = temp.path() / "pc" / "logo.png";
  fs::create_directories(logo.parent_path());
  const std::string make = "convert -size 800x600 gradient:red-blue " + Quote(logo.string());
  ASSERT_EQ(std::system(make.c_str()), 0);
  const std::string png = ReadBytes(logo);
  fs::path scratch = temp.path() / "tmp";
  fs::create_directories(scratch);
  const std::string environment = "TMPDIR=" + Quote(scratch.string());

  Outcome today = Sdmate({"edit", Card(), "add", "image", "1", logo.string()}, environment);
  EXPECT_EQ(today.status, 1) << Describe(today);
  EXPECT_NE(today.err.find("非対応の待受け画像形式"), std::string::npos) << Describe(today);
  EXPECT_NE(today.err.find("携帯電話に合わせて変換する"), std::string::npos) << Describe(today);

  Outcome fitted =
      Sdmate({"edit", "--fit", "--json", Card(), "add", "image", "1", logo.string()}, environment);
  ASSERT_EQ(fitted.status, 0) << Describe(fitted);
  EXPECT_EQ(fitted.err.find("規定値"), std::string::npos) << "no size question";
  const json items = Parse(fitted)["image"][0]["items"];
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[3]["name"], "STIL0004.JPG");
  EXPECT_EQ(items[3]["title"], "logo.png");
  const std::string jpeg = StillFile("STIL0004.JPG");
  EXPECT_TRUE(jpeg.starts_with("\xFF\xD8\xFF")) << "a JPEG";
  EXPECT_LE(jpeg.size(), 102400u);
  EXPECT_EQ(items[3]["size"], jpeg.size());
  EXPECT_EQ(ReadBytes(logo), png) << "the original is only read";
  EXPECT_TRUE(fs::is_empty(scratch)) << "the fitted files went with the program";
}

// list --json and check --json tell what the handset makes of the files the card holds already,
// by their content: an H.264 movie is not played, nor a progressive JPEG shown.
TEST_F(CliCommand, TheListAndTheCheckSayWhatTheHandsetCannotShow) {
  const fs::path clip = temp.path() / "pc" / "clip.3gp";
  fs::create_directories(clip.parent_path());
  const fs::path old = temp.path() / "pc" / "old.3gp";
  ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc2=size=176x144:rate=15 -t 1 "
                         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p " +
                         Quote(clip.string()))
                            .c_str()),
            0);
  ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc2=size=176x144:rate=15 -f lavfi "
                         "-i sine=sample_rate=8000 -t 1 -c:v mpeg4 -profile:v 0 -c:a "
                         "libopencore_amrnb -ar 8000 -ac 1 -b:a 12.2k " +
                         Quote(old.string()))
                            .c_str()),
            0);
  builder.Folder(MediaKind::Image, 1, "images",
                 {{.name = "STIL0001.JPG", .content = JpegBytes(5000, 240, 320)},
                  {.name = "STIL0002.JPG", .content = JpegBytes(5000, 240, 320, false)},
                  {.name = "STIL0003.JPG", .content = std::string(5000, 'n')}});
  builder.Folder(MediaKind::Movie, 1, "movies",
                 {{.name = "MOL001.3GP", .content = ReadBytes(clip)},
                  {.name = "MOL002.3GP", .content = ReadBytes(old)}});
  builder.Folder(MediaKind::Document, 1, "documents",
                 {{.name = "PDFDC001.PDF", .content = "%PDF-1.4 d"}});
  const auto before = SnapshotTree(card);

  Outcome listed = Sdmate({"list", "--json", Card()});
  ASSERT_EQ(listed.status, 0) << Describe(listed);
  const json list = Parse(listed);
  const json& images = list["image"][0]["items"];
  EXPECT_EQ(images[0]["playable"], true) << images.dump(2);
  EXPECT_EQ(images[0]["reason"], "");
  EXPECT_EQ(images[1]["playable"], false);
  EXPECT_EQ(images[2]["playable"], false);
  const json& movies = list["movie"][0]["items"];
  EXPECT_EQ(movies[0]["playable"], false) << movies.dump(2);
  EXPECT_NE(movies[0]["reason"].get<std::string>().find("h264"), std::string::npos);
  EXPECT_EQ(movies[1]["playable"], true) << movies.dump(2);
  EXPECT_FALSE(list["document"][0]["items"][0].contains("playable"));

  Outcome checked = Sdmate({"check", "--json", Card()});
  EXPECT_EQ(checked.status, 0) << "a file the handset cannot show is no damage of the card";
  const json report = Parse(checked);
  EXPECT_EQ(report["unplayable"], 3) << report.dump(2);
  ASSERT_EQ(report["handset"]["movie"].size(), 2u);
  EXPECT_EQ(report["handset"]["movie"][0]["playable"], false);
  EXPECT_EQ(fs::path(report["handset"]["movie"][0]["path"].get<std::string>()),
            builder.Native("\\SD_VIDEO\\PRL001\\MOL001.3GP"));
  EXPECT_EQ(SnapshotTree(card), before) << "neither wrote to the card";
}
#else
TEST_F(CliCommand, FitWithoutTheFittersSaysSoAndLeavesTheCard) {
  BuildSmallCard();
  fs::path logo = ComputerFile("logo.png", "\x89PNG");
  auto before = SnapshotTree(card);
  Outcome fitted = Sdmate({"edit", "--fit", Card(), "add", "image", "1", logo.string()});
  EXPECT_EQ(fitted.status, 2) << Describe(fitted);
  EXPECT_NE(fitted.err.find("--fit"), std::string::npos) << Describe(fitted);
  EXPECT_EQ(SnapshotTree(card), before);
}
#endif

}  // namespace
}  // namespace sdmate::test
