// Tables laid out byte by byte as the handset leaves them: what the reader finds in them, and
// what the writer makes of what was read.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/content_table.h"
#include "tests/support/golden_tables.h"

namespace sdmate::test {
namespace {

class GoldenTableTest : public ::testing::TestWithParam<GoldenTable> {};

TEST_P(GoldenTableTest, DecodesEveryField) {
  const GoldenTable& golden = GetParam();
  const ContentTable table = DecodeTable(golden.kind, golden.bytes);
  EXPECT_EQ(table.directoryText, golden.directoryText);
  EXPECT_EQ(table.folderTitle, golden.folderTitle);
  EXPECT_EQ(table.countByte, golden.countByte);
  ASSERT_EQ(table.entries.size(), golden.entries.size());
  for (std::size_t i = 0; i < golden.entries.size(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    EXPECT_EQ(table.entries[i].stem, golden.entries[i].stem);
    EXPECT_EQ(table.entries[i].extension, golden.entries[i].extension);
    EXPECT_EQ(table.entries[i].title, golden.entries[i].title);
    EXPECT_EQ(table.entries[i].stamp, golden.entries[i].stamp);
    EXPECT_EQ(table.entries[i].FileName(), golden.entries[i].FileName());
  }
}

TEST_P(GoldenTableTest, BuildsBackFromTheDecodedValues) {
  const GoldenTable& golden = GetParam();
  const ContentTable table = DecodeTable(golden.kind, golden.bytes);
  ASSERT_EQ(table.entries.size(), golden.entries.size());
  std::string rebuilt = BuildTableHeader(table.directoryText, table.folderTitle,
                                         static_cast<int>(table.entries.size()));
  for (std::size_t i = 0; i < table.entries.size(); ++i) {
    // The size field comes from the file on the card, not from the table.
    rebuilt += BuildTableEntry(golden.kind, table.entries[i].FileName(), table.entries[i].title,
                               table.entries[i].stamp, golden.entries[i].size);
  }
  EXPECT_EQ(rebuilt, golden.committed) << ByteDifferences(rebuilt, golden.committed);
}

INSTANTIATE_TEST_SUITE_P(Tables, GoldenTableTest, ::testing::ValuesIn(GoldenTables()),
                         [](const auto& test) { return test.param.name; });

// The contract the golden tables hold the program to: a well-formed table, its count byte right
// and its header stamp the usual one, comes back byte for byte.
TEST(GoldenTableContract, WellFormedTablesComeBackByteForByte) {
  for (const char* name : {"ShortImageStem", "ShortMovieStem", "FullTitleFields",
                           "HexadecimalMovieNames", "ShiftJisTitles"}) {
    const GoldenTable& golden = GoldenTableNamed(name);
    EXPECT_EQ(golden.committed, golden.bytes) << name;
    EXPECT_EQ(golden.bytes.substr(322, 19), "2004:02:14 00:00:00") << name;
    EXPECT_EQ(static_cast<std::size_t>(static_cast<unsigned char>(golden.bytes[343])),
              golden.entries.size())
        << name;
  }
}

// A movie stem is read from its 6 bytes only: what a longer name leaves in bytes 9 and 10 of
// the entry is not part of the name, and is written back as zeros.
TEST(GoldenTableEntry, MovieStemBeyondSixBytesIsNotRead) {
  std::string bytes = GoldenTableNamed("ShortMovieStem").bytes;
  bytes.replace(768 + 3, 8, "MOL002XY");
  const ContentTable table = DecodeTable(MediaKind::Movie, bytes);
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[1].FileName(), "MOL002.MP4");
  const std::string entry = BuildTableEntry(MediaKind::Movie, table.entries[1].FileName(),
                                            table.entries[1].title, table.entries[1].stamp, 255);
  EXPECT_EQ(entry, GoldenTableNamed("ShortMovieStem").bytes.substr(768, 256));
}

}  // namespace
}  // namespace sdmate::test
