// Every commit can be taken back: commits of each kind of edit undone on real card trees give
// the card back file by file, byte by byte and with its time stamps; an undo can be undone; a
// changed card refuses; a history that cannot be written stops the commit; a commit stopped
// at any step is taken back without losing a file; a backup is put back and taken back again.
#include <gtest/gtest.h>

#include <functional>

#include "card/card_messages.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

void BuildCard(CardRig& rig) {
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.card.Folder(MediaKind::Image, 2, "two", {{.name = "STIL0001.JPG", .content = "two-1"}});
  rig.card.Folder(MediaKind::Image, 3, "three", {{.name = "STIL0004.JPG", .content = "three-4"}});
  std::vector<TableItem> clips;
  for (int p = 1; p <= 11; ++p)
    clips.push_back({.name = DataFileName(MediaKind::Movie, p, ".3GP")});
  rig.card.Folder(MediaKind::Movie, 1, "m", clips);
  rig.card.Folder(MediaKind::Movie, 2, "m2", {{.name = "MOL001.3GP", .content = "m2"}});
  rig.card.Folder(MediaKind::Document, 1, "d", {{.name = "PDFDC001.PDF"}});
  rig.card.File("DCIM/100NECDT/NEC_0001.JPG", "camera");
}

struct EditCase {
  const char* name;
  std::function<void(CardRig&)> edit;
};

class UndoTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(UndoTest, UndoGivesTheCardBackAndItsUndoTheCommittedCard) {
  CardRig rig;
  BuildCard(rig);
  const CardState before = StateOf(rig.cardRoot());
  ASSERT_TRUE(rig.Load().loaded);
  GetParam().edit(rig);
  ExpectCompleted(rig, rig.Update());
  const CardState committed = StateOf(rig.cardRoot());
  ASSERT_NE(committed, before);
  // The manifest said before the first write what every path would hold at the end.
  const Snapshot commit = rig.session.Snapshots().front();
  // Its fingerprint, taken from the tables the load read and the ones the commit wrote, is
  // the one of every table as the card holds them.
  EXPECT_EQ(commit.fingerprint, TableFingerprint(CardRig::kDrive, rig.files));
  int hashed = 0;
  for (const SavedPath& path : commit.paths) {
    if (path.directory) continue;
    EXPECT_EQ(ContentHash(rig.files, OnDrive(CardRig::kDrive, path.path)), path.after) << path.path;
    EXPECT_FALSE(path.before.empty()) << path.path;
    ++hashed;
  }
  EXPECT_GT(hashed, 0);

  const CardSession::TakeBack undo = rig.session.Undo();
  ASSERT_TRUE(undo.ran) << undo.refused;
  EXPECT_TRUE(undo.commits.back().failures.empty());
  EXPECT_EQ(rig.feedback.shown.back().text, text::kUndoCompleted);
  EXPECT_EQ(StateOf(rig.cardRoot()), before) << Describe(before, StateOf(rig.cardRoot()));

  // The undo left its own snapshot: taken back, the card is as the commit left it.
  const std::vector<Snapshot> snapshots = rig.session.Snapshots();
  ASSERT_EQ(snapshots.size(), 2u);
  EXPECT_EQ(snapshots[0].type, "undo");
  EXPECT_TRUE(snapshots[1].undone);
  const CardSession::TakeBack redo = rig.session.Undo(snapshots[0].id);
  ASSERT_TRUE(redo.ran) << redo.refused;
  EXPECT_EQ(StateOf(rig.cardRoot()), committed) << Describe(committed, StateOf(rig.cardRoot()));
  EXPECT_FALSE(rig.session.Snapshots().back().undone);
}

const EditCase kEdits[] = {
    {"ItemDelete", [](CardRig& rig) { rig.session.DeleteItem(MediaKind::Image, 1, 2); }},
    {"DeleteAndRenumber",
     [](CardRig& rig) {
       rig.session.DeleteItem(MediaKind::Image, 1, 1);
       rig.session.RenumberItems(MediaKind::Image, 1);
     }},
    {"UpDownAndRenumber",
     [](CardRig& rig) {
       rig.session.MoveItemDown(MediaKind::Image, 1, 1);
       rig.session.MoveItemUp(MediaKind::Image, 1, 3);
       rig.session.RenumberItems(MediaKind::Image, 1);
     }},
    {"Title", [](CardRig& rig) { rig.session.StoreItemTitle(MediaKind::Image, 2, 1, "new"); }},
    {"Add",
     [](CardRig& rig) {
       rig.AddFiles(MediaKind::Document, 1, {rig.ComputerFile("new.pdf", PdfBytes(300))});
     }},
    {"MoveBetweenFolders",
     [](CardRig& rig) {
       rig.session.MoveItems(MediaKind::Image, 1, {1, 3}, 3);
       rig.session.MoveItems(MediaKind::Image, 2, {1}, 1);
     }},
    {"MoveOfMoviesAndRenumber",
     [](CardRig& rig) {
       rig.session.MoveItems(MediaKind::Movie, 1, {2, 11}, 2);
       rig.session.RenumberItems(MediaKind::Movie, 1);
     }},
    {"FolderAdd", [](CardRig& rig) { rig.session.AddFolder(MediaKind::Image); }},
    {"MiddleFolderDelete", [](CardRig& rig) { rig.DeleteFolder(MediaKind::Image, 2); }},
    {"HexadecimalMovieNames",
     [](CardRig& rig) {
       rig.session.DeleteItem(MediaKind::Movie, 1, 1);
       rig.session.RenumberItems(MediaKind::Movie, 1);
       rig.DeleteFolder(MediaKind::Movie, 1);
     }},
};

INSTANTIATE_TEST_SUITE_P(Edits, UndoTest, ::testing::ValuesIn(kEdits),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(UndoHistoryTest, TwoCommitsAreUndoneInOrder) {
  CardRig rig;
  BuildCard(rig);
  const CardState first = StateOf(rig.cardRoot());
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());
  const CardState second = StateOf(rig.cardRoot());
  rig.clock.Set({2005, 3, 3, 14, 8, 0});
  rig.session.RenumberItems(MediaKind::Image, 1);
  ExpectCompleted(rig, rig.Update());
  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), second);
  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), first);
  EXPECT_FALSE(rig.session.LastUndoable().has_value());
}

TEST(UndoHistoryTest, BackToAChosenSnapshotUndoesTheLaterOnesToo) {
  CardRig rig;
  BuildCard(rig);
  const CardState first = StateOf(rig.cardRoot());
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());
  rig.session.StoreFolderTitle(MediaKind::Image, 2, "x");
  ExpectCompleted(rig, rig.Update());
  const std::vector<Snapshot> snapshots = rig.session.Snapshots();
  ASSERT_EQ(snapshots.size(), 2u);
  EXPECT_EQ(snapshots[0].id, "20050303-140731-2");  // two in one second
  ASSERT_TRUE(rig.session.Undo(snapshots[1].id).ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), first);
}

TEST(UndoHistoryTest, AnUndoIsRefusedAfterTheTablesWereChangedByHand) {
  CardRig rig;
  BuildCard(rig);
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());
  rig.card.Folder(MediaKind::Image, 2, "changed by the handset", {});
  const CardState changed = StateOf(rig.cardRoot());
  rig.Load();
  const CardSession::TakeBack undo = rig.session.Undo();
  EXPECT_FALSE(undo.ran);
  EXPECT_EQ(undo.refused, text::kUndoRefused);
  EXPECT_EQ(StateOf(rig.cardRoot()), changed);
}

TEST(UndoHistoryTest, AHistoryThatCannotBeWrittenStopsTheCommitWithTheCardUntouched) {
  CardRig rig;
  BuildCard(rig);
  const CardState before = StateOf(rig.cardRoot());
  WriteBytes(rig.base() / "history", "a file where the history folder should be");
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  const UpdateResult result = rig.Update();
  EXPECT_FALSE(result.ran);
  EXPECT_TRUE(rig.session.updateDue());
  EXPECT_EQ(StateOf(rig.cardRoot()), before);
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.back().kind, MessageKind::Error);
  EXPECT_NE(rig.feedback.shown.back().text.find("history"), std::string::npos);
}

// Stopped after its k-th operation (every later one fails, as on a pulled card), the commit's
// snapshot has no fingerprint; the next load offers to take it back, and the card of before
// comes back whole.
TEST(UndoHistoryTest, ACommitStoppedAtAnyStepIsTakenBackWhole) {
  int operations = 0;
  {
    CardRig rig;
    BuildCard(rig);
    rig.Load();
    rig.DeleteFolder(MediaKind::Image, 2);
    rig.session.DeleteItem(MediaKind::Image, 1, 1);
    rig.session.RenumberItems(MediaKind::Image, 1);
    ExpectCompleted(rig, rig.Update());
    operations = rig.files.operations;
  }
  for (int k = 1; k <= operations; ++k) {
    CardRig rig;
    BuildCard(rig);
    const CardState before = StateOf(rig.cardRoot());
    rig.Load();
    rig.DeleteFolder(MediaKind::Image, 2);
    rig.session.DeleteItem(MediaKind::Image, 1, 1);
    rig.session.RenumberItems(MediaKind::Image, 1);
    rig.files.failAt = k;
    rig.files.failFrom = true;
    const bool wroteSomething = rig.Update().ran;
    rig.files.failAt = 0;
    if (!wroteSomething) {
      // Nothing reached the card: the edits stay staged and there is nothing to take back.
      EXPECT_TRUE(rig.session.updateDue()) << k;
      EXPECT_FALSE(rig.session.LastUndoable().has_value()) << k;
      EXPECT_TRUE(rig.session.Snapshots().empty()) << k;
      EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files) << k;
      continue;
    }
    ASSERT_FALSE(rig.session.Snapshots().empty()) << k;
    // The pulled card is put back: its snapshot never got its fingerprint, and the load asks.
    Snapshot last = rig.session.Snapshots().front();
    last.fingerprint.clear();
    ASSERT_TRUE(History(TestPlaces(rig.temp()).historyDirectory, *rig.realFiles, rig.clock)
                    .Finish(last, ""));
    rig.feedback.shown.clear();
    rig.Load();
    ASSERT_FALSE(rig.feedback.shown.empty()) << k;
    EXPECT_EQ(rig.feedback.shown.front().text, text::kUnfinishedFound) << k;
    EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files)
        << "k=" << k << "\n"
        << Describe(before, StateOf(rig.cardRoot()));
  }
}

TEST(RestoreTest, ABackupIsPutBackExactlyAndTakenBackAgain) {
  CardRig rig;
  BuildCard(rig);
  rig.Load();
  const BackupResult backup = rig.session.Backup(CardRig::kDrive, Utf8(rig.base() / "BackUp"));
  ASSERT_TRUE(backup.complete);
  const CardState backedUp = StateOf(rig.cardRoot());
  rig.DeleteFolder(MediaKind::Image, 1);
  rig.session.DeleteItem(MediaKind::Movie, 1, 3);
  rig.session.RenumberItems(MediaKind::Movie, 1);
  ExpectCompleted(rig, rig.Update());
  rig.card.File("DCIM/100NECDT/NEC_0002.JPG", "a later photo");
  rig.card.File("PRIVATE/DOCOMO/RINGER/RING0001.MID", "a ring tone");
  const CardState edited = StateOf(rig.cardRoot());

  CardSession::TakeBack dry = rig.session.Restore(backup.folder, true);
  EXPECT_FALSE(dry.ran);
  EXPECT_GT(dry.summary.written, 0);
  EXPECT_EQ(StateOf(rig.cardRoot()), edited);
  rig.feedback.shown.clear();
  CardSession::TakeBack restore = rig.session.Restore(backup.folder);
  ASSERT_TRUE(restore.ran) << restore.refused;
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_NE(rig.feedback.shown.front().text.find(text::kRestoreWritten), std::string::npos);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, backedUp.files)
      << Describe(backedUp, StateOf(rig.cardRoot()));
  EXPECT_EQ(StateOf(rig.cardRoot()).folders, backedUp.folders);

  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, edited.files)
      << Describe(edited, StateOf(rig.cardRoot()));
}

TEST(RestoreTest, AFolderThatIsNoBackupIsRefused) {
  CardRig rig;
  BuildCard(rig);
  rig.Load();
  fs::create_directories(rig.base() / "nothing");
  const CardState before = StateOf(rig.cardRoot());
  EXPECT_FALSE(rig.session.Restore(Utf8(rig.base() / "nothing")).ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), before);
}

}  // namespace
}  // namespace sdmate::test
