// The exact bytes of the handset's tables, and reading them back.
#include "core/content_table.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(TableHeader, FieldsSitAtTheirOffsets) {
  std::string header = BuildTableHeader("\\PRIVATE\\DOCOMO\\STILL\\SUD001", "Title", 3);
  ASSERT_EQ(header.size(), 512u);
  EXPECT_EQ(header.substr(0, 2), Bytes({1, 0}));
  EXPECT_EQ(header.substr(2, 28), "\\PRIVATE\\DOCOMO\\STILL\\SUD001");
  EXPECT_EQ(header.substr(30, 226), std::string(226, '\0'));
  EXPECT_EQ(header.substr(256, 2), Bytes({0, 0x11}));
  EXPECT_EQ(header.substr(258, 5), "Title");
  EXPECT_EQ(header.substr(263, 57), std::string(57, '\0'));
  EXPECT_EQ(header.substr(320, 2), Bytes({0, 0}));
  EXPECT_EQ(header.substr(322, 19), "2004:02:14 00:00:00");
  EXPECT_EQ(header.substr(341, 2), Bytes({0, 0}));
  EXPECT_EQ(header[343], 3);
  EXPECT_EQ(header.substr(344), std::string(168, '\0'));
}

TEST(TableHeader, LongTitleIsCutAtAWholeCharacterInsideItsField) {
  // 31 double-byte characters (62 bytes) fit; one more does not, and nothing shifts.
  std::string title;
  for (int i = 0; i < 32; ++i) title += "\x82\xA0";
  std::string header = BuildTableHeader("\\D", "A" + title, 0);
  ASSERT_EQ(header.size(), 512u);
  EXPECT_EQ(header.substr(258, 61), "A" + title.substr(0, 60));
  EXPECT_EQ(header[319], '\0');
  EXPECT_EQ(header.substr(322, 19), "2004:02:14 00:00:00");
}

TEST(TableEntry, FieldsSitAtTheirOffsets) {
  std::string entry =
      BuildTableEntry(MediaKind::Image, "STIL0003.JPG", "abc", "2005:03:03 14:07:00", 1000000);
  ASSERT_EQ(entry.size(), 256u);
  EXPECT_EQ(entry.substr(0, 3), Bytes({1, 0, 1}));
  EXPECT_EQ(entry.substr(3, 8), "STIL0003");
  EXPECT_EQ(entry.substr(11, 3), "JPG");
  EXPECT_EQ(entry.substr(14, 2), Bytes({0, 0x11}));
  EXPECT_EQ(entry.substr(16, 3), "abc");
  EXPECT_EQ(entry.substr(19, 61), std::string(61, '\0'));
  EXPECT_EQ(entry.substr(80, 19), "2005:03:03 14:07:00");
  EXPECT_EQ(entry[99], '\0');
  EXPECT_EQ(entry.substr(100, 4), Bytes({0x00, 0x0F, 0x42, 0x40}));
  EXPECT_EQ(entry.substr(104), std::string(152, '\0'));
}

TEST(TableEntry, MovieStemIsSixCharactersAndTwoZeros) {
  std::string entry = BuildTableEntry(MediaKind::Movie, "MOL00A.3GP", "", "", 1);
  EXPECT_EQ(entry.substr(3, 8), std::string("MOL00A\0\0", 8));
  EXPECT_EQ(entry.substr(11, 3), "3GP");
  ContentTable table = DecodeTable(MediaKind::Movie, BuildTableHeader("\\D", "", 1) + entry);
  ASSERT_EQ(table.entries.size(), 1u);
  EXPECT_EQ(table.entries[0].FileName(), "MOL00A.3GP");
}

TEST(TableEntry, ShortAndOddNamesNeverReadPastTheName) {
  std::string entry = BuildTableEntry(MediaKind::Image, "AB.J", "", "", 0);
  EXPECT_EQ(entry.substr(3, 8), std::string("AB\0\0\0\0\0\0", 8));
  EXPECT_EQ(entry.substr(11, 3), std::string("J\0\0", 3));
  entry = BuildTableEntry(MediaKind::Image, "NODOT", "", "", 0);
  EXPECT_EQ(entry.substr(3, 8), std::string("NODOT\0\0\0", 8));
  EXPECT_EQ(entry.substr(11, 3), std::string(3, '\0'));
  EXPECT_EQ(entry.size(), 256u);
}

TEST(TableEntry, TitleOfSixtyFourBytesFillsItsFieldAndReadsBackWhole) {
  std::string title(64, 'T');
  std::string entry = BuildTableEntry(MediaKind::Image, "STIL0001.JPG", title, "s", 5);
  EXPECT_EQ(entry.substr(16, 64), title);
  EXPECT_EQ(entry[80], 's');
  ContentTable table = DecodeTable(MediaKind::Image, BuildTableHeader("\\D", "", 1) + entry);
  EXPECT_EQ(table.entries[0].title, title);
}

TEST(TableEntry, LongTitleIsCutAtAWholeCharacter) {
  std::string title = std::string(63, 'T') + "\x82\xA0" + "more";
  std::string entry = BuildTableEntry(MediaKind::Image, "STIL0001.JPG", title, "", 5);
  EXPECT_EQ(entry.substr(16, 64), std::string(63, 'T') + '\0');
  EXPECT_EQ(entry.size(), 256u);
}

TEST(DecodeTable, ReadsTheHandsetsWidths) {
  std::string title49(49, 'F');
  std::string bytes = BuildTableHeader("\\PRIVATE\\DOCOMO\\STILL\\SUD001", title49, 2);
  bytes += BuildTableEntry(MediaKind::Image, "STIL0001.JPG", "one", "2005:03:03 14:07:00", 10);
  bytes += BuildTableEntry(MediaKind::Image, "STIL0002.GIF", "\x82\xA0", "2006:01:01 00:00:00", 9);
  ContentTable table = DecodeTable(MediaKind::Image, bytes);
  EXPECT_EQ(table.directoryText, "\\PRIVATE\\DOCOMO\\STILL\\SUD001");
  EXPECT_EQ(table.folderTitle, std::string(48, 'F'));
  EXPECT_EQ(table.countByte, 2);
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[0].FileName(), "STIL0001.JPG");
  EXPECT_EQ(table.entries[0].title, "one");
  EXPECT_EQ(table.entries[1].FileName(), "STIL0002.GIF");
  EXPECT_EQ(table.entries[1].title, "\x82\xA0");
  EXPECT_EQ(table.entries[1].stamp, "2006:01:01 00:00:00");
}

// The header's title field holds 62 bytes of which 48 are read: a double-byte character across
// byte 48 is left out whole, so a rewrite never ends the title in half a character.
TEST(DecodeTable, AFolderTitleLongerThanWhatIsReadEndsAtAWholeCharacter) {
  std::string title = "A";
  for (int i = 0; i < 30; ++i) title += "\x82\xA0";
  std::string bytes = BuildTableHeader("\\D", title.substr(0, 61), 0);
  const std::string read = DecodeTable(MediaKind::Image, bytes).folderTitle;
  EXPECT_EQ(read, title.substr(0, 47));
  EXPECT_EQ(BuildTableHeader("\\D", read, 0).substr(258, 62), read + std::string(15, '\0'));
}

TEST(DecodeTable, SizeDecidesTheCount) {
  EXPECT_EQ(EntryCountOf(512), 0);
  EXPECT_EQ(EntryCountOf(512 + 256 * 3 + 100), 3);
  EXPECT_EQ(EntryCountOf(100), 0);
  EXPECT_EQ(EntryCountOf(0), 0);
  EXPECT_EQ(EntryCountOf(-1), 0);

  std::string bytes = BuildTableHeader("\\D", "t", 9);  // the count byte says 9
  for (int i = 0; i < 3; ++i) bytes += BuildTableEntry(MediaKind::Image, "A.JPG", "", "", 1);
  bytes += std::string(100, 'x');
  EXPECT_EQ(DecodeTable(MediaKind::Image, bytes).entries.size(), 3u);
  EXPECT_TRUE(DecodeTable(MediaKind::Image, bytes.substr(0, 300)).entries.empty());
  EXPECT_TRUE(DecodeTable(MediaKind::Image, "").directoryText.empty());
}

TEST(DecodeTable, FieldsWithoutZeroStopAtTheirWidth) {
  std::string bytes(512 + 256, '\x41');
  ContentTable table = DecodeTable(MediaKind::Movie, bytes);
  EXPECT_EQ(table.directoryText.size(), 64u);
  EXPECT_EQ(table.folderTitle.size(), 48u);
  ASSERT_EQ(table.entries.size(), 1u);
  EXPECT_EQ(table.entries[0].stem.size(), 6u);
  EXPECT_EQ(table.entries[0].extension.size(), 3u);
  EXPECT_EQ(table.entries[0].title.size(), 64u);
  EXPECT_EQ(table.entries[0].stamp.size(), 19u);
}

}  // namespace
}  // namespace sdmate
