// The handset's per-folder management table: a 512-byte header and 256-byte entries, as pure
// functions on bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_layout.h"

namespace sdmate {

inline constexpr std::size_t kHeaderSize = 512;
inline constexpr std::size_t kEntrySize = 256;
inline constexpr std::size_t kHeaderDirectoryRead = 64;
inline constexpr std::size_t kHeaderTitleRead = 48;
inline constexpr std::size_t kHeaderTitleField = 62;
inline constexpr std::size_t kEntryTitleField = 64;
inline constexpr std::size_t kStampLength = 19;
inline constexpr std::string_view kHeaderStamp = "2004:02:14 00:00:00";
// The count byte counts at most 255 entries: nothing beyond them is worth reading.
inline constexpr std::size_t kLargestTableRead = kHeaderSize + kEntrySize * 255;

// One entry as read from a table.
struct TableEntry {
  std::string stem;
  std::string extension;
  std::string title;
  std::string stamp;
  std::string FileName() const { return stem + "." + extension; }
};

// A table as read: the header's directory text and title, and the entries.
struct ContentTable {
  std::string directoryText;  // "\PRIVATE\DOCOMO\STILL\SUD001"
  std::string folderTitle;
  std::uint8_t countByte = 0;  // the header's count, which the reader does not rely on
  std::vector<TableEntry> entries;
};

// Entries that a table file of this size holds: (size - 512) / 256, never negative.
int EntryCountOf(std::int64_t fileSize);

// The 512 header bytes. The directory text is cut to its field, the title at a whole
// character to 62 bytes; the count is written as one byte.
std::string BuildTableHeader(std::string_view directoryText, std::string_view folderTitle,
                             int entryCount);

// The 256 bytes of one entry for a file named targetName ("STIL0001.JPG"). The stem is the
// part before the last dot, zero-filled to the kind's stem width; the title is cut at a whole
// character to 64 bytes.
std::string BuildTableEntry(MediaKind kind, std::string_view targetName, std::string_view title,
                            std::string_view stamp, std::uint32_t size);
// The same bytes appended to out.
void AppendTableEntry(std::string& out, MediaKind kind, std::string_view targetName,
                      std::string_view title, std::string_view stamp, std::uint32_t size);
// Whether bytes are exactly the entry BuildTableEntry would make.
bool TableEntryIs(std::string_view bytes, MediaKind kind, std::string_view targetName,
                  std::string_view title, std::string_view stamp, std::uint32_t size);

// The folder title of a table's bytes, as DecodeTable reads it.
std::string_view HeaderTitleAt(std::string_view bytes);
// The texts of entry `index` (from 0) of a table's bytes, as DecodeTable reads them, without
// copying; the entry lies within the bytes.
struct EntryView {
  std::string_view stem;
  std::string_view extension;
  std::string_view title;
  std::string_view stamp;
};
EntryView EntryAt(MediaKind kind, std::string_view bytes, std::size_t index);
// Only the name fields of an entry (stem and extension; title and stamp left empty).
EntryView EntryNameAt(MediaKind kind, std::string_view bytes, std::size_t index);

// Reads a whole table file's bytes with the handset's field widths. A trailing partial entry
// is ignored; a file shorter than the header holds no entries and no header texts. The folder
// title is read as far as 48 bytes go without cutting a character in half.
ContentTable DecodeTable(MediaKind kind, std::string_view bytes);
// The same without the entries (read them with EntryAt, EntryCountOf(bytes.size()) of them).
ContentTable DecodeTableHeader(std::string_view bytes);

}  // namespace sdmate
