// The platform's file services on real folders, through card paths with a drive letter.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "platform/clock.h"
#include "platform/drive_table.h"
#include "tests/support/card_builder.h"

namespace sdmate {
namespace {

using test::ReadBytes;
using test::WriteBytes;
namespace fs = std::filesystem;

class FilesTest : public testing::Test {
 protected:
  FilesTest() { table.Assign('E', dir.path().string()); }
  test::TempDir dir;
  DriveTable table;
  std::unique_ptr<Files> files = MakeNativeFiles(table);
};

// Sets a file's modification time to a local date and time.
void SetLocalTime(const fs::path& path, int year, int month, int day, int hour, int minute,
                  int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
  fs::last_write_time(path, std::chrono::file_clock::from_sys(when));
}

TEST_F(FilesTest, SizeOfFilesThroughTheCardPath) {
  WriteBytes(dir.path() / "PRIVATE" / "a.bin", "12345");
  WriteBytes(dir.path() / "empty.bin", "");
  EXPECT_EQ(files->FileSizeOf("E:\\\\PRIVATE\\a.bin"), 5);
  EXPECT_EQ(files->FileSizeOf("E:\\empty.bin"), 0);
  EXPECT_EQ(files->FileSizeOf("E:\\\\PRIVATE\\missing.bin"), -1);
  EXPECT_EQ(files->FileSizeOf("E:\\\\PRIVATE"), -1);         // a directory is no file
  EXPECT_EQ(files->FileSizeOf("Q:\\\\PRIVATE\\a.bin"), -1);  // a letter that stands for nothing
  EXPECT_EQ(files->FileSizeOf((dir.path() / "PRIVATE" / "a.bin").string()), 5);
}

TEST_F(FilesTest, StampIsLocalTimeToTheMinute) {
  fs::path file = dir.path() / "photo.jpg";
  WriteBytes(file, "x");
  SetLocalTime(file, 2005, 3, 3, 14, 7, 31);
  EXPECT_EQ(files->FileStampText(file.string()), "2005:03:03 14:07:00");
  SetLocalTime(file, 1975, 6, 1, 12, 0, 0);
  EXPECT_EQ(files->FileStampText(file.string()), "1980:01:01 00:00:00");
  EXPECT_EQ(files->FileStampText((dir.path() / "missing").string()), "");
}

TEST_F(FilesTest, ShellDeleteRemovesAWholeTree) {
  WriteBytes(dir.path() / "SD_VIDEO" / "PRL001" / "MOL001.3GP", "m");
  WriteBytes(dir.path() / "SD_VIDEO" / "PRL001" / "sub" / "deep.bin", "d");
  WriteBytes(dir.path() / "keep.bin", "k");
  EXPECT_TRUE(files->ShellDelete("E:\\\\SD_VIDEO\\PRL001"));
  EXPECT_FALSE(fs::exists(dir.path() / "SD_VIDEO" / "PRL001"));
  EXPECT_TRUE(fs::exists(dir.path() / "SD_VIDEO"));
  EXPECT_TRUE(fs::exists(dir.path() / "keep.bin"));
  EXPECT_FALSE(files->ShellDelete("E:\\\\SD_VIDEO\\PRL001"));  // nothing left to delete
}

TEST_F(FilesTest, ShellCopyKeepsTimesAndReplaces) {
  fs::path source = dir.path() / "src" / "a.jpg";
  WriteBytes(source, "new");
  SetLocalTime(source, 2005, 3, 3, 14, 7, 31);
  WriteBytes(dir.path() / "card" / "STIL0001.JPG", "old");
  table.Assign('F', (dir.path() / "card").string());
  EXPECT_TRUE(files->ShellCopy(source.string(), "F:\\STIL0001.JPG"));
  EXPECT_EQ(ReadBytes(dir.path() / "card" / "STIL0001.JPG"), "new");
  EXPECT_EQ(files->FileStampText("F:\\STIL0001.JPG"), "2005:03:03 14:07:00");
  EXPECT_TRUE(fs::exists(source));
  EXPECT_FALSE(files->ShellCopy((dir.path() / "missing").string(), "F:\\x"));
}

// A copy to a new file never replaces what the file system holds under the name, keeps or sets
// the time, and leaves nothing behind when it cannot copy.
TEST_F(FilesTest, CopyToNewFileCreatesOnlyWhatIsNotThere) {
  const fs::path source = dir.path() / "card" / "NEC_0001.JPG";
  WriteBytes(source, "picture");
  SetLocalTime(source, 2005, 3, 3, 14, 7, 31);
  const fs::path out = dir.path() / "out";
  fs::create_directories(out);
  WriteBytes(out / "taken.jpg", "the user's");
  fs::create_directory(out / "folder.jpg");

  EXPECT_EQ(files->CopyToNewFile(source.string(), (out / "a.jpg").string(), std::nullopt),
            NewFile::Created);
  EXPECT_EQ(ReadBytes(out / "a.jpg"), "picture");
  EXPECT_EQ(fs::last_write_time(out / "a.jpg"), fs::last_write_time(source));
  const std::int64_t when = 1109826451LL * 1000000000;  // 2005-03-03 05:07:31 UTC
  EXPECT_EQ(files->CopyToNewFile(source.string(), (out / "b.jpg").string(), when),
            NewFile::Created);
  EXPECT_EQ(files->ModifiedTime((out / "b.jpg").string()), when);

  for (const char* name : {"a.jpg", "taken.jpg", "folder.jpg"}) {
    EXPECT_EQ(files->CopyToNewFile(source.string(), (out / name).string(), std::nullopt),
              NewFile::NameTaken)
        << name;
  }
  EXPECT_EQ(ReadBytes(out / "taken.jpg"), "the user's");
  EXPECT_EQ(files->CopyToNewFile((dir.path() / "missing").string(), (out / "c.jpg").string(),
                                 std::nullopt),
            NewFile::Failed);
  EXPECT_EQ(files->CopyToNewFile(source.string(), (out / "no" / "d.jpg").string(), std::nullopt),
            NewFile::Failed);
  EXPECT_EQ(test::ListTree(out), (std::vector<std::string>{"a.jpg", "b.jpg", "taken.jpg"}));
#ifndef _WIN32
  // A link under the name is an entry of that name: nothing is written through it.
  fs::create_symlink(dir.path() / "elsewhere.jpg", out / "link.jpg");
  EXPECT_EQ(files->CopyToNewFile(source.string(), (out / "link.jpg").string(), std::nullopt),
            NewFile::NameTaken);
  EXPECT_FALSE(fs::exists(dir.path() / "elsewhere.jpg"));
#endif
}

TEST(ClockTest, InstantsBecomeCalendarAndLocalTimes) {
  const LocalTime epoch = CalendarTimeOf(0);
  EXPECT_EQ(FolderStamp(epoch), "19700101-000000");
  EXPECT_EQ(FolderStamp(CalendarTimeOf(1109826451)), "20050303-050731");
  EXPECT_EQ(FolderStamp(CalendarTimeOf(-1)), "19691231-235959");
  EXPECT_EQ(FolderStamp(CalendarTimeOf(951782400)), "20000229-000000");  // a leap day
  FixedClock fixed;
  EXPECT_EQ(FolderStamp(fixed.LocalTimeOf(1109826451)), "20050303-140731");
  // The tests run in Japan's time zone, which has no summer time.
  if (const char* zone = std::getenv("TZ"); zone != nullptr && std::string(zone) == "Asia/Tokyo") {
    EXPECT_EQ(FolderStamp(MakeSystemClock()->LocalTimeOf(1109826451)), "20050303-140731");
  }
}

TEST_F(FilesTest, ShellCopyOfAFileOntoItselfKeepsItsBytes) {
  // A file of the card added to the card under the name it already has: the copy's source and
  // target are one file, once as a path of the computer and once as a card path.
  fs::path file = dir.path() / "PRIVATE" / "DOCOMO" / "STILL" / "SUD001" / "STIL0002.JPG";
  WriteBytes(file, "picture");
  files->ShellCopy(file.string(), "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG");
  EXPECT_EQ(ReadBytes(file), "picture");
  files->ShellCopy("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0002.JPG", file.string());
  EXPECT_EQ(ReadBytes(file), "picture");
}

TEST_F(FilesTest, ShellCopyOfATreeMergesIntoTheTarget) {
  WriteBytes(dir.path() / "PRIVATE" / "DOCOMO" / "a.tbl", "a");
  WriteBytes(dir.path() / "PRIVATE" / "b.bin", "b");
  fs::path backup = dir.path() / "backup";
  EXPECT_TRUE(files->ShellCopy("E:\\\\PRIVATE", (backup / "PRIVATE").string()));
  EXPECT_EQ(ReadBytes(backup / "PRIVATE" / "DOCOMO" / "a.tbl"), "a");
  EXPECT_EQ(ReadBytes(backup / "PRIVATE" / "b.bin"), "b");
  EXPECT_TRUE(files->ShellCopy("E:\\\\PRIVATE", (backup / "PRIVATE").string()));  // again
  EXPECT_FALSE(fs::exists(backup / "PRIVATE" / "PRIVATE"));
}

TEST_F(FilesTest, ShellMoveRenamesAndCreatesTheTargetDirectory) {
  WriteBytes(dir.path() / "SUD002" / "STIL0001.JPG", "one");
  WriteBytes(dir.path() / "SUD001" / "STIL0001.JPG", "stale");
  EXPECT_TRUE(files->ShellMove("E:\\SUD002\\STIL0001.JPG", "E:\\SUD001\\STIL0001.JPG"));
  EXPECT_EQ(ReadBytes(dir.path() / "SUD001" / "STIL0001.JPG"), "one");
  EXPECT_FALSE(fs::exists(dir.path() / "SUD002" / "STIL0001.JPG"));
  EXPECT_TRUE(files->ShellMove("E:\\SUD001\\STIL0001.JPG", "E:\\NEW\\DIR\\X.JPG"));
  EXPECT_EQ(ReadBytes(dir.path() / "NEW" / "DIR" / "X.JPG"), "one");
  EXPECT_FALSE(files->ShellMove("E:\\SUD001\\STIL0001.JPG", "E:\\Y.JPG"));
}

TEST_F(FilesTest, WriteReplacingLeavesNoTemporaryAndKeepsTheOldFileOnFailure) {
  EXPECT_TRUE(files->MakeDirectories("E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\"));
  EXPECT_TRUE(files->WriteFileReplacing("E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL", "v1"));
  EXPECT_TRUE(files->WriteFileReplacing("E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL", "v2"));
  EXPECT_EQ(files->ListDirectory("E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL"),
            std::vector<std::string>{"SUD001.TBL"});
  EXPECT_EQ(*files->ReadFile("E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL"), "v2");
  EXPECT_FALSE(files->WriteFileReplacing("E:\\\\NO\\SUCH\\DIR\\X.TBL", "v"));
  EXPECT_FALSE(files->ReadFile("E:\\\\NO\\SUCH\\DIR\\X.TBL").has_value());
  EXPECT_TRUE(files->IsDirectory("E:\\\\PRIVATE\\DOCOMO"));
  EXPECT_FALSE(files->Exists("E:\\\\NO"));
}

// One listing gives every entry of a folder, sorted, with each file's size and time as the file
// itself gives them; a folder that is not there cannot be listed.
TEST_F(FilesTest, ListFilesGivesSizesAndTimesOfAFolderInOneListing) {
  WriteBytes(dir.path() / "SUD001" / "STIL0002.JPG", "second");
  WriteBytes(dir.path() / "SUD001" / "STIL0001.JPG", "one");
  fs::create_directories(dir.path() / "SUD001" / "INNER");
  for (const char* folder : {"E:\\SUD001", "E:\\SUD001\\"}) {
    const auto entries = files->ListFiles(folder);
    ASSERT_TRUE(entries.has_value()) << folder;
    ASSERT_EQ(entries->size(), 3U);
    EXPECT_EQ((*entries)[0].name, "INNER");
    EXPECT_EQ((*entries)[0].type, DirectoryEntry::Type::Directory);
    EXPECT_EQ((*entries)[1].name, "STIL0001.JPG");
    EXPECT_EQ((*entries)[1].type, DirectoryEntry::Type::File);
    EXPECT_EQ((*entries)[1].size, 3);
    EXPECT_EQ((*entries)[1].modified, files->ModifiedTime("E:\\SUD001\\STIL0001.JPG"));
    EXPECT_EQ((*entries)[2].name, "STIL0002.JPG");
    EXPECT_EQ((*entries)[2].size, 6);
  }
  EXPECT_FALSE(files->ListFiles("E:\\NO\\SUCH").has_value());
  EXPECT_FALSE(files->ListFiles("E:\\SUD001\\STIL0001.JPG").has_value());
}

// A full folder is listed whole: every one of its files, each with its own size.
TEST_F(FilesTest, ListFilesGivesEveryFileOfAFullFolder) {
  for (int p = 1; p <= 128; ++p) {
    WriteBytes(dir.path() / "FULL" / ("STIL" + std::to_string(1000 + p) + ".JPG"),
               std::string(static_cast<std::size_t>(p), 'x'));
  }
  const auto entries = files->ListFiles("E:\\FULL");
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 128U);
  for (std::size_t i = 0; i < entries->size(); ++i) {
    EXPECT_EQ((*entries)[i].name, "STIL" + std::to_string(1001 + i) + ".JPG");
    EXPECT_EQ((*entries)[i].type, DirectoryEntry::Type::File);
    EXPECT_EQ((*entries)[i].size, static_cast<std::int64_t>(i + 1));
  }
}

// Whatever order the files were made in (the order many file systems list them in, or its
// reverse), both listings give the names sorted.
TEST_F(FilesTest, ListingsAreSortedWhateverOrderTheFilesWereMadeIn) {
  const std::vector<std::pair<std::string, std::function<int(int)>>> orders = {
      {"UP", [](int i) { return i; }},
      {"DOWN", [](int i) { return 39 - i; }},
      {"MIXED", [](int i) { return (i * 17) % 40; }}};
  for (const auto& [folder, order] : orders) {
    for (int i = 0; i < 40; ++i) {
      WriteBytes(dir.path() / folder / ("F" + std::to_string(100 + order(i)) + ".BIN"), "x");
    }
    const auto entries = files->ListFiles("E:\\" + folder);
    const auto names = files->ListDirectory("E:\\" + folder);
    ASSERT_TRUE(entries.has_value() && names.has_value()) << folder;
    ASSERT_EQ(entries->size(), 40U);
    ASSERT_EQ(names->size(), 40U);
    for (std::size_t i = 0; i < 40; ++i) {
      EXPECT_EQ((*entries)[i].name, "F" + std::to_string(100 + i) + ".BIN") << folder;
      EXPECT_EQ((*names)[i], (*entries)[i].name) << folder;
    }
  }
}

TEST_F(FilesTest, PathsLongerThan260CharactersAreCopiedMovedAndDeleted) {
  std::string deep = "E:\\";
  for (int i = 0; i < 12; ++i) deep += "\\" + std::string(24, static_cast<char>('a' + i));
  ASSERT_GT(deep.size(), 300u);
  ASSERT_TRUE(files->MakeDirectories(deep));
  ASSERT_TRUE(files->WriteFileReplacing(deep + "\\file.bin", "long"));
  EXPECT_EQ(files->FileSizeOf(deep + "\\file.bin"), 4);
  EXPECT_TRUE(files->ShellCopy(deep + "\\file.bin", deep + "\\copy.bin"));
  EXPECT_EQ(files->ReadFile(deep + "\\copy.bin").value_or(""), "long");
  EXPECT_TRUE(files->ShellMove(deep + "\\copy.bin", deep + "\\moved.bin"));
  EXPECT_FALSE(files->Exists(deep + "\\copy.bin"));
  EXPECT_TRUE(files->ShellCopy("E:\\aaaaaaaaaaaaaaaaaaaaaaaa", "E:\\tree"));
  EXPECT_TRUE(files->Exists("E:\\tree" + deep.substr(deep.find('b') - 1) + "\\moved.bin"));
  EXPECT_TRUE(files->ShellDelete("E:\\aaaaaaaaaaaaaaaaaaaaaaaa"));
  EXPECT_FALSE(files->Exists(deep));
}

#ifndef _WIN32
// Paths of the computer are told apart from the card's own files under other spellings: through
// a link to the card's folder, a link to one of its files, or the card's native path itself.
TEST_F(FilesTest, PathsOfTheComputerAreResolvedOntoTheCardTogether) {
  test::TempDir computer;
  WriteBytes(dir.path() / "PRIVATE" / "A.JPG", "card");
  WriteBytes(computer.path() / "photos" / "own.jpg", "own");
  fs::create_directory_symlink(dir.path() / "PRIVATE", computer.path() / "card-folder");
  fs::create_symlink(dir.path() / "PRIVATE" / "A.JPG", computer.path() / "photos" / "link.jpg");
  const std::vector<std::string> paths = {(computer.path() / "photos" / "own.jpg").string(),
                                          (computer.path() / "photos" / "link.jpg").string(),
                                          (computer.path() / "card-folder" / "A.JPG").string(),
                                          (dir.path() / "PRIVATE" / "." / "A.JPG").string(),
                                          (computer.path() / "photos" / "missing.jpg").string()};
  const std::vector<std::optional<std::string>> all = files->ResolveAllOnDrive(paths);
  ASSERT_EQ(all.size(), paths.size());
  EXPECT_EQ(all[0], std::nullopt);
  EXPECT_EQ(all[1], "E:\\\\PRIVATE\\A.JPG");
  EXPECT_EQ(all[2], "E:\\\\PRIVATE\\A.JPG");
  EXPECT_EQ(all[3], "E:\\\\PRIVATE\\A.JPG");
  EXPECT_EQ(all[4], std::nullopt);
  // One at a time, the same answers.
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(files->ResolveOnDrive(paths[i]), all[i]) << paths[i];
  }
}
#endif

}  // namespace
}  // namespace sdmate
