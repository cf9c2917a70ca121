// Encoding and decoding of the handset's management tables.
#include "core/content_table.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/sjis.h"

namespace sdmate {
namespace {

// Appends text and zero bytes so that exactly width bytes are added.
void PutField(std::string& out, std::string_view text, std::size_t width) {
  text = text.substr(0, std::min(text.size(), width));
  out.append(text);
  out.append(width - text.size(), '\0');
}

// The text at offset: the bytes up to the first zero, at most maxBytes, never past the end.
std::string_view FieldAt(std::string_view bytes, std::size_t offset, std::size_t maxBytes) {
  if (offset >= bytes.size()) return {};
  std::string_view field = bytes.substr(offset, maxBytes);
  return field.substr(0, field.find('\0'));
}

std::string TextAt(std::string_view bytes, std::size_t offset, std::size_t maxBytes) {
  return std::string(FieldAt(bytes, offset, maxBytes));
}

}  // namespace

int EntryCountOf(std::int64_t fileSize) {
  if (fileSize < static_cast<std::int64_t>(kHeaderSize)) return 0;
  return static_cast<int>((fileSize - static_cast<std::int64_t>(kHeaderSize)) /
                          static_cast<std::int64_t>(kEntrySize));
}

std::string BuildTableHeader(std::string_view directoryText, std::string_view folderTitle,
                             int entryCount) {
  std::string header;
  header.reserve(kHeaderSize);
  header.append("\x01\x00", 2);
  PutField(header, directoryText, 254);
  header.append("\x00\x11", 2);
  PutField(header, CutAtCharBoundary(folderTitle, kHeaderTitleField), kHeaderTitleField);
  header.append("\x00\x00", 2);
  header.append(kHeaderStamp);
  header.append("\x00\x00", 2);
  header.push_back(static_cast<char>(static_cast<std::uint8_t>(entryCount)));
  header.append(kHeaderSize - header.size(), '\0');
  return header;
}

namespace {

// Copies text into a zero-filled field of width bytes, as much of it as fits.
void SetField(char* field, std::string_view text, std::size_t width) {
  if (text.empty()) return;  // an empty view may have no data at all
  std::memcpy(field, text.data(), std::min(text.size(), width));
}

// The entry's 256 bytes written over kEntrySize zero bytes at out.
void WriteTableEntry(char* out, MediaKind kind, std::string_view targetName, std::string_view title,
                     std::string_view stamp, std::uint32_t size) {
  const std::size_t dot = targetName.rfind('.');
  const std::string_view stem = targetName.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view{} : targetName.substr(dot + 1);
  out[0] = '\x01';
  out[2] = '\x01';
  SetField(out + 3, stem, TraitsOf(kind).stemWidth);
  SetField(out + 11, extension, 3);
  out[15] = '\x11';
  SetField(out + 16, CutAtCharBoundary(title, kEntryTitleField), kEntryTitleField);
  SetField(out + 80, stamp, kStampLength);
  out[100] = static_cast<char>((size >> 24) & 0xFF);
  out[101] = static_cast<char>((size >> 16) & 0xFF);
  out[102] = static_cast<char>((size >> 8) & 0xFF);
  out[103] = static_cast<char>(size & 0xFF);
}

}  // namespace

void AppendTableEntry(std::string& out, MediaKind kind, std::string_view targetName,
                      std::string_view title, std::string_view stamp, std::uint32_t size) {
  const std::size_t start = out.size();
  out.append(kEntrySize, '\0');
  WriteTableEntry(out.data() + start, kind, targetName, title, stamp, size);
}

bool TableEntryIs(std::string_view bytes, MediaKind kind, std::string_view targetName,
                  std::string_view title, std::string_view stamp, std::uint32_t size) {
  std::array<char, kEntrySize> entry{};
  WriteTableEntry(entry.data(), kind, targetName, title, stamp, size);
  return bytes == std::string_view(entry.data(), entry.size());
}

std::string BuildTableEntry(MediaKind kind, std::string_view targetName, std::string_view title,
                            std::string_view stamp, std::uint32_t size) {
  std::string entry;
  entry.reserve(kEntrySize);
  AppendTableEntry(entry, kind, targetName, title, stamp, size);
  return entry;
}

std::string_view HeaderTitleAt(std::string_view bytes) {
  return CutAtCharBoundary(FieldAt(bytes, 258, kHeaderTitleField), kHeaderTitleRead);
}

EntryView EntryAt(MediaKind kind, std::string_view bytes, std::size_t index) {
  const std::size_t base = kHeaderSize + kEntrySize * index;
  return {FieldAt(bytes, base + 3, TraitsOf(kind).stemWidth), FieldAt(bytes, base + 11, 3),
          FieldAt(bytes, base + 16, 64), FieldAt(bytes, base + 80, kStampLength)};
}

EntryView EntryNameAt(MediaKind kind, std::string_view bytes, std::size_t index) {
  const std::size_t base = kHeaderSize + kEntrySize * index;
  return {.stem = FieldAt(bytes, base + 3, TraitsOf(kind).stemWidth),
          .extension = FieldAt(bytes, base + 11, 3),
          .title = {},
          .stamp = {}};
}

ContentTable DecodeTableHeader(std::string_view bytes) {
  ContentTable table;
  if (bytes.size() < kHeaderSize) return table;
  table.directoryText = TextAt(bytes, 2, kHeaderDirectoryRead);
  table.folderTitle = std::string(HeaderTitleAt(bytes));
  table.countByte = static_cast<std::uint8_t>(bytes[343]);
  return table;
}

ContentTable DecodeTable(MediaKind kind, std::string_view bytes) {
  ContentTable table = DecodeTableHeader(bytes);
  const auto count =
      static_cast<std::size_t>(EntryCountOf(static_cast<std::int64_t>(bytes.size())));
  table.entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const EntryView entry = EntryAt(kind, bytes, i);
    table.entries.push_back({std::string(entry.stem), std::string(entry.extension),
                             std::string(entry.title), std::string(entry.stamp)});
  }
  return table;
}

}  // namespace sdmate
