// The history as a store on real card trees: snapshots ordered by the card's own sequence
// whatever the clock says, a walk back through a full history, undos refused where the card
// changed since its commit, the card's lock, and the snapshots that a run left half made.
#include <gtest/gtest.h>

#include <chrono>

#include "card/card_messages.h"
#include "core/content_table.h"
#include "tests/support/card_rig.h"

namespace sdmate::test {
namespace {

std::string HistoryFolder(CardRig& rig) {
  History history(TestPlaces(rig.temp()).historyDirectory, *rig.realFiles, rig.clock);
  return history.CardFolder(rig.drives.CardKeyOf(CardRig::kDrive));
}

// The folders of snapshots in the card's history folder, made whole or not.
std::vector<std::string> SnapshotFolders(CardRig& rig) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(PathFromUtf8(HistoryFolder(rig)))) {
    if (entry.is_directory()) names.push_back(Utf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void Retitle(CardRig& rig, int row, const std::string& title) {
  ASSERT_TRUE(rig.session.StoreItemTitle(MediaKind::Image, 1, row, title).changed) << title;
  ExpectCompleted(rig, rig.Update());
}

TEST(HistoryStoreTest, AWalkBackThroughAFullHistoryGivesTheDeletedPictureBack) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.Load();
  for (int i = 0; i < History::kKeptSnapshots; ++i) Retitle(rig, 2, "full " + std::to_string(i));
  const CardState beforeDelete = StateOf(rig.cardRoot());
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());
  for (int i = 0; i < History::kKeptSnapshots - 1; ++i)
    Retitle(rig, 1, "edit " + std::to_string(i));

  std::vector<Snapshot> snapshots = rig.session.Snapshots();
  ASSERT_EQ(snapshots.size(), static_cast<std::size_t>(History::kKeptSnapshots));
  const Snapshot& oldest = snapshots.back();
  ASSERT_NE(oldest.summary.find(text::kStepDelete), std::string::npos) << oldest.summary;
  const CardSession::TakeBack walk = rig.session.Undo(oldest.id);
  ASSERT_TRUE(walk.ran) << walk.refused;
  EXPECT_EQ(walk.commits.size(), static_cast<std::size_t>(History::kKeptSnapshots));
  for (const UpdateResult& commit : walk.commits) EXPECT_TRUE(commit.failures.empty());
  EXPECT_EQ(StateOf(rig.cardRoot()), beforeDelete)
      << Describe(beforeDelete, StateOf(rig.cardRoot()));
  EXPECT_EQ(ReadBytes(rig.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG")),
            CardBuilder::DefaultContent("STIL0001.JPG"));
  // Pruned once the walk had ended: the newest twenty, its own undos, are kept.
  snapshots = rig.session.Snapshots();
  ASSERT_EQ(snapshots.size(), static_cast<std::size_t>(History::kKeptSnapshots));
  for (const Snapshot& snapshot : snapshots) EXPECT_EQ(snapshot.type, "undo");
}

TEST(HistoryStoreTest, TheNewestIsTheLastMadeWhenTheClockGoesBack) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.Load();
  for (int i = 0; i < History::kKeptSnapshots; ++i) {
    rig.clock.Set({2026, 12, 8, 23, 0, i});  // Japan's time
    Retitle(rig, 2, "t" + std::to_string(i));
  }
  const CardState beforeDelete = StateOf(rig.cardRoot());
  rig.clock.Set({2026, 12, 8, 14, 0, 0});  // the same moment in UTC
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());

  std::vector<Snapshot> snapshots = rig.session.Snapshots();
  ASSERT_EQ(snapshots.size(), static_cast<std::size_t>(History::kKeptSnapshots));
  EXPECT_EQ(snapshots.front().id, "20261208-140000");
  EXPECT_EQ(snapshots.front().sequence, History::kKeptSnapshots + 1);
  for (std::size_t i = 1; i < snapshots.size(); ++i) {
    EXPECT_EQ(snapshots[i].sequence + 1, snapshots[i - 1].sequence) << snapshots[i].id;
  }
  // The oldest went, not the newest.
  EXPECT_EQ(snapshots.back().id, "20261208-230001");
  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), beforeDelete)
      << Describe(beforeDelete, StateOf(rig.cardRoot()));

  // The counter lost: the manifests still say which number comes next; the second already holds
  // the delete and its undo.
  fs::remove(PathFromUtf8(HistoryFolder(rig)) / "card.json");
  Retitle(rig, 1, "again");
  snapshots = rig.session.Snapshots();
  EXPECT_EQ(snapshots.front().sequence, History::kKeptSnapshots + 3);
  EXPECT_EQ(snapshots.front().id, "20261208-140000-3");
}

TEST(HistoryStoreTest, AnUndoIsRefusedWhereAFileChangedSinceItsCommit) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 3);
  ExpectCompleted(rig, rig.Update());
  // The handset took a new picture under the name the deleted one had; its table says nothing
  // of it yet.
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0003.JPG", "a new picture");
  const CardState changed = StateOf(rig.cardRoot());
  rig.Load();
  const CardSession::TakeBack undo = rig.session.Undo();
  EXPECT_FALSE(undo.ran);
  EXPECT_EQ(undo.refused, text::kUndoChangedFile +
                              Utf8(rig.Native("\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0003.JPG")));
  EXPECT_EQ(StateOf(rig.cardRoot()), changed);
}

// A commit killed half way; then the handset adds a picture and its row. Taking the commit back
// would drop the row: it is refused, and the card stays as the handset left it.
TEST(HistoryStoreTest, ACommitThatDidNotEndIsNotTakenBackOverTheHandsetsChanges) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.card.File("PRIVATE/DOCOMO/STILL/~SDM7777ABCD.TMP", "another program's");
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  rig.session.RenumberItems(MediaKind::Image, 1);
  rig.files.failAt = 3;
  rig.files.failFrom = true;
  rig.Update();
  rig.files.failAt = 0;
  Snapshot last = rig.session.Snapshots().front();
  History history(TestPlaces(rig.temp()).historyDirectory, *rig.realFiles, rig.clock);
  ASSERT_TRUE(history.Finish(last, ""));

  std::vector<TableItem> items = Stills({1, 2, 3, 4});
  items[0].writeFile = items[1].writeFile = items[2].writeFile = false;
  rig.card.Folder(MediaKind::Image, 1, "one", items);
  const CardState changed = StateOf(rig.cardRoot());
  rig.feedback.shown.clear();
  rig.Load();
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_EQ(rig.feedback.shown.front().text, text::kUnfinishedFound);
  EXPECT_FALSE(rig.session.tookBack().ran);
  EXPECT_TRUE(rig.session.tookBack().refused.starts_with(text::kUndoChangedFile))
      << rig.session.tookBack().refused;
  EXPECT_NE(rig.session.tookBack().refused.find("SUD001.TBL"), std::string::npos);
  EXPECT_EQ(StateOf(rig.cardRoot()), changed) << Describe(changed, StateOf(rig.cardRoot()));
}

// The window: the load took back a commit that did not end; the undo button then takes back
// the commit before it.
TEST(HistoryStoreTest, AfterTheLoadTookBackACommitTheUndoTakesBackTheOneBefore) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  const CardState before = StateOf(rig.cardRoot());
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 3);
  ExpectCompleted(rig, rig.Update());
  const CardState first = StateOf(rig.cardRoot());
  rig.session.DeleteItem(MediaKind::Image, 1, 1);
  ExpectCompleted(rig, rig.Update());
  Snapshot last = rig.session.Snapshots().front();
  History history(TestPlaces(rig.temp()).historyDirectory, *rig.realFiles, rig.clock);
  ASSERT_TRUE(history.Finish(last, ""));
  rig.Load();
  ASSERT_TRUE(rig.session.tookBack().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, first.files);
  ASSERT_TRUE(rig.session.Undo().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()).files, before.files);
  EXPECT_FALSE(rig.session.LastUndoable().has_value());
}

TEST(HistoryStoreTest, ATakeBackRemovesItsOwnTemporariesAndNoOthers) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.card.File("PRIVATE/DOCOMO/STILL/~SDM7777ABCD.TMP", "another commit's");
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD001/~SDM0001.TMP", "an older program's");
  rig.Load();
  rig.session.MoveItemDown(MediaKind::Image, 1, 1);
  rig.session.RenumberItems(MediaKind::Image, 1);
  rig.Update();
  const int operations = rig.files.operations;
  for (int k = 1; k <= operations; ++k) {
    CardRig again;
    again.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
    again.card.File("PRIVATE/DOCOMO/STILL/~SDM7777ABCD.TMP", "another commit's");
    again.card.File("PRIVATE/DOCOMO/STILL/SUD001/~SDM0001.TMP", "an older program's");
    const CardState before = StateOf(again.cardRoot());
    again.Load();
    again.session.MoveItemDown(MediaKind::Image, 1, 1);
    again.session.RenumberItems(MediaKind::Image, 1);
    again.files.failAt = k;
    again.files.failFrom = true;
    const bool wroteSomething = again.Update().ran;
    again.files.failAt = 0;
    // A commit that wrote nothing leaves no snapshot to take back.
    if (!wroteSomething) {
      EXPECT_TRUE(again.session.Snapshots().empty()) << k;
      continue;
    }
    ASSERT_FALSE(again.session.Snapshots().empty()) << k;
    Snapshot last = again.session.Snapshots().front();
    EXPECT_EQ(last.temporaryTag, "0001");
    History history(TestPlaces(again.temp()).historyDirectory, *again.realFiles, again.clock);
    ASSERT_TRUE(history.Finish(last, ""));
    again.Load();
    EXPECT_TRUE(again.session.tookBack().ran) << k << again.session.tookBack().refused;
    const CardState after = StateOf(again.cardRoot());
    EXPECT_TRUE(after.files == before.files) << "k=" << k << "\n" << Describe(before, after);
  }
}

TEST(HistoryStoreTest, ASnapshotThatFailsHalfWayIsRemovedAndOneLeftByADeadRunIsPruned) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  const CardState before = StateOf(rig.cardRoot());
  rig.Load();
  rig.session.DeleteItem(MediaKind::Image, 1, 2);
  rig.files.failPathContaining = "STIL0002.JPG";
  EXPECT_FALSE(rig.Update().ran);
  EXPECT_EQ(StateOf(rig.cardRoot()), before);
  EXPECT_TRUE(SnapshotFolders(rig).empty());

  // A run died while saving: its folder has no manifest. Pruned when older than a minute.
  const fs::path folder = PathFromUtf8(HistoryFolder(rig));
  WriteBytes(folder / "20050303-140000" / "files" / "x", "half");
  WriteBytes(folder / "20050303-140001" / "files" / "x", "still being saved");
  SetFolderTime(folder / "20050303-140000",
                fs::file_time_type::clock::now() - std::chrono::minutes(2));
  rig.files.failPathContaining.clear();
  ExpectCompleted(rig, rig.Update());
  const std::vector<std::string> left = SnapshotFolders(rig);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0], "20050303-140001");
  EXPECT_EQ(left[1], rig.session.Snapshots().front().id);
}

// Two sessions of one process hold the lock as two runs would (each opens the lock file).
TEST(HistoryStoreTest, ASecondRunOnTheCardWaitsAndIsRefused) {
  CardRig rig;
  rig.card.Folder(MediaKind::Image, 1, "one", Stills({1, 2, 3}));
  rig.Load();
  ScriptedFeedback otherFeedback;
  CardSession other(SessionServices{*rig.realFiles, rig.drives, *rig.codec, rig.clock,
                                    otherFeedback, TestPlaces(rig.temp())});
  const History::Hold held = other.HoldCard(CardRig::kDrive);
  ASSERT_TRUE(held);
  const CardState before = StateOf(rig.cardRoot());
  rig.session.DeleteItem(MediaKind::Image, 1, 2);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(rig.Update().ran);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  ASSERT_FALSE(rig.feedback.shown.empty());
  EXPECT_TRUE(rig.feedback.shown.back().text.starts_with(text::kCardBusy));
  EXPECT_EQ(StateOf(rig.cardRoot()), before);
  EXPECT_TRUE(rig.session.updateDue());
  EXPECT_FALSE(rig.session.Backup(CardRig::kDrive, Utf8(rig.base() / "BackUp")).complete);
}

}  // namespace
}  // namespace sdmate::test
