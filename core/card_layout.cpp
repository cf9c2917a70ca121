// The naming rules of the handset's card layout.
#include "core/card_layout.h"

#include <cstdio>

namespace sdmate {
namespace {

std::string Hex3(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03X", static_cast<unsigned>(n) & 0xFFFu);
  return buffer;
}

std::string ReplaceAll(std::string text, std::string_view field, std::string_view value) {
  for (std::size_t at = text.find(field); at != std::string::npos;
       at = text.find(field, at + value.size())) {
    text.replace(at, field.size(), value);
  }
  return text;
}

}  // namespace

std::string PadNumber(std::int64_t n, int width) {
  if (width < 2 || width > 5) return {};
  if (n < 0) return std::string(static_cast<std::size_t>(width), '0');
  std::int64_t modulus = 1;
  for (int i = 0; i < width; ++i) modulus *= 10;
  std::string digits = std::to_string(n % modulus);
  return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

std::string FolderNumberText(MediaKind kind, int n) {
  return TraitsOf(kind).hexNumbers ? Hex3(n) : PadNumber(n, 3);
}

std::string FileNumberText(MediaKind kind, int p) {
  if (TraitsOf(kind).hexNumbers) return Hex3(p);
  return PadNumber(p, AreaOf(kind).width);
}

int NumberOfText(MediaKind kind, std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return -1;
  const bool hex = TraitsOf(kind).hexNumbers;
  int value = 0;
  for (char c : digits) {
    int digit = -1;
    if (IsAsciiDigit(c)) digit = c - '0';
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return -1;
    value = value * (hex ? 16 : 10) + digit;
  }
  return value;
}

std::string TablePath(char drive, MediaKind kind, int n) {
  std::string number = FolderNumberText(kind, n);
  std::string path = ReplaceAll(AreaOf(kind).tablePathTemplate, "#3F", number);
  path = ReplaceAll(std::move(path), "#3H", number);
  return CardRoot(drive) + path;
}

std::string TableFileName(MediaKind kind, int n) {
  const std::string path = TablePath('X', kind, n);
  return path.substr(path.rfind('\\') + 1);
}

std::string TableDirectory(char drive, MediaKind kind) {
  std::string path = TablePath(drive, kind, 1);
  return path.substr(0, path.rfind('\\'));
}

std::string FolderDirectoryText(MediaKind kind, int n) {
  return AreaOf(kind).dataDirectory + TraitsOf(kind).directoryPrefix + FolderNumberText(kind, n);
}

std::string CardFolderDirectory(char drive, MediaKind kind, int n) {
  return CardRoot(drive) + FolderDirectoryText(kind, n) + "\\";
}

std::string CardDataDirectory(char drive, MediaKind kind) {
  return CardRoot(drive) + AreaOf(kind).dataDirectory;
}

char CardDriveOf(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' ? UpperLetter(path[0]) : '\0';
}

std::string CardRoot(char drive) { return std::string(1, drive) + ":\\"; }

std::string DataFileStem(MediaKind kind, int p) {
  return AreaOf(kind).prefix + FileNumberText(kind, p);
}

std::string DataFileName(MediaKind kind, int p, std::string_view extension) {
  return DataFileStem(kind, p) + std::string(extension);
}

std::string DefaultFolderTitle(MediaKind kind, int n) {
  return TraitsOf(kind).directoryPrefix + PadNumber(n, 3);
}

std::string_view ExtensionOf(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string_view StemOf(std::string_view name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

const FileTypeRule* RuleFor(MediaKind kind, std::string_view name) {
  std::string extension = AsciiUpper(ExtensionOf(name));
  for (const FileTypeRule& rule : AreaOf(kind).rules) {
    if (rule.extension == extension) return &rule;
  }
  return nullptr;
}

}  // namespace sdmate
