// The history as a store through sdmate-cli, on real card trees: a commit that did not end is
// taken back before an edit, an undo takes back exactly what was asked, two runs on one card
// never both write, and a history or backup on the card is refused.
#include <future>

#include "platform/file_lock.h"
#include "tests/cli/cli_runner.h"

namespace sdmate::test {
namespace {

class CliStore : public CliCommand {
 protected:
  fs::path History() const { return temp.path() / "history"; }
  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--history", History().string()});
    return Sdmate(args);
  }
  // The card's folder in the history (there is one card).
  fs::path CardFolder() const {
    for (const auto& entry : fs::directory_iterator(History())) {
      if (entry.is_directory()) return entry.path();
    }
    ADD_FAILURE() << "no card folder in the history";
    return {};
  }
  // The newest snapshot made to look as if its run had been killed before it ended.
  void Unfinish() {
    fs::path newest;
    std::int64_t sequence = -1;
    for (const auto& entry : fs::directory_iterator(CardFolder())) {
      if (!entry.is_directory()) continue;
      json manifest = json::parse(ReadBytes(entry.path() / "manifest.json"));
      if (manifest["sequence"].get<std::int64_t>() > sequence) {
        sequence = manifest["sequence"].get<std::int64_t>();
        newest = entry.path();
      }
    }
    json manifest = json::parse(ReadBytes(newest / "manifest.json"));
    ASSERT_TRUE(manifest.contains("fingerprint"));
    manifest.erase("fingerprint");
    WriteBytes(newest / "manifest.json", manifest.dump(2));
  }
  std::vector<std::string> Titles() {
    const json listed = Parse(Sdmate({"list", "--json", Card()}));
    std::vector<std::string> titles;
    for (const json& item : listed["image"][0]["items"]) titles.push_back(item["title"]);
    return titles;
  }
};

TEST_F(CliStore, AnEditAfterACommitThatDidNotEndTakesItBackFirst) {
  BuildSmallCard();
  const auto before = SnapshotTree(card);
  ASSERT_EQ(Run({"edit", "--yes", Card(), "delete", "image", "1", "1"}).status, 0);
  const auto committed = SnapshotTree(card);
  Unfinish();

  // Asked without --yes: answered No, and nothing is written on top of it.
  Outcome asked = Run({"edit", Card(), "title", "image", "1", "1", "x"});
  EXPECT_EQ(asked.status, 1) << Describe(asked);
  EXPECT_NE(asked.err.find("undo"), std::string::npos) << Describe(asked);
  EXPECT_EQ(SnapshotTree(card), committed);

  Outcome edited = Run({"edit", "--yes", Card(), "title", "image", "1", "1", "x"});
  EXPECT_EQ(edited.status, 0) << Describe(edited);
  EXPECT_EQ(edited.err.find("記録できない"), std::string::npos) << Describe(edited);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"x", "b", "c"}));
  for (const auto& [path, bytes] : before) {
    if (!path.ends_with(".TBL")) {
      EXPECT_EQ(SnapshotTree(card)[path], bytes) << path;
    }
  }
}

TEST_F(CliStore, AnUndoTakesBackExactlyTheCommitsAskedForAndSaysSo) {
  BuildSmallCard();
  ASSERT_EQ(Run({"edit", "--yes", Card(), "delete", "image", "1", "1"}).status, 0);
  const auto first = SnapshotTree(card);
  ASSERT_EQ(Run({"edit", "--yes", Card(), "title", "image", "1", "1", "z"}).status, 0);
  const auto second = SnapshotTree(card);
  ASSERT_EQ(Run({"edit", "--yes", Card(), "delete", "image", "1", "1"}).status, 0);
  Unfinish();

  Outcome undone = Run({"undo", "--yes", Card()});  // the one that did not end, and only it
  EXPECT_EQ(undone.status, 0) << Describe(undone);
  EXPECT_EQ(SnapshotTree(card), second);
  undone = Run({"undo", "--yes", Card()});
  EXPECT_EQ(undone.status, 0) << Describe(undone);
  EXPECT_EQ(SnapshotTree(card), first);

  // That undo killed before its end: the next undo takes it back, as one.
  Unfinish();
  undone = Run({"undo", "--yes", Card()});
  EXPECT_EQ(undone.status, 0) << Describe(undone);
  EXPECT_EQ(SnapshotTree(card), second);
  undone = Run({"undo", "--yes", Card()});
  EXPECT_EQ(undone.status, 0) << Describe(undone);
  EXPECT_EQ(SnapshotTree(card), first);

  const json snapshots = Parse(Run({"history", "--json", Card()}));
  ASSERT_EQ(snapshots.size(), 7u);
  EXPECT_EQ(snapshots[0]["type"], "undo");
  EXPECT_EQ(snapshots.back()["undone"], false);  // the first commit stands
}

TEST_F(CliStore, ASecondRunWaitsForTheCardAndIsRefused) {
  BuildSmallCard();
  ASSERT_EQ(Run({"edit", "--yes", Card(), "title", "image", "1", "1", "held"}).status, 0);
  const auto held = SnapshotTree(card);
  {
    const LockAttempt lock = LockFileExclusive((CardFolder() / "lock").string(), 0);
    ASSERT_TRUE(lock.lock);
    Outcome edited = Run({"edit", "--yes", Card(), "title", "image", "1", "1", "x"});
    EXPECT_EQ(edited.status, 1) << Describe(edited);
    EXPECT_NE(edited.err.find("使用中"), std::string::npos) << Describe(edited);
    Outcome backup = Run({"backup", Card(), (temp.path() / "backups").string()});
    EXPECT_EQ(backup.status, 1) << Describe(backup);
    EXPECT_EQ(Run({"undo", "--yes", Card()}).status, 1);
    EXPECT_EQ(SnapshotTree(card), held);
  }
  // Two edits started together: both land, one after the other, or the second is refused;
  // never are both told done with one of them lost.
  for (int round = 0; round < 3; ++round) {
    const std::string a = "a" + std::to_string(round);
    const std::string b = "b" + std::to_string(round);
    auto first = std::async(std::launch::async, [&] {
      return Run({"edit", "--yes", Card(), "title", "image", "1", "1", a});
    });
    auto second = std::async(std::launch::async, [&] {
      return Run({"edit", "--yes", Card(), "title", "image", "1", "2", b});
    });
    const Outcome one = first.get();
    const Outcome two = second.get();
    const std::vector<std::string> titles = Titles();
    ASSERT_EQ(titles.size(), 3u);
    if (one.status == 0) {
      EXPECT_EQ(titles[0], a) << Describe(one) << Describe(two);
    }
    if (two.status == 0) {
      EXPECT_EQ(titles[1], b) << Describe(one) << Describe(two);
    }
    EXPECT_TRUE(one.status == 0 || one.err.find("使用中") != std::string::npos) << Describe(one);
    EXPECT_TRUE(two.status == 0 || two.err.find("使用中") != std::string::npos) << Describe(two);
  }
}

TEST_F(CliStore, AHistoryOrABackupOnTheCardIsRefusedAndTheCardUntouched) {
  BuildSmallCard();
  const auto before = SnapshotTree(card);
  Outcome edited = Sdmate({"--history", (card / "PRIVATE" / "HIST").string(), "edit", "--yes",
                           Card(), "delete", "image", "1", "1"});
  EXPECT_EQ(edited.status, 1) << Describe(edited);
  EXPECT_NE(edited.err.find("履歴のフォルダがメモリカードの中"), std::string::npos)
      << Describe(edited);
  Outcome backup = Run({"backup", Card(), (card / "PRIVATE" / "BK").string()});
  EXPECT_EQ(backup.status, 1) << Describe(backup);
  EXPECT_NE(backup.err.find("バックアップ先がメモリカードの中"), std::string::npos)
      << Describe(backup);
  EXPECT_EQ(SnapshotTree(card), before);
  EXPECT_FALSE(fs::exists(card / "PRIVATE" / "HIST"));
  EXPECT_FALSE(fs::exists(card / "PRIVATE" / "BK"));
}

}  // namespace
}  // namespace sdmate::test
