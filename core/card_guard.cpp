// Lexical checks on texts read from tables and on the paths the update builds.
#include "core/card_guard.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace sdmate {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// The components of a text that begins with a separator, split as they stand.
std::vector<std::string_view> SplitComponents(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find('\\', at);
    if (end == std::string_view::npos) end = text.size();
    parts.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

}  // namespace

bool IsTrustedDirectoryText(MediaKind kind, std::string_view text) {
  if (text.empty() || text.size() > kMaxTrustedDirectoryText) return false;
  for (char c : text) {
    if (IsControl(c) || std::string_view("/:*?\"<>|").find(c) != std::string_view::npos) {
      return false;
    }
  }
  // The data directory ends with its backslash: "\PRIVATE\DOCOMO\STILL\".
  const std::string& data = AreaOf(kind).dataDirectory;
  if (data.empty() || text.size() <= data.size() || text.substr(0, data.size()) != data) {
    return false;
  }
  for (std::string_view part : SplitComponents(text.substr(data.size()))) {
    if (part.empty() || part == "." || part == "..") return false;
  }
  return true;
}

bool IsPlainEntryName(std::string_view stem, std::string_view extension) {
  // ".JPG" or "STIL0001." names no file the handset writes (and Windows drops a trailing dot).
  if (stem.empty() || extension.empty()) return false;
  // Every table entry of a load passes here: one look-up per byte.
  static const std::array<bool, 256> refused = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
      bytes[static_cast<std::size_t>(c)] = IsControl(static_cast<char>(c));
    for (char c : std::string_view("\\/.:*?\"<>|")) bytes[static_cast<unsigned char>(c)] = true;
    return bytes;
  }();
  for (std::string_view part : {stem, extension}) {
    for (char c : part) {
      if (refused[static_cast<unsigned char>(c)]) return false;
    }
  }
  return true;
}

bool IsInsideCardRoot(std::string_view path, char drive) {
  const std::string resolved = ResolvedCardPath(path);
  return UpperLetter(drive) != 0 && resolved.size() > 3 && resolved[0] == UpperLetter(drive);
}

// "E:\\A\.\B\..\C" becomes "E:\\A\C". Nothing when the text has no drive letter followed by
// ":" and a separator, climbs above the root, or holds another ":" (a second drive or a
// stream name).
std::string ResolvedCardPath(std::string_view path) {
  if (path.size() < 3 || UpperLetter(path[0]) == 0 || path[1] != ':' || !IsSeparator(path[2])) {
    return {};
  }
  std::string text = std::string(1, UpperLetter(path[0])) + ":\\";
  const std::size_t root = text.size();
  text.reserve(path.size() + 2);
  std::string_view rest = path.substr(3);
  std::size_t at = 0;
  while (at <= rest.size()) {
    std::size_t end = at;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view part = rest.substr(at, end - at);
    if (part.find(':') != std::string_view::npos) return {};
    if (part == "..") {
      if (text.size() == root) return {};
      text.resize(text.rfind('\\'));
    } else if (!part.empty() && part != ".") {
      text += '\\';
      text += part;
    }
    at = end + 1;
  }
  return text;
}

bool IsStrictlyBelow(std::string_view path, std::string_view base) {
  const std::string inner = ResolvedCardPath(path);
  const std::string outer = ResolvedCardPath(base);
  // Part by part: "E:\\A\\B" is below "E:\\A" and "E:\\", not below "E:\\AB".
  return !inner.empty() && !outer.empty() && inner.size() > outer.size() &&
         inner.starts_with(outer) && inner[outer.size()] == '\\';
}

}  // namespace sdmate
