// The history commands of sdmate-cli on real card trees: history, undo, restore and repair, and
// an edit without operations.
#include "core/content_table.h"
#include "tests/cli/cli_runner.h"

namespace sdmate::test {
namespace {

class CliHistory : public CliCommand {
 protected:
  std::string History() const { return (temp.path() / "history").string(); }
  // The command with the test's own history folder given first.
  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--history", History()});
    return Sdmate(args);
  }
};

TEST_F(CliHistory, ACommitIsListedAndTakenBackOnlyWithYes) {
  BuildSmallCard();
  const auto before = SnapshotTree(card);
  Outcome edited = Run({"edit", "--yes", Card(), "delete", "image", "1", "1"});
  ASSERT_EQ(edited.status, 0) << Describe(edited);
  const auto committed = SnapshotTree(card);

  Outcome listed = Run({"history", "--json", Card()});
  ASSERT_EQ(listed.status, 0) << Describe(listed);
  const json snapshots = Parse(listed);
  ASSERT_EQ(snapshots.size(), 1u);
  EXPECT_EQ(snapshots[0]["type"], "commit");
  EXPECT_EQ(snapshots[0]["finished"], true);

  Outcome dry = Run({"undo", "--dry-run", Card()});
  EXPECT_EQ(dry.status, 0) << Describe(dry);
  EXPECT_EQ(SnapshotTree(card), committed);
  Outcome asked = Run({"undo", Card()});
  EXPECT_EQ(asked.status, 1) << Describe(asked);
  EXPECT_EQ(SnapshotTree(card), committed);
  Outcome undone = Run({"undo", "--yes", Card()});
  EXPECT_EQ(undone.status, 0) << Describe(undone);
  EXPECT_EQ(SnapshotTree(card), before);
  // Nothing left to take back.
  EXPECT_EQ(Run({"undo", "--yes", Card()}).status, 1);
}

TEST_F(CliHistory, AnEditWithoutOperationsCommitsTheCardAsItIs) {
  builder.Folder(MediaKind::Image, 1, "images",
                 {{"STIL0001.JPG", "a"}, {.name = "STIL0002.JPG", .writeFile = false}});
  Outcome edited = Run({"edit", "--yes", "--json", Card()});
  ASSERT_EQ(edited.status, 0) << Describe(edited);
  EXPECT_EQ(Names(Parse(edited)["image"][0]["items"]), std::vector<std::string>{"STIL0001.JPG"});
  EXPECT_EQ(DecodeTable(MediaKind::Image,
                        ReadBytes(builder.Native("\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL")))
                .entries.size(),
            1u);
  // Committed again, a clean card is left as it is.
  const auto clean = SnapshotTree(card);
  Outcome again = Run({"edit", "--yes", Card()});
  EXPECT_EQ(again.status, 0) << Describe(again);
  EXPECT_NE(again.err.find("変更はありません"), std::string::npos) << Describe(again);
  EXPECT_EQ(SnapshotTree(card), clean);
}

TEST_F(CliHistory, RepairLeavesACardTheCheckFindsCleanAndADryRunWritesNothing) {
  BuildSmallCard();
  builder.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "orphan");
  builder.Folder(MediaKind::Document, 3, "three", {{.name = "PDFDC001.PDF", .content = "three"}});
  ASSERT_EQ(Sdmate({"check", Card()}).status, 1);
  const auto damaged = SnapshotTree(card);
  Outcome dry = Run({"repair", "--dry-run", "--json", Card()});
  EXPECT_EQ(dry.status, 0) << Describe(dry);
  EXPECT_EQ(Parse(dry)["adopted"], 1);
  EXPECT_EQ(SnapshotTree(card), damaged);

  Outcome repaired = Run({"repair", "--yes", Card()});
  EXPECT_EQ(repaired.status, 0) << Describe(repaired);
  Outcome checked = Sdmate({"check", Card()});
  EXPECT_EQ(checked.status, 0) << Describe(checked);
  EXPECT_EQ(StillFile("STIL0009.JPG"), "orphan");
  EXPECT_EQ(ReadBytes(builder.Native("\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD002\\PDFDC001.PDF")),
            "three");
}

TEST_F(CliHistory, ABackupIsRestoredAndTheRestoreTakenBack) {
  BuildSmallCard();
  builder.File("DCIM/100NECDT/NEC_0001.JPG", "camera");
  const std::string backups = (temp.path() / "backups").string();
  Outcome backup = Run({"backup", Card(), backups});
  ASSERT_EQ(backup.status, 0) << Describe(backup);
  std::string folder = backup.out.substr(0, backup.out.find('\n'));
  std::erase(folder, '\r');  // a text-mode console on Windows
  const auto backedUp = SnapshotTree(card);
  ASSERT_EQ(Run({"edit", "--yes", Card(), "delete", "image", "1", "2"}).status, 0);
  const auto edited = SnapshotTree(card);

  Outcome dry = Run({"restore", "--dry-run", folder, Card()});
  EXPECT_EQ(dry.status, 0) << Describe(dry);
  EXPECT_NE(dry.out.find("書き込むファイル"), std::string::npos) << Describe(dry);
  Outcome restored = Run({"restore", "--yes", folder, Card()});
  EXPECT_EQ(restored.status, 0) << Describe(restored);
  EXPECT_EQ(SnapshotTree(card), backedUp);
  EXPECT_EQ(Run({"undo", "--yes", Card()}).status, 0);
  EXPECT_EQ(SnapshotTree(card), edited);
}

}  // namespace
}  // namespace sdmate::test
