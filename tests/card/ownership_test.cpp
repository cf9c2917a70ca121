// Files no table names are nobody's to overwrite: a stray picture in a folder, the files of a
// lost table, a stray in the way of folders whose headers name each other's directories. Every
// file's bytes are on the card after the commit, the repair and the undo.
#include <gtest/gtest.h>

#include "card/card_messages.h"
#include "card/commit_runner.h"
#include "core/card_guard.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

const std::string kStill = "PRIVATE/DOCOMO/STILL/";
const std::string kNewPicture = JpegBytes(64) + "new picture";

// Every file's bytes below the card's root, ignoring names and tables.
std::multiset<std::string> DataContents(const CardRig& rig) {
  std::multiset<std::string> contents;
  for (const auto& [name, bytes] : SnapshotTree(rig.cardRoot())) {
    if (!name.starts_with("PRIVATE/DOCOMO/TABLE/")) contents.insert(bytes);
  }
  return contents;
}

// The one file of a folder whose bytes are these, as "SUD001/NAME"; empty when none or many.
std::string WhereIs(const CardRig& rig, const std::string& bytes) {
  std::string found;
  int count = 0;
  for (const auto& [name, content] : SnapshotTree(rig.cardRoot() / kStill)) {
    if (content == bytes) {
      found = name;
      ++count;
    }
  }
  return count == 1 ? found : std::string();
}

// Every content of before is still on the card as often (a renamed file's old name may stay too).
void ExpectKept(const std::multiset<std::string>& before, const std::multiset<std::string>& after) {
  for (const std::string& content : before) {
    EXPECT_GE(after.count(content), before.count(content)) << content;
  }
}

// The commit ended with its completion, which names the files it renamed out of its way.
void ExpectCompletedSettingAside(const CardRig& rig, const UpdateResult& result) {
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << result.failures.front();
  ASSERT_FALSE(result.setAside.empty());
  const std::string& told = rig.feedback.shown.back().text;
  EXPECT_TRUE(told.starts_with(text::kUpdateCompleted)) << told;
  EXPECT_NE(told.find(text::kSetAsideHeading), std::string::npos) << told;
  // The paths as the system writes them.
  for (const SetAsideFile& file : result.setAside) {
    EXPECT_NE(told.find(*rig.table.ToNative(file.to)), std::string::npos) << told;
  }
  EXPECT_EQ(told.find("E:\\"), std::string::npos) << told;
}

// A stray picture under the name the next item takes: the add picks a name free in the folder's
// listing as well as in its table, and the stray keeps its bytes.
TEST(OwnershipTest, AnAddTakesANameNoFileOfTheFolderHas) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.card.File(kStill + "SUD001/STIL0004.JPG", "a stray");
  const std::string photo = rig.ComputerFile("x.jpg", kNewPicture);
  rig.Load();
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 1);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0004.JPG")), "a stray");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0005.JPG")), kNewPicture);
  EXPECT_EQ(rig.TableNames(MediaKind::Image, 1).back(), "STIL0005.JPG");
  ExpectNoTemporaries(rig);
}

// The files in a folder's directory that another item reads (folder 3 moves down into SUD002
// after folder 2 is deleted) or that go with a removed folder do not hold numbers: the first
// picture of a new folder is number 1.
TEST(OwnershipTest, FilesThatMoveAwayLeaveTheirNumbersFree) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  rig.card.Folder(MediaKind::Image, 2, "two", Stills({1, 2}));
  rig.card.Folder(MediaKind::Image, 3, "three", {{.name = "STIL0001.JPG", .content = "three"}});
  const std::string photo = rig.ComputerFile("x.jpg", kNewPicture);
  rig.Load();
  ASSERT_TRUE(rig.DeleteFolder(MediaKind::Image, 2).deleted);
  ASSERT_EQ(rig.session.AddFolder(MediaKind::Image), 3);
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 3, {photo}).staged, 1);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0001.JPG")), "three");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD003/STIL0001.JPG")), kNewPicture);
}

// The stray appears after the add was staged (the handset wrote it meanwhile): the commit
// renames it to a free name of its folder, says so, and the undo gives the card back exactly.
TEST(OwnershipTest, AStrayInTheWayOfACopyIsRenamedAndTheUndoPutsItBack) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  const std::string photo = rig.ComputerFile("x.jpg", kNewPicture);
  rig.Load();
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 1);
  rig.card.File(kStill + "SUD001/STIL0004.JPG", "a stray");
  const CardState before = StateOf(rig.cardRoot());
  auto expected = DataContents(rig);
  expected.insert(kNewPicture);

  const UpdateResult result = rig.Update();
  ExpectCompletedSettingAside(rig, result);
  EXPECT_EQ(DataContents(rig), expected);
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0004.JPG")), kNewPicture);
  ASSERT_EQ(result.setAside.size(), 1u);
  EXPECT_EQ(WhereIs(rig, "a stray"), "SUD001/STIL0005.JPG");
  EXPECT_TRUE(result.setAside[0].to.ends_with("\\SUD001\\STIL0005.JPG"));
  ExpectNoTemporaries(rig);

  // The check names the renamed stray; the repair adopts it.
  const std::vector<Finding> findings = rig.session.Check(CardRig::kDrive);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].problem, Problem::Orphan);

  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files)
      << Describe(before, StateOf(rig.cardRoot()));
}

// A renumber that gives an item the name of a stray: the stray is renamed, not overwritten.
TEST(OwnershipTest, ARenumberOntoAStrayKeepsTheStray) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({2, 5}));
  rig.card.File(kStill + "SUD001/STIL0001.JPG", "a stray");
  const auto expected = DataContents(rig);
  rig.Load();
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  const UpdateResult result = rig.Update();
  ExpectCompletedSettingAside(rig, result);
  ExpectKept(expected, DataContents(rig));
  EXPECT_EQ(result.setAside.size(), 1u);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (std::vector<std::vector<std::string>>{{CardBuilder::DefaultContent("STIL0002.JPG"),
                                                    CardBuilder::DefaultContent("STIL0005.JPG")}}));
  EXPECT_NE(WhereIs(rig, "a stray"), "");
  ExpectNoTemporaries(rig);
}

// SUD002.TBL is lost but its files are kept; the repair numbers folder 3 as 2, and its picture
// moves into SUD002, where the lost table's picture of the same name lies.
TEST(OwnershipTest, TheRepairOfALostTableKeepsTheLostTablesFiles) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", {{.name = "STIL0001.JPG", .content = "one"}});
  rig.card.Folder(MediaKind::Image, 2, "two",
                  {{.name = "STIL0001.JPG", .content = "lost 1"},
                   {.name = "STIL0002.JPG", .content = "lost 2"}});
  rig.card.Folder(MediaKind::Image, 3, "three", {{.name = "STIL0001.JPG", .content = "three"}});
  fs::remove(rig.Native("PRIVATE/DOCOMO/TABLE/STILL/SUD002.TBL"));
  const auto expected = DataContents(rig);
  rig.Load();

  const CardSession::RepairOutcome repair = rig.session.Repair({});
  ASSERT_TRUE(repair.ran);
  EXPECT_TRUE(repair.update.failures.empty()) << repair.update.failures.front();
  EXPECT_EQ(DataContents(rig), expected);
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (std::vector<std::vector<std::string>>{{"one"}, {"three"}}));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0002.JPG")), "lost 2");
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD002/STIL0001.JPG")), "three");
  EXPECT_TRUE(WhereIs(rig, "lost 1").starts_with("SUD002/")) << WhereIs(rig, "lost 1");

  // The lost table's files are orphans of folder 2 now: a second repair adopts them.
  rig.Load();
  const CardSession::RepairOutcome again = rig.session.Repair({});
  ASSERT_TRUE(again.ran);
  EXPECT_EQ(again.preparation.adopted, 2);
  EXPECT_EQ(DataContents(rig), expected);
  std::vector<std::string> second = ListedContents(rig, rig.LoadFresh(), MediaKind::Image)[1];
  std::sort(second.begin(), second.end());
  EXPECT_EQ(second, (std::vector<std::string>{"lost 1", "lost 2", "three"}));
}

// Three folders whose headers name each other's directories in a cycle, and a stray in one of
// them under a name a folder's renumbered picture takes.
TEST(OwnershipTest, FoldersWhoseHeadersNameEachOtherLeaveAStrayAlone) {
  CardRig rig;
  auto folder = [&](int n, const std::string& tag, std::vector<int> numbers, int header) {
    std::vector<TableItem> items;
    for (int p : numbers) {
      items.push_back({.name = DataFileName(MediaKind::Image, p, ".JPG"),
                       .content = tag + "-" + std::to_string(p)});
    }
    rig.card.Folder(MediaKind::Image, n, tag, items, FolderDirectoryText(MediaKind::Image, header));
  };
  folder(1, "a", {1, 3}, 2);  // folder 1's files lie in SUD002
  folder(2, "b", {1}, 3);
  folder(3, "c", {1}, 1);
  rig.card.File(kStill + "SUD001/STIL0002.JPG", "a stray");
  const auto expected = DataContents(rig);
  rig.Load();
  ASSERT_TRUE(rig.session.RenumberItems(MediaKind::Image, 1).changed);
  const UpdateResult result = rig.Update();
  ExpectCompletedSettingAside(rig, result);
  ExpectKept(expected, DataContents(rig));
  EXPECT_EQ(ListedContents(rig, rig.LoadFresh(), MediaKind::Image),
            (std::vector<std::vector<std::string>>{{"a-1", "a-3"}, {"b-1"}, {"c-1"}}));
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), "a-3");
  EXPECT_TRUE(WhereIs(rig, "a stray").starts_with("SUD001/")) << WhereIs(rig, "a stray");
  ExpectNoTemporaries(rig);
}

// A stray that cannot be renamed: the step that would overwrite it does not run and is listed.
TEST(OwnershipTest, AStrayThatCannotBeRenamedStopsTheStep) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1}));
  const std::string photo = rig.ComputerFile("x.jpg", kNewPicture);
  rig.Load();
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 1);
  rig.card.File(kStill + "SUD001/STIL0002.JPG", "a stray");
  // The free name the stray would get cannot be written.
  rig.files.failPathContaining = "STIL0003.JPG";
  const UpdateResult result = rig.Update();
  rig.files.failPathContaining.clear();
  EXPECT_EQ(ReadBytes(rig.Native(kStill + "SUD001/STIL0002.JPG")), "a stray");
  EXPECT_TRUE(result.setAside.empty());
  bool listed = false;
  for (const Failure& failure : result.failures) {
    listed = listed || std::string_view(failure.what) == text::kStrayInTheWay;
  }
  EXPECT_TRUE(listed);
  ExpectNoTemporaries(rig);
}

TEST(OwnershipTest, TemporariesAreKnownByTheirCommitsTag) {
  EXPECT_TRUE(IsTemporaryOf("~SDM00A10001.TMP", "00a1"));
  EXPECT_TRUE(IsTemporaryOf("~sdm00a1FFFF.tmp", "00A1"));
  EXPECT_FALSE(IsTemporaryOf("~SDM00A20001.TMP", "00A1"));
  EXPECT_FALSE(IsTemporaryOf("~SDM0001.TMP", "0001"));
  EXPECT_FALSE(IsTemporaryOf("~SDM00A1000G.TMP", "00A1"));
  EXPECT_FALSE(IsTemporaryOf("~SDM00A10001.JPG", "00A1"));
}

}  // namespace
}  // namespace sdmate::test

namespace sdmate::test {
namespace {

// A full card: the new picture's copy fails with the system's reason, nothing is left under its
// name, and the warning names both files as the system writes their paths, with the reason.
TEST(OwnershipTest, ACopyThatFailsLeavesNothingAndSaysWhy) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2}));
  const std::string photo = rig.ComputerFile("x.jpg", kNewPicture);
  rig.Load();
  ASSERT_EQ(rig.AddFiles(MediaKind::Image, 1, {photo}).staged, 1);
  rig.files.failPathContaining = "~SDM";  // every copy's temporary: the disk is full
  const UpdateResult result = rig.Update();
  rig.files.failPathContaining.clear();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].error, FileError::NoSpace);
  const std::string& told = rig.feedback.shown.back().text;
  EXPECT_NE(told.find(text::kNoSpace), std::string::npos) << told;
  EXPECT_NE(told.find(Utf8(rig.Native(kStill + "SUD001/STIL0003.JPG"))), std::string::npos) << told;
  EXPECT_NE(told.find(photo), std::string::npos) << told;
  EXPECT_EQ(told.find("E:\\"), std::string::npos) << told;
  EXPECT_FALSE(fs::exists(rig.Native(kStill + "SUD001/STIL0003.JPG")));
  ExpectNoTemporaries(rig);
}

}  // namespace
}  // namespace sdmate::test
