// Staging files of the computer: numbers, limits, questions, the free-space stop and the
// batches, with real files in a temporary folder and a card folder standing for drive E.
#include "import/stage_files.h"

#include <gtest/gtest.h>

#include "platform/drive_table.h"
#include "platform/native_path.h"
#include "tests/support/card_builder.h"
#include "tests/support/content_bytes.h"
#include "tests/support/model_builder.h"

namespace sdmate {
namespace {

using test::LoadedModel;
using test::ScriptedFeedback;
using test::TempDir;
namespace fs = std::filesystem;

constexpr MediaKind kImage = MediaKind::Image;
constexpr MediaKind kMovie = MediaKind::Movie;
const std::string kNoRoom = "メモリーカードの空き容量が足りません";
const std::string kSizeQuestion =
    "下記のファイルはサイズが規定値を超えています\n追加を実行しますか？\n";

class StageFilesTest : public ::testing::Test {
 protected:
  StageFilesTest() {
    fs::create_directories(card());
    fs::create_directories(computer());
    drives_.Assign('E', card().string());
    files_ = MakeNativeFiles(drives_);
    codec_ = MakeNativeTextCodec();
  }

  fs::path card() const { return temp_.path() / "card"; }
  fs::path computer() const { return temp_.path() / "pc"; }
  // A file of the computer of `size` bytes; its native path.
  std::string PcFile(const std::string& name, std::size_t size) {
    fs::path path = computer() / test::PathFromUtf8(name);
    test::WriteBytes(path, test::BytesNamed(name, size));
    return test::Utf8(path);
  }

  StageOutcome Stage(CardModel& model, MediaKind kind, const std::string& path) {
    return StageNewFile(model, kind, 1, path, *files_, *codec_, feedback_);
  }
  BatchResult Add(CardModel& model, MediaKind kind, const std::vector<std::string>& paths) {
    return AddFiles(model, kind, 1, paths, *files_, *codec_, feedback_);
  }
  BatchResult Drop(CardModel& model, MediaKind kind, const std::vector<std::string>& paths) {
    return DropFiles(model, kind, 1, paths, *files_, *codec_, feedback_);
  }

  TempDir temp_;
  DriveTable drives_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<TextCodec> codec_;
  ScriptedFeedback feedback_;
};

const FolderSlot& FolderOne(const CardModel& model, MediaKind kind) {
  return model.of(kind).folder(1);
}

TEST_F(StageFilesTest, FillsTheNewItemFromTheComputerFile) {
  CardModel model = LoadedModel(kImage, {0});
  const std::int64_t before = model.gauge.position();
  std::string path = PcFile("写真.jpg", 5000);

  ASSERT_EQ(Stage(model, kImage, path), StageOutcome::Staged);
  const FolderSlot& folder = FolderOne(model, kImage);
  ASSERT_EQ(folder.itemCount(), 1);
  const ItemRow& item = folder.items[0];
  EXPECT_EQ(item.order, 1);
  EXPECT_EQ(item.sourceDir, test::Utf8(computer()) + NativeSeparator());
  EXPECT_EQ(item.sourceName, "写真.jpg");
  EXPECT_EQ(item.targetDir, "E:\\\\PRIVATE\\DOCOMO\\STILL\\");
  EXPECT_EQ(item.targetName, "STIL0001.JPG");
  EXPECT_EQ(item.title, "\x8E\xCA\x90\x5E.jpg");  // the name in Shift-JIS
  EXPECT_EQ(item.stamp, files_->FileStampText(path));
  EXPECT_EQ(item.stamp.size(), 19u);
  EXPECT_EQ(item.size, 5000);
  EXPECT_FALSE(item.deleted);
  EXPECT_FALSE(item.OnCard());
  EXPECT_EQ(model.gauge.position(), before + 5000);
  EXPECT_TRUE(feedback_.shown.empty());
}

// A name with a character Shift-JIS lacks keeps today's title rule ("?"), and the user is told;
// a "?" the name had already says nothing.
TEST_F(StageFilesTest, ATitleWithACharacterTheHandsetLacksIsNamedInTheStatus) {
  CardModel model = LoadedModel(kImage, {0});
  const std::string odd = PcFile("caf\xC3\xA9 \xF0\x9F\xA6\x84.jpg", 5000);  // "café 🦄.jpg"
  const fs::path asked = computer() / "what?.jpg";
  // Windows has no "?" in names.
  if (test::TryWriteBytes(asked, test::BytesNamed("what?.jpg", 5000))) {
    ASSERT_EQ(Stage(model, kImage, test::Utf8(asked)), StageOutcome::Staged);
    EXPECT_TRUE(feedback_.statuses.empty());
  }
  ASSERT_EQ(Stage(model, kImage, odd), StageOutcome::Staged);
  EXPECT_EQ(FolderOne(model, kImage).items.back().title.find('?'), 3u);
  ASSERT_EQ(feedback_.statuses.size(), 1u);
  EXPECT_NE(feedback_.statuses[0].find("caf\xC3\xA9 \xF0\x9F\xA6\x84.jpg"), std::string::npos);
}

TEST_F(StageFilesTest, TakesTheLowestNumberNoItemHolds) {
  CardModel model = LoadedModel(kImage, {3});
  FolderSlot& folder = model.of(kImage).folder(1);
  folder.items.erase(folder.items.begin() + 1);  // STIL0001 and STIL0003 remain
  folder.items[1].order = 2;

  BatchResult result = Add(model, kImage, {PcFile("a.jpg", 10), PcFile("b.gif", 10)});
  EXPECT_EQ(result.staged, 2);
  EXPECT_TRUE(result.ranToEnd);
  EXPECT_EQ(test::ListedNames(folder), (std::vector<std::string>{"STIL0001.JPG", "STIL0003.JPG",
                                                                 "STIL0002.JPG", "STIL0004.GIF"}));
  // Other folders of the kind may hold the same names.
  CardModel two = LoadedModel(kImage, {0, 2});
  EXPECT_EQ(Stage(two, kImage, PcFile("c.jpg", 10)), StageOutcome::Staged);
  EXPECT_EQ(two.of(kImage).folder(1).items[0].targetName, "STIL0001.JPG");
}

TEST_F(StageFilesTest, ADeletedItemKeepsItsNumberAndMovesBehindTheNewOne) {
  CardModel model = LoadedModel(kImage, {3});
  FolderSlot& folder = model.of(kImage).folder(1);
  // STIL0001 marked deleted: orders 3, 1, 2.
  folder.items[0].deleted = true;
  folder.items[0].order = 3;
  folder.items[1].order = 1;
  folder.items[2].order = 2;
  folder.deletedCount = 1;

  ASSERT_EQ(Stage(model, kImage, PcFile("new.jpg", 10)), StageOutcome::Staged);
  EXPECT_EQ(folder.items[3].targetName, "STIL0004.JPG");
  EXPECT_EQ(test::Orders(folder), (std::vector<int>{4, 1, 2, 3}));
  EXPECT_EQ(folder.visibleCount(), 3);
  EXPECT_EQ(CheckOrderInvariants(folder), "");
}

TEST_F(StageFilesTest, MoviesAreNumberedInHexAndM4aBecomes3gp) {
  CardModel model = LoadedModel(kMovie, {9}, 1 << 22, 0);
  ASSERT_EQ(Stage(model, kMovie, PcFile("song.m4a", 307200)), StageOutcome::Staged);
  ASSERT_EQ(Stage(model, kMovie, PcFile("clip.mp4", 307200)), StageOutcome::Staged);
  const FolderSlot& folder = FolderOne(model, kMovie);
  EXPECT_EQ(folder.items[9].targetName, "MOL00A.3GP");
  EXPECT_EQ(folder.items[9].sourceName, "song.m4a");
  EXPECT_EQ(folder.items[9].title, "song.m4a");
  EXPECT_EQ(folder.items[9].targetDir, "E:\\\\SD_VIDEO\\");
  EXPECT_EQ(folder.items[10].targetName, "MOL00B.MP4");
  EXPECT_TRUE(feedback_.shown.empty());  // both exactly at the limit
}

TEST_F(StageFilesTest, AsksAboveTheLimitOnly) {
  CardModel model = LoadedModel(kImage, {0});
  ASSERT_EQ(Stage(model, kImage, PcFile("at.jpg", 102400)), StageOutcome::Staged);
  EXPECT_TRUE(feedback_.shown.empty());

  std::string over = PcFile("over.jpg", 102401);
  feedback_.answers = {Answer::No, Answer::Yes};
  const std::int64_t position = model.gauge.position();
  EXPECT_EQ(Stage(model, kImage, over), StageOutcome::Declined);
  ASSERT_EQ(feedback_.shown.size(), 1u);
  EXPECT_EQ(feedback_.shown[0].text, kSizeQuestion + over);
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(feedback_.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(FolderOne(model, kImage).itemCount(), 1);
  EXPECT_EQ(model.gauge.position(), position);

  EXPECT_EQ(Stage(model, kImage, over), StageOutcome::Staged);
  EXPECT_EQ(FolderOne(model, kImage).items[1].targetName, "STIL0002.JPG");
}

TEST_F(StageFilesTest, ATypeOutsideTheRulesIsRefusedByTypeAndBytesUnlikeTheirNameByContent) {
  CardModel model = LoadedModel(kImage, {0});
  const std::string notes = PcFile("notes.txt", 1);
  const std::string png = PcFile("icon.png", 5000);
  const std::string empty = test::Utf8(computer() / "empty.jpg");
  test::WriteBytes(empty, "");
  EXPECT_EQ(Stage(model, kImage, notes), StageOutcome::Declined);
  EXPECT_EQ(Stage(model, kImage, png), StageOutcome::Declined);
  EXPECT_EQ(Stage(model, kImage, empty), StageOutcome::Declined);
  const std::string typeMessage =
      "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n";
  EXPECT_EQ(
      feedback_.Texts(),
      (std::vector<std::string>{
          typeMessage + notes, typeMessage + png,
          "下記のファイルは JPEG 画像 ではないため、追加できません．\n追加をスキップします．\n" +
              empty}));
  EXPECT_EQ(FolderOne(model, kImage).itemCount(), 0);
}

TEST_F(StageFilesTest, TheFreeSpaceStopEndsTheBatch) {
  // 1000 bytes free: the first file fits, the second does not, the third is never looked at
  // (it would raise the size question if it were).
  CardModel model = LoadedModel(kImage, {0}, 100000, 99000);
  BatchResult result =
      Add(model, kImage, {PcFile("1.jpg", 600), PcFile("2.jpg", 401), PcFile("3.jpg", 200000)});
  EXPECT_EQ(result.staged, 1);
  EXPECT_FALSE(result.ranToEnd);
  EXPECT_EQ(feedback_.Texts(), (std::vector<std::string>{kNoRoom}));
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(FolderOne(model, kImage).itemCount(), 1);
  EXPECT_EQ(model.gauge.position(), 99600);
  EXPECT_EQ(feedback_.busyCount, 1);
  EXPECT_EQ(feedback_.busyDepth, 0);

  // A file that fills the card exactly passes.
  EXPECT_EQ(Stage(model, kImage, PcFile("4.jpg", 400)), StageOutcome::Staged);
  EXPECT_EQ(model.gauge.freeBytes(), 0);
}

TEST_F(StageFilesTest, ABatchOfDeclinedFilesStillRanToItsEnd) {
  CardModel model = LoadedModel(kImage, {0});
  feedback_.defaultAnswer = Answer::No;
  BatchResult result = Add(model, kImage, {PcFile("big1.jpg", 200000), PcFile("big2.gif", 200000)});
  EXPECT_EQ(result.staged, 0);
  EXPECT_TRUE(result.ranToEnd);
  EXPECT_EQ(feedback_.shown.size(), 2u);
}

TEST_F(StageFilesTest, NamesThatAreNoUsableFileAreRefusedAndTheBatchGoesOn) {
  CardModel model = LoadedModel(kImage, {0});
  fs::create_directories(computer() / "folder.jpg");
  std::string large = (computer() / "huge.jpg").string();
  test::WriteBytes(large, "");
  fs::resize_file(large, std::uintmax_t{1} << 31);  // sparse: 2 GiB exactly
  const std::vector<std::string> refused = {(computer() / "missing.jpg").string(),
                                            (computer() / "folder.jpg").string(),
                                            large,
                                            PcFile("noextension", 10),
                                            PcFile("long.jpeg", 10),
                                            PcFile("odd.j-g", 10)};
  std::vector<std::string> paths = refused;
  paths.push_back(PcFile("good.jpg", 10));

  BatchResult result = Add(model, kImage, paths);
  EXPECT_TRUE(result.ranToEnd);
  EXPECT_EQ(result.staged, 1);
  ASSERT_EQ(feedback_.shown.size(), refused.size());
  for (std::size_t i = 0; i < refused.size(); ++i) {
    SCOPED_TRACE(refused[i]);
    EXPECT_EQ(feedback_.shown[i].kind, MessageKind::Warning);
    const std::string& text = feedback_.shown[i].text;
    ASSERT_GE(text.size(), refused[i].size());
    EXPECT_EQ(text.substr(text.size() - refused[i].size()), refused[i]);  // names the file
  }
  ASSERT_EQ(FolderOne(model, kImage).itemCount(), 1);
  EXPECT_EQ(FolderOne(model, kImage).items[0].targetName, "STIL0001.JPG");
}

TEST_F(StageFilesTest, A129thItemIsRefused) {
  CardModel model = LoadedModel(kImage, {kMaxItems});
  const std::int64_t position = model.gauge.position();
  EXPECT_EQ(Stage(model, kImage, PcFile("one.jpg", 10)), StageOutcome::Declined);
  ASSERT_EQ(feedback_.shown.size(), 1u);
  EXPECT_EQ(feedback_.shown[0].kind, MessageKind::Warning);
  EXPECT_NE(feedback_.shown[0].text.find("128"), std::string::npos);
  EXPECT_EQ(FolderOne(model, kImage).itemCount(), kMaxItems);
  EXPECT_EQ(model.gauge.position(), position);
}

TEST_F(StageFilesTest, DropsCheckTheTypeOfEachFile) {
  CardModel model = LoadedModel(kImage, {0});
  std::string notes = PcFile("notes.txt", 10);
  BatchResult result =
      Drop(model, kImage, {PcFile("photo.JPG", 10), notes, PcFile("logo.gif", 10)});
  EXPECT_TRUE(result.ranToEnd);
  EXPECT_EQ(result.staged, 2);
  EXPECT_EQ(feedback_.Texts(),
            (std::vector<std::string>{
                "下記のファイルは非対応の待受け画像形式です。\n読込をスキップします。\n" + notes}));
  EXPECT_EQ(test::ListedNames(FolderOne(model, kImage)),
            (std::vector<std::string>{"STIL0001.JPG", "STIL0002.GIF"}));

  // Pictures dropped on the movie list, and a ".MOV", are not movies; ".3gp" is.
  CardModel movies = LoadedModel(kMovie, {0});
  feedback_.shown.clear();
  std::string picture = PcFile("p.jpg", 10);
  std::string mov = PcFile("m.MOV", 10);
  result = Drop(movies, kMovie, {picture, mov, PcFile("clip.3gp", 10)});
  EXPECT_EQ(result.staged, 1);
  const std::string movieMessage =
      "下記のファイルは非対応のムービー形式です。\n読込をスキップします。\n";
  EXPECT_EQ(feedback_.Texts(),
            (std::vector<std::string>{movieMessage + picture, movieMessage + mov}));
}

TEST_F(StageFilesTest, NothingIsStagedBeforeTheFirstLoad) {
  CardModel model;
  model.of(kImage).folders.resize(1);
  model.gauge.SetMaximum(1 << 20);
  std::vector<std::string> paths = {PcFile("a.jpg", 10)};
  BatchResult dropped = Drop(model, kImage, paths);
  EXPECT_EQ(dropped.staged, 0);
  EXPECT_FALSE(dropped.ranToEnd);
  EXPECT_EQ(Add(model, kImage, paths).staged, 0);
  EXPECT_EQ(Stage(model, kImage, paths[0]), StageOutcome::Declined);
  EXPECT_TRUE(feedback_.shown.empty());
  EXPECT_EQ(model.of(kImage).folder(1).itemCount(), 0);
  EXPECT_EQ(model.gauge.position(), 0);
  EXPECT_FALSE(PrepareAdd(model, kImage, *files_, feedback_));
}

TEST_F(StageFilesTest, PrepareAddOffersToCreateAMissingDataDirectory) {
  CardModel model = LoadedModel(MediaKind::Document, {0});
  const fs::path directory = card() / "PRIVATE" / "DOCOMO" / "DOCUMENT";
  feedback_.answers = {Answer::Cancel, Answer::Yes};
  EXPECT_FALSE(PrepareAdd(model, MediaKind::Document, *files_, feedback_));
  EXPECT_FALSE(fs::exists(directory));
  EXPECT_TRUE(PrepareAdd(model, MediaKind::Document, *files_, feedback_));
  EXPECT_TRUE(fs::is_directory(directory));
  ASSERT_EQ(feedback_.shown.size(), 2u);
  EXPECT_EQ(feedback_.shown[0].text, "ドキュメント用フォルダがありません．\n作成しますか？");
  EXPECT_EQ(feedback_.shown[0].buttons, Buttons::YesCancel);
  // Present now: no question.
  EXPECT_TRUE(PrepareAdd(model, MediaKind::Document, *files_, feedback_));
  EXPECT_EQ(feedback_.shown.size(), 2u);
}

TEST(DialogFilter, CaptionAndEveryRuleOfTheKind) {
  EXPECT_EQ(DialogFilter(kImage), "待ち受け画像データ|*.JPG;*.GIF;");
  EXPECT_EQ(DialogFilter(kMovie), "ムービーデータ|*.3GP;*.SDV;*.MP4;*.ASF;*.M4A;");
  EXPECT_EQ(DialogFilter(MediaKind::Document), "ドキュメントデータ|*.PDF;");
}

}  // namespace
}  // namespace sdmate
