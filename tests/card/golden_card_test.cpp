// Tables laid out byte by byte as the handset leaves them, on a real card tree: what the load
// makes of them, and what a commit of the unchanged card writes back.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/card_rig.h"
#include "tests/support/golden_tables.h"

namespace sdmate::test {
namespace {

// Bytes of a data file: its name over and over, cut to the size, so that each file is told
// apart from the others by its content.
std::string Content(const std::string& name, std::uint32_t size) {
  std::string bytes;
  while (bytes.size() < size) bytes += name + ";";
  bytes.resize(size);
  return bytes;
}

class GoldenCardTest : public ::testing::TestWithParam<GoldenTable> {
 protected:
  // The golden table, the empty tables before it and the files in its directory.
  void WriteCard() {
    const GoldenTable& golden = GetParam();
    for (std::size_t i = 0; i < golden.before.size(); ++i) {
      rig.card.RawTable(golden.kind, static_cast<int>(i) + 1, golden.before[i]);
    }
    rig.card.RawTable(golden.kind, golden.folder, golden.bytes);
    for (const GoldenEntry& entry : golden.entries) {
      rig.card.File(FilePath(entry.FileName()), Content(entry.FileName(), entry.size));
    }
    for (const GoldenFile& file : golden.otherFiles) {
      rig.card.File(FilePath(file.name), Content(file.name, file.size));
    }
  }

  std::string FilePath(const std::string& name) const {
    return GetParam().directoryText + "\\" + name;
  }

  // The golden folder in a model, as read from the card.
  void ExpectFolder(const CardModel& model) const {
    const GoldenTable& golden = GetParam();
    const KindState& state = model.of(golden.kind);
    ASSERT_EQ(state.folderCount(), golden.folder);
    const FolderSlot& folder = state.folder(golden.folder);
    EXPECT_EQ(folder.folderTitle, golden.folderTitle);
    EXPECT_EQ(folder.deletedCount, 0);
    ASSERT_EQ(folder.itemCount(), static_cast<int>(golden.entries.size()));
    const std::string directory = "E:\\" + golden.directoryText + "\\";
    for (std::size_t i = 0; i < golden.entries.size(); ++i) {
      SCOPED_TRACE("item " + std::to_string(i));
      const ItemRow& item = folder.items[i];
      const GoldenEntry& entry = golden.entries[i];
      EXPECT_EQ(item.order, static_cast<int>(i) + 1);
      EXPECT_FALSE(item.deleted);
      EXPECT_EQ(item.sourceName, entry.FileName());
      EXPECT_EQ(item.targetName, entry.FileName());
      EXPECT_EQ(item.sourceDir, directory);
      EXPECT_EQ(item.targetDir, directory);
      EXPECT_EQ(item.title, entry.title);
      EXPECT_EQ(item.stamp, entry.stamp);
      EXPECT_EQ(item.size, static_cast<std::int64_t>(entry.size));
    }
    for (int n = 1; n < golden.folder; ++n) {
      EXPECT_EQ(state.folder(n).itemCount(), 0) << "folder " << n;
    }
  }

  CardRig rig;
};

TEST_P(GoldenCardTest, LoadReadsTheTableAndTakesSizesFromTheCard) {
  WriteCard();
  const LoadResult result = rig.Load();
  ASSERT_TRUE(result.loaded);
  EXPECT_TRUE(result.complete);
  EXPECT_FALSE(result.folderAdded[IndexOf(GetParam().kind)]);
  ExpectFolder(rig.model());
  // Nothing in these tables is worth a message.
  EXPECT_TRUE(rig.feedback.shown.empty()) << testing::PrintToString(rig.feedback.Texts());
}

TEST_P(GoldenCardTest, CommitOfTheUnchangedCardWritesTheTableBack) {
  const GoldenTable& golden = GetParam();
  WriteCard();
  ASSERT_TRUE(rig.Load().loaded);
  const UpdateResult result = rig.Update();
  ASSERT_TRUE(result.ran);
  EXPECT_TRUE(result.failures.empty()) << testing::PrintToString(result.failures);
  ASSERT_TRUE(result.reload.loaded);

  const std::string written = rig.TableBytes(golden.kind, golden.folder);
  EXPECT_EQ(written, golden.committed) << ByteDifferences(written, golden.committed);
  for (std::size_t i = 0; i < golden.before.size(); ++i) {
    EXPECT_EQ(rig.TableBytes(golden.kind, static_cast<int>(i) + 1), golden.before[i])
        << "folder " << i + 1;
  }
  // The files stay where they were, as they were; the read-back finds the same folder.
  for (const GoldenEntry& entry : golden.entries) {
    EXPECT_EQ(ReadBytes(rig.Native(FilePath(entry.FileName()))),
              Content(entry.FileName(), entry.size));
  }
  ExpectFolder(rig.model());
  ExpectFolder(rig.LoadFresh());
}

INSTANTIATE_TEST_SUITE_P(Tables, GoldenCardTest, ::testing::ValuesIn(GoldenTables()),
                         [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace sdmate::test
