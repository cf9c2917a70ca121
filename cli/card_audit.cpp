// The check command's reading of the card.
#include "cli/card_audit.h"

#include <set>
#include <string_view>

#include "core/card_guard.h"
#include "core/content_table.h"

namespace sdmate::cli {
namespace {

bool IsNumberText(MediaKind kind, std::string_view digits) {
  for (char c : digits) {
    bool digit = c >= '0' && c <= '9';
    bool hex = TraitsOf(kind).hexNumbers && c >= 'A' && c <= 'F';
    if (!digit && !hex) return false;
  }
  return true;
}

int NumberOf(MediaKind kind, std::string_view digits) {
  int base = TraitsOf(kind).hexNumbers ? 16 : 10;
  int value = 0;
  for (char c : digits) value = value * base + (c <= '9' ? c - '0' : c - 'A' + 10);
  return value;
}

// "SUD001", "PRL00A": a folder directory of the handset.
bool IsFolderDirectoryName(MediaKind kind, std::string_view name) {
  std::string_view prefix = TraitsOf(kind).directoryPrefix;
  return name.size() == prefix.size() + 3 && name.starts_with(prefix) &&
         IsNumberText(kind, name.substr(prefix.size()));
}

// The folder number of a table file name ("SUD004.TBL" -> 4), or 0.
int TableNumberOf(char drive, MediaKind kind, std::string_view name) {
  std::string_view prefix = TraitsOf(kind).directoryPrefix;
  if (name.size() != prefix.size() + 7 || !name.starts_with(prefix)) return 0;
  std::string_view digits = name.substr(prefix.size(), 3);
  if (!IsNumberText(kind, digits)) return 0;
  int number = NumberOf(kind, digits);
  std::string path = TablePath(drive, kind, number);
  return path.ends_with("\\" + std::string(name)) ? number : 0;
}

void AuditKind(char drive, MediaKind kind, Files& files, std::vector<Finding>& findings) {
  auto report = [&](Problem problem, std::string path, std::string detail = {}) {
    findings.push_back({kind, problem, std::move(path), std::move(detail)});
  };
  std::set<std::string> named;
  int n = 1;
  for (; n <= TraitsOf(kind).lastProbedFolder; ++n) {
    std::string table = TablePath(drive, kind, n);
    if (!files.Exists(table)) break;
    std::optional<std::string> bytes = files.ReadFile(table);
    if (!bytes) {
      report(Problem::Unreadable, table);
      continue;
    }
    std::int64_t size = static_cast<std::int64_t>(bytes->size());
    if (size < static_cast<std::int64_t>(kHeaderSize) ||
        (size - static_cast<std::int64_t>(kHeaderSize)) % kEntrySize != 0) {
      report(Problem::OddSize, table, std::to_string(size));
    }
    if (size < static_cast<std::int64_t>(kHeaderSize)) continue;
    ContentTable content = DecodeTable(kind, *bytes);
    int count = EntryCountOf(size);
    if (content.countByte != (count & 0xFF)) {
      report(Problem::CountMismatch, table,
             std::to_string(content.countByte) + " / " + std::to_string(count));
    }
    std::string directory = FolderDirectoryText(kind, n);
    if (content.directoryText != directory) {
      report(Problem::ForeignDirectory, table, content.directoryText);
      // Followed only when it is a plain path below the kind's data directory, as the load
      // does: even a read-only check must not wander off the card.
      if (IsTrustedDirectoryText(kind, content.directoryText)) directory = content.directoryText;
    }
    for (const TableEntry& entry : content.entries) {
      if (!IsPlainEntryName(entry.stem, entry.extension)) {
        report(Problem::BadName, table, entry.FileName());
        continue;
      }
      std::string path = CardRoot(drive) + directory + "\\" + entry.FileName();
      named.insert(path);
      if (files.FileSizeOf(path) < 0) report(Problem::Missing, path);
    }
  }

  // The load stops at the first missing table; anything numbered after it is never read.
  std::string tableDirectory = TableDirectory(drive, kind);
  for (const std::string& name : files.ListDirectory(tableDirectory)) {
    if (TableNumberOf(drive, kind, name) > n)
      report(Problem::AfterGap, tableDirectory + "\\" + name);
  }

  std::string data = CardDataDirectory(drive, kind);
  for (const std::string& folderName : files.ListDirectory(data)) {
    std::string folderDirectory = data + folderName;
    if (!IsFolderDirectoryName(kind, folderName) || !files.IsDirectory(folderDirectory)) continue;
    for (const std::string& name : files.ListDirectory(folderDirectory)) {
      std::string path = folderDirectory + "\\" + name;
      if (!named.contains(path) && !files.IsDirectory(path)) report(Problem::Orphan, path);
    }
  }
}

}  // namespace

std::vector<Finding> AuditCard(char drive, Files& files) {
  std::vector<Finding> findings;
  for (MediaKind kind : kAllKinds) AuditKind(drive, kind, files, findings);
  return findings;
}

const char* ProblemKey(Problem problem) {
  switch (problem) {
    case Problem::Unreadable:
      return "unreadable";
    case Problem::OddSize:
      return "oddSize";
    case Problem::CountMismatch:
      return "countMismatch";
    case Problem::ForeignDirectory:
      return "foreignDirectory";
    case Problem::BadName:
      return "badName";
    case Problem::Missing:
      return "missing";
    case Problem::AfterGap:
      return "afterGap";
    case Problem::Orphan:
      return "orphan";
  }
  return "";
}

const char* ProblemText(Problem problem) {
  switch (problem) {
    case Problem::Unreadable:
      return "テーブルを読み込めません";
    case Problem::OddSize:
      return "テーブルのサイズが 512 + 256 の倍数ではありません (バイト数)";
    case Problem::CountMismatch:
      return "ヘッダーの件数がサイズと合いません (ヘッダー / サイズから)";
    case Problem::ForeignDirectory:
      return "ヘッダーのフォルダがこのフォルダのものではありません";
    case Problem::BadName:
      return "項目の名前がファイル名ではありません";
    case Problem::Missing:
      return "項目のファイルがありません";
    case Problem::AfterGap:
      return "欠番の後のテーブルです (読み込まれません)";
    case Problem::Orphan:
      return "どのテーブルにも載っていないファイルです";
  }
  return "";
}

}  // namespace sdmate::cli
