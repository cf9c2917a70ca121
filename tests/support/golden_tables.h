// Tables as the handset and other programs leave them on a card, assembled field by field at
// their byte offsets without the program's own writer, with what a reader must find in them
// and what the program writes back.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/card_layout.h"

namespace sdmate::test {

// One entry as a reader must find it, and the size of its file on the card.
struct GoldenEntry {
  std::string stem;
  std::string extension;
  std::string title;  // Shift-JIS bytes
  std::string stamp;
  std::uint32_t size = 0;
  std::string FileName() const { return stem + "." + extension; }
};

// A file in the folder's directory that the table does not list as read.
struct GoldenFile {
  std::string name;
  std::uint32_t size = 0;
};

struct GoldenTable {
  std::string name;  // the case's name in test names
  MediaKind kind = MediaKind::Image;
  int folder = 1;
  // The table files of folders 1 .. folder - 1 (empty, well-formed), so that a load reaches it.
  std::vector<std::string> before;
  std::string bytes;  // the table file as the card holds it
  // What a reader must find.
  std::string directoryText;
  std::string folderTitle;
  std::uint8_t countByte = 0;
  std::vector<GoldenEntry> entries;
  std::vector<GoldenFile> otherFiles;
  // The table the program writes for the folder as read: the bytes themselves where the
  // program reproduces them, otherwise the bytes with the differences it makes on purpose.
  std::string committed;
};

const std::vector<GoldenTable>& GoldenTables();
const GoldenTable& GoldenTableNamed(std::string_view name);

// The table of an empty folder with this directory text and title, count byte 0.
std::string GoldenEmptyTable(const std::string& directoryText, const std::string& title);

// The first offsets where two byte strings differ, and their sizes if those differ.
std::string ByteDifferences(std::string_view actual, std::string_view expected);

inline void PrintTo(const GoldenTable& table, std::ostream* out) { *out << table.name; }

}  // namespace sdmate::test
