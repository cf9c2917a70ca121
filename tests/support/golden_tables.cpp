// Golden tables: every byte put at its offset by hand, every size spelled out big-endian.
#include "tests/support/golden_tables.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace sdmate::test {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kUsualStamp = "2004:02:14 00:00:00";

// Puts bytes at an offset into a field of the given width; a golden whose bytes do not fit
// their field or the file is a mistake in the golden.
void Put(std::string& table, std::size_t offset, std::size_t width, std::string_view bytes) {
  if (bytes.size() > width || offset + bytes.size() > table.size()) {
    throw std::logic_error("golden field out of place at " + std::to_string(offset));
  }
  table.replace(offset, bytes.size(), bytes);
}

// A zero-filled file of this many bytes with the header's fixed bytes and usual stamp.
std::string Header(std::size_t fileSize, std::string_view directory, std::string_view title,
                   std::string_view countByte) {
  std::string table(fileSize, '\0');
  Put(table, 0, 2, "\x01\x00"sv);
  Put(table, 2, 254, directory);
  Put(table, 256, 2, "\x00\x11"sv);
  Put(table, 258, 62, title);
  Put(table, 320, 2, "\x00\x00"sv);
  Put(table, 322, 19, kUsualStamp);
  Put(table, 341, 2, "\x00\x00"sv);
  Put(table, 343, 1, countByte);
  return table;
}

// Entry i (from 0) at 512 + 256 * i. The stem field is given as it stands before its zero
// fill; the size as its four bytes, most significant first.
void Entry(std::string& table, std::size_t i, std::string_view stem, std::string_view extension,
           std::string_view title, std::string_view stamp, std::string_view size) {
  const std::size_t base = 512 + 256 * i;
  Put(table, base + 0, 3, "\x01\x00\x01"sv);
  Put(table, base + 3, 8, stem);
  Put(table, base + 11, 3, extension);
  Put(table, base + 14, 2, "\x00\x11"sv);
  Put(table, base + 16, 64, title);
  Put(table, base + 80, 19, stamp);
  if (!size.empty()) Put(table, base + 100, 4, size);
}

GoldenTable ShortImageStem() {
  GoldenTable c{.name = "ShortImageStem", .kind = MediaKind::Image};
  // "ABC" in the 8-byte stem field: bytes 515..522 are 41 42 43 00 00 00 00 00.
  c.bytes =
      Header(512 + 256 * 2, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", "\x97\xB7\x8D\x73"sv, "\x02"sv);
  Entry(c.bytes, 0, "ABC", "JPG", "abc", "2005:03:03 14:07:00", "\x00\x00\x01\x2C"sv);
  Entry(c.bytes, 1, "STIL0002", "GIF", "", "2006:12:31 23:59:58", "\x00\x01\x11\x70"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\STILL\\SUD001";
  c.folderTitle = "\x97\xB7\x8D\x73";
  c.countByte = 2;
  c.entries = {{"ABC", "JPG", "abc", "2005:03:03 14:07:00", 300},
               {"STIL0002", "GIF", "", "2006:12:31 23:59:58", 70000}};
  c.committed = c.bytes;
  return c;
}

GoldenTable ShortMovieStem() {
  GoldenTable c{.name = "ShortMovieStem", .kind = MediaKind::Movie};
  // A movie stem field is 6 bytes and 2 zero bytes: "MV1" leaves bytes 518..522 zero, and
  // MOL002 fills the six with bytes 777..778 zero.
  c.bytes = Header(512 + 256 * 2, "\\SD_VIDEO\\PRL001", "\x93\xAE\x89\xE6"sv, "\x02"sv);
  Entry(c.bytes, 0, "MV1", "3GP", "movie", "2005:03:03 14:07:00", "\x00\x00\x04\xD2"sv);
  Entry(c.bytes, 1, "MOL002", "MP4", "two", "2004:02:14 00:00:00", "\x00\x00\x00\xFF"sv);
  c.directoryText = "\\SD_VIDEO\\PRL001";
  c.folderTitle = "\x93\xAE\x89\xE6";
  c.countByte = 2;
  c.entries = {{"MV1", "3GP", "movie", "2005:03:03 14:07:00", 1234},
               {"MOL002", "MP4", "two", "2004:02:14 00:00:00", 255}};
  c.committed = c.bytes;
  return c;
}

GoldenTable CountByteAboveEntries() {
  GoldenTable c{.name = "CountByteAboveEntries", .kind = MediaKind::Document};
  // Out of step with its folder: the count byte says 5 for two entries, the header carries
  // another stamp, and entry 0's size field says 4096 for a file of 2000 bytes.
  c.bytes = Header(512 + 256 * 2, "\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD001", "docs", "\x05"sv);
  Put(c.bytes, 322, 19, "2006:05:01 12:00:00");
  Entry(c.bytes, 0, "PDFDC001", "PDF", "manual", "2010:07:01 09:30:00", "\x00\x00\x10\x00"sv);
  Entry(c.bytes, 1, "PDFDC002", "PDF", "", "2010:07:02 09:30:00", "\x00\x00\x00\x0A"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD001";
  c.folderTitle = "docs";
  c.countByte = 5;
  c.entries = {{"PDFDC001", "PDF", "manual", "2010:07:01 09:30:00", 2000},
               {"PDFDC002", "PDF", "", "2010:07:02 09:30:00", 10}};
  // The program writes the count of the entries it writes, its one header stamp, and the
  // size of the file on the card.
  c.committed = c.bytes;
  Put(c.committed, 322, 19, kUsualStamp);
  Put(c.committed, 343, 1, "\x02"sv);
  Put(c.committed, 512 + 100, 4, "\x00\x00\x07\xD0"sv);
  return c;
}

GoldenTable CountByteBelowEntries() {
  GoldenTable c{.name = "CountByteBelowEntries", .kind = MediaKind::Image};
  // The count byte says 0 for one entry: the file's size decides.
  c.bytes = Header(512 + 256 * 1, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", "zero", "\x00"sv);
  Entry(c.bytes, 0, "STIL0001", "JPG", "one", "2005:03:03 14:07:00", "\x00\x00\x01\x00"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\STILL\\SUD001";
  c.folderTitle = "zero";
  c.countByte = 0;
  c.entries = {{"STIL0001", "JPG", "one", "2005:03:03 14:07:00", 256}};
  // The program writes the count right.
  c.committed = c.bytes;
  Put(c.committed, 343, 1, "\x01"sv);
  return c;
}

// 48 bytes, every one different from its neighbours, so that a shift shows.
constexpr std::string_view kTitle48 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijkl";
// 64 bytes ending in a double-byte character: no zero before the stamp at entry offset 80.
constexpr std::string_view kTitle64 =
    "0123456789abcdefghij0123456789ABCDEFGHIJ0123456789klmnopqrst\x93\xFA\x96\x7B";

GoldenTable FullTitleFields() {
  GoldenTable c{.name = "FullTitleFields", .kind = MediaKind::Image};
  c.bytes = Header(512 + 256 * 2, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", kTitle48, "\x02"sv);
  Entry(c.bytes, 0, "STIL0001", "JPG", kTitle64, "2005:03:03 14:07:00", "\x00\x0F\x42\x40"sv);
  Entry(c.bytes, 1, "STIL0002", "JPG", "0123456789", "2005:03:03 14:08:00", "\x00\x01\xA2\xB3"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\STILL\\SUD001";
  c.folderTitle = std::string(kTitle48);
  c.countByte = 2;
  c.entries = {{"STIL0001", "JPG", std::string(kTitle64), "2005:03:03 14:07:00", 1000000},
               {"STIL0002", "JPG", "0123456789", "2005:03:03 14:08:00", 107187}};
  c.committed = c.bytes;
  return c;
}

GoldenTable FolderTitleBeyondWhatIsRead() {
  GoldenTable c{.name = "FolderTitleBeyondWhatIsRead", .kind = MediaKind::Image};
  // 62 bytes fill the folder title field up to the fixed 00 00 at 320; 48 of them are read.
  constexpr std::string_view title62 =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  c.bytes = Header(512 + 256 * 1, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", title62, "\x01"sv);
  Entry(c.bytes, 0, "STIL0001", "JPG", "one", "2005:03:03 14:07:00", "\x00\x00\x00\x0A"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\STILL\\SUD001";
  c.folderTitle = std::string(title62.substr(0, 48));
  c.countByte = 1;
  c.entries = {{"STIL0001", "JPG", "one", "2005:03:03 14:07:00", 10}};
  // The program writes the title it read: bytes 306..319 ("mnopqrstuvwxyz") become zero.
  c.committed = c.bytes;
  Put(c.committed, 306, 14, std::string(14, '\0'));
  return c;
}

GoldenTable HexadecimalMovieNames() {
  GoldenTable c{.name = "HexadecimalMovieNames", .kind = MediaKind::Movie, .folder = 10};
  for (char digit = '1'; digit <= '9'; ++digit) {
    c.before.push_back(GoldenEmptyTable(std::string("\\SD_VIDEO\\PRL00") + digit, ""));
  }
  c.bytes = Header(512 + 256 * 2, "\\SD_VIDEO\\PRL00A", "\x89\xC6\x91\xB0"sv, "\x02"sv);
  Entry(c.bytes, 0, "MOL00A", "3GP", "ten", "2007:08:09 10:11:12", "\x00\x00\x13\x88"sv);
  Entry(c.bytes, 1, "MOL01F", "ASF", "", "2007:08:09 10:11:14", "\x00\x00\x00\x01"sv);
  c.directoryText = "\\SD_VIDEO\\PRL00A";
  c.folderTitle = "\x89\xC6\x91\xB0";
  c.countByte = 2;
  c.entries = {{"MOL00A", "3GP", "ten", "2007:08:09 10:11:12", 5000},
               {"MOL01F", "ASF", "", "2007:08:09 10:11:14", 1}};
  c.committed = c.bytes;
  return c;
}

GoldenTable OddSizeTail() {
  GoldenTable c{.name = "OddSizeTail", .kind = MediaKind::Image};
  // Three entries and a 100-byte tail that holds an entry up to its size field, whose file
  // is on the card: the tail is not an entry.
  c.bytes = Header(512 + 256 * 3 + 100, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", "odd", "\x03"sv);
  Entry(c.bytes, 0, "STIL0001", "JPG", "a", "2005:03:03 14:07:00", "\x00\x00\x00\x0B"sv);
  Entry(c.bytes, 1, "STIL0002", "JPG", "b", "2005:03:03 14:07:00", "\x00\x00\x00\x0C"sv);
  Entry(c.bytes, 2, "STIL0003", "JPG", "c", "2005:03:03 14:07:00", "\x00\x00\x00\x0D"sv);
  Entry(c.bytes, 3, "STIL0004", "JPG", "tail", "2005:03:03 14:07:00", "");
  c.directoryText = "\\PRIVATE\\DOCOMO\\STILL\\SUD001";
  c.folderTitle = "odd";
  c.countByte = 3;
  c.entries = {{"STIL0001", "JPG", "a", "2005:03:03 14:07:00", 11},
               {"STIL0002", "JPG", "b", "2005:03:03 14:07:00", 12},
               {"STIL0003", "JPG", "c", "2005:03:03 14:07:00", 13}};
  c.otherFiles = {{"STIL0004.JPG", 14}};
  // The program writes whole entries only: the tail is dropped.
  c.committed = c.bytes.substr(0, 512 + 256 * 3);
  return c;
}

GoldenTable ShiftJisTitles() {
  GoldenTable c{.name = "ShiftJisTitles", .kind = MediaKind::Document};
  // 書類 and the pictograph F8 9F; 日本 and F8 9F; 表ソ, whose second bytes are 5C like a
  // backslash; half-width ｱｲ and the pictograph F8 A0.
  constexpr std::string_view folderTitle = "\x8F\x91\x97\xDE\xF8\x9F";
  constexpr std::string_view title0 = "\x93\xFA\x96\x7B\xF8\x9F";
  constexpr std::string_view title1 = "\x95\x5C\x83\x5C";
  constexpr std::string_view title2 = "\xB1\xB2\xF8\xA0";
  c.bytes = Header(512 + 256 * 3, "\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD001", folderTitle, "\x03"sv);
  Entry(c.bytes, 0, "PDFDC001", "PDF", title0, "2005:03:03 14:07:00", "\x00\x00\x00\x64"sv);
  Entry(c.bytes, 1, "PDFDC002", "PDF", title1, "2005:03:04 14:07:00", "\x00\x00\x00\x65"sv);
  Entry(c.bytes, 2, "PDFDC003", "PDF", title2, "2005:03:05 14:07:00", "\x00\x00\x00\x00"sv);
  c.directoryText = "\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD001";
  c.folderTitle = std::string(folderTitle);
  c.countByte = 3;
  c.entries = {{"PDFDC001", "PDF", std::string(title0), "2005:03:03 14:07:00", 100},
               {"PDFDC002", "PDF", std::string(title1), "2005:03:04 14:07:00", 101},
               {"PDFDC003", "PDF", std::string(title2), "2005:03:05 14:07:00", 0}};
  c.committed = c.bytes;
  return c;
}

}  // namespace

std::string GoldenEmptyTable(const std::string& directoryText, const std::string& title) {
  return Header(512, directoryText, title, "\x00"sv);
}

const std::vector<GoldenTable>& GoldenTables() {
  static const std::vector<GoldenTable> tables = {
      ShortImageStem(),        ShortMovieStem(),  CountByteAboveEntries(),
      CountByteBelowEntries(), FullTitleFields(), FolderTitleBeyondWhatIsRead(),
      HexadecimalMovieNames(), OddSizeTail(),     ShiftJisTitles(),
  };
  return tables;
}

const GoldenTable& GoldenTableNamed(std::string_view name) {
  for (const GoldenTable& golden : GoldenTables()) {
    if (golden.name == name) return golden;
  }
  throw std::logic_error("no golden table " + std::string(name));
}

std::string ByteDifferences(std::string_view actual, std::string_view expected) {
  std::string text;
  if (actual.size() != expected.size()) {
    text += "size " + std::to_string(actual.size()) + " instead of " +
            std::to_string(expected.size()) + "; ";
  }
  int shown = 0;
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()) && shown < 16; ++i) {
    if (actual[i] == expected[i]) continue;
    text += "offset " + std::to_string(i) + ": " +
            std::to_string(static_cast<unsigned char>(actual[i])) + " instead of " +
            std::to_string(static_cast<unsigned char>(expected[i])) + "; ";
    ++shown;
  }
  return text;
}

}  // namespace sdmate::test
