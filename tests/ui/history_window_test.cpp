// The window's history and check: 元に戻す after an update, going back to a chosen snapshot,
// a backup put back, and the check dialog with its repair; each read back from the card.
#include "card/card_messages.h"
#include "window_fixture.h"

namespace sdmate::test {
namespace {

class ChosenSnapshot : public HistoryChooser {
 public:
  explicit ChosenSnapshot(std::size_t* index) : index_(index) {}
  std::string Choose(QWidget*, const std::vector<Snapshot>& snapshots) override {
    shown = snapshots.size();
    return *index_ < snapshots.size() ? snapshots[*index_].id : std::string();
  }
  std::size_t shown = 0;

 private:
  std::size_t* index_;
};

class RepairingCheck : public CheckDialog {
 public:
  explicit RepairingCheck(std::vector<std::string>* lines) : lines_(lines) {}
  CheckChoice Show(QWidget*, const std::vector<std::string>& findings) override {
    *lines_ = findings;
    return {.repair = !findings.empty()};
  }

 private:
  std::vector<std::string>* lines_;
};

class PickedFolder : public FolderPicker {
 public:
  explicit PickedFolder(std::string folder) : folder_(std::move(folder)) {}
  std::string Pick(QWidget*, const QString&, const std::string& start) override {
    started = start;
    return folder_;
  }
  std::string started;

 private:
  std::string folder_;
};

class HistoryWindowTest : public WindowTest {
 protected:
  void WriteCard() {
    card_.Folder(MediaKind::Image, 1, "i", {{.name = "STIL0001.JPG"}, {.name = "STIL0002.JPG"}});
    card_.Folder(MediaKind::Movie, 1, "m", {{.name = "MOL001.3GP"}});
    card_.Folder(MediaKind::Document, 1, "d", {{.name = "PDFDC001.PDF"}});
    card_.File("DCIM/100NECDT/NEC_0001.JPG", "camera");
  }
  void DeleteFirstImageAndUpdate() {
    ClickRow(MediaKind::Image, 1);
    page(MediaKind::Image).btDel->click();
    window().btRefreshData->click();
  }
};

TEST_F(HistoryWindowTest, UndoAfterAnUpdateGivesTheCardBack) {
  WriteCard();
  const auto before = SnapshotTree(card_.root());
  OpenAndLoad();
  EXPECT_FALSE(window().btUndo->isEnabled());
  EXPECT_TRUE(window().btHistory->isEnabled());
  DeleteFirstImageAndUpdate();
  ASSERT_NE(SnapshotTree(card_.root()), before);
  ASSERT_TRUE(window().btUndo->isEnabled());
  feedback_.shown.clear();
  window().btUndo->click();
  ASSERT_FALSE(feedback_.shown.empty());
  EXPECT_EQ(feedback_.shown.front().text, text::kUndoQuestion);
  EXPECT_EQ(feedback_.shown.front().buttons, Buttons::YesNo);
  EXPECT_EQ(SnapshotTree(card_.root()), before);
  EXPECT_EQ(Names(MediaKind::Image)[0], "STIL0001.JPG");
  EXPECT_FALSE(window().btUndo->isEnabled());
}

TEST_F(HistoryWindowTest, TheHistoryGoesBackToTheChosenSnapshot) {
  WriteCard();
  const auto before = SnapshotTree(card_.root());
  OpenAndLoad();
  DeleteFirstImageAndUpdate();
  clock_.Set({2005, 3, 3, 15, 0, 0});
  DeleteFirstImageAndUpdate();
  std::size_t oldest = 1;
  auto chooser = std::make_unique<ChosenSnapshot>(&oldest);
  ChosenSnapshot* shown = chooser.get();
  window().SetHistoryChooser(std::move(chooser));
  window().btHistory->click();
  EXPECT_EQ(shown->shown, 2u);
  EXPECT_EQ(SnapshotTree(card_.root()), before);
}

TEST_F(HistoryWindowTest, ABackupIsRestoredFromTheFolderChosenInTheBackupFolder) {
  WriteCard();
  OpenAndLoad();
  // A program folder the user may write to keeps the backups beside the program.
  fs::create_directories(temp_.path() / "program");
  window().btBackUp->click();
  const fs::path backups = temp_.path() / "program" / "BackUp";
  ASSERT_TRUE(fs::is_directory(backups));
  const fs::path folder = fs::directory_iterator(backups)->path();
  const auto backedUp = SnapshotTree(card_.root());
  DeleteFirstImageAndUpdate();
  auto picker = std::make_unique<PickedFolder>(sdmate::test::Utf8(folder));
  PickedFolder* picked = picker.get();
  window().SetBackupPicker(std::move(picker));
  window().btRestore->click();
  EXPECT_EQ(picked->started, sdmate::test::Utf8(backups));
  EXPECT_EQ(SnapshotTree(card_.root()), backedUp);
  EXPECT_EQ(Names(MediaKind::Image)[0], "STIL0001.JPG");
}

TEST_F(HistoryWindowTest, TheCheckShowsTheFindingsAndTheRepairTakesTheOrphanIn) {
  WriteCard();
  card_.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "orphan");
  OpenAndLoad();
  std::vector<std::string> lines;
  window().SetCheckDialog(std::make_unique<RepairingCheck>(&lines));
  window().btCheck->click();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("STIL0009.JPG"), std::string::npos);
  EXPECT_EQ(feedback_.shown.back().text, text::kRepairCompleted);
  EXPECT_EQ(Names(MediaKind::Image)[2], "STIL0009.JPG");
  EXPECT_TRUE(window().btUndo->isEnabled());
}

}  // namespace
}  // namespace sdmate::test
