// The card check's reading of the card, on the load's own probing of the tables.
#include "card/card_check.h"

#include <set>
#include <string_view>

#include "card/table_probe.h"
#include "core/card_guard.h"
#include "core/content_table.h"

namespace sdmate {
namespace {

void CheckKind(char drive, MediaKind kind, CardListings& listings, std::vector<Finding>& findings) {
  Files& files = listings.files();
  auto report = [&](Problem problem, std::string path, std::string detail = {}) {
    findings.push_back({kind, problem, std::move(path), std::move(detail)});
  };
  // Names of tables the load never reads (after the gap): their files are no orphans either.
  std::set<std::string> named;
  const int gap = ProbeTables(drive, kind, files, [&](const FoundTable& found) {
    if (!found.bytes) {
      report(Problem::Unreadable, found.path);
      return true;
    }
    const std::int64_t size = static_cast<std::int64_t>(found.bytes->size());
    if (size < static_cast<std::int64_t>(kHeaderSize) ||
        (size - static_cast<std::int64_t>(kHeaderSize)) % kEntrySize != 0) {
      report(Problem::OddSize, found.path, std::to_string(size));
    }
    if (size < static_cast<std::int64_t>(kHeaderSize)) return true;
    const ContentTable content = DecodeTable(kind, *found.bytes);
    const int count = EntryCountOf(size);
    if (content.countByte != (count & 0xFF)) {
      report(Problem::CountMismatch, found.path,
             std::to_string(content.countByte) + " / " + std::to_string(count));
    }
    if (content.directoryText != FolderDirectoryText(kind, found.number)) {
      report(Problem::ForeignDirectory, found.path, content.directoryText);
    }
    // Followed only where the load follows it: even a read-only check must not wander off the
    // card.
    const std::string directory = FilesDirectoryOf(drive, kind, found.number, content).directory;
    for (const TableEntry& entry : content.entries) {
      if (!IsPlainEntryName(entry.stem, entry.extension)) {
        report(Problem::BadName, found.path, entry.FileName());
        continue;
      }
      if (listings.SizeOf(directory, entry.FileName()) < 0) {
        report(Problem::Missing, directory + entry.FileName());
      }
    }
    return true;
  });

  // The load stops at the first missing table; anything numbered after it is never read. Its
  // files are that table's, no orphans.
  const std::string tableDirectory = TableDirectory(drive, kind);
  for (const std::string& name :
       files.ListDirectory(tableDirectory).value_or(std::vector<std::string>{})) {
    const int number = TableNumberOf(kind, name);
    if (number <= gap) continue;
    const std::string path = tableDirectory + "\\" + name;
    report(Problem::AfterGap, path);
    if (auto bytes = files.ReadFile(path, kLargestTableRead)) {
      const ContentTable content = DecodeTable(kind, *bytes);
      const std::string directory = FilesDirectoryOf(drive, kind, number, content).directory;
      for (const TableEntry& entry : content.entries) named.insert(directory + entry.FileName());
    }
  }

  const std::string data = CardDataDirectory(drive, kind);
  for (const std::string& folderName :
       files.ListDirectory(data).value_or(std::vector<std::string>{})) {
    const std::string folderDirectory = data + folderName;
    const std::string upper = AsciiUpper(folderName);
    if (upper.starts_with("~SDM") && upper.ends_with(".TMP")) {
      report(Problem::Temporary, folderDirectory);
      continue;
    }
    if (!IsFolderDirectoryName(kind, folderName)) continue;
    // The listing the tables' names were looked up in; a name a table gave is no orphan, in
    // whichever case the card spells it.
    const std::vector<DirectoryEntry>* entries = listings.EntriesOf(folderDirectory);
    if (entries == nullptr) continue;
    for (std::size_t i = 0; i < entries->size(); ++i) {
      const DirectoryEntry& entry = (*entries)[i];
      const std::string path = folderDirectory + "\\" + entry.name;
      if (entry.type != DirectoryEntry::Type::Directory && !listings.Named(folderDirectory, i) &&
          !named.contains(path)) {
        report(Problem::Orphan, path);
      }
    }
  }
}

}  // namespace

std::vector<Finding> CheckCard(char drive, Files& files) {
  CardListings listings(files);
  return CheckCard(drive, listings);
}

std::vector<Finding> CheckCard(char drive, CardListings& listings) {
  std::vector<Finding> findings;
  for (MediaKind kind : kAllKinds) CheckKind(drive, kind, listings, findings);
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
    case Problem::Temporary:
      return "temporary";
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
    case Problem::Temporary:
      return "途中で終わった更新の一時ファイルです (「元に戻す」で片付きます)";
  }
  return "";
}

}  // namespace sdmate
