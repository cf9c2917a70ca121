// The card check on real card trees: each problem it finds, with the card path and the detail it
// names, cards it finds nothing wrong with, and a card it leaves exactly as it was.
#include "card/card_check.h"

#include <gtest/gtest.h>

#include "core/content_table.h"
#include "tests/support/card_rig.h"
#include "tests/support/content_bytes.h"

namespace sdmate::test {
namespace {

constexpr MediaKind kImage = MediaKind::Image;
constexpr MediaKind kMovie = MediaKind::Movie;
constexpr MediaKind kDocument = MediaKind::Document;

const char* KindWord(MediaKind kind) {
  switch (kind) {
    case MediaKind::Image:
      return "image";
    case MediaKind::Movie:
      return "movie";
    case MediaKind::Document:
      return "document";
  }
  return "?";
}

const char* ProblemWord(Problem problem) {
  switch (problem) {
    case Problem::Unreadable:
      return "unreadable";
    case Problem::OddSize:
      return "odd size";
    case Problem::CountMismatch:
      return "count mismatch";
    case Problem::ForeignDirectory:
      return "foreign directory";
    case Problem::BadName:
      return "bad name";
    case Problem::Missing:
      return "missing";
    case Problem::AfterGap:
      return "after gap";
    case Problem::Orphan:
      return "orphan";
    case Problem::Temporary:
      return "temporary";
  }
  return "?";
}

// One finding as a line: kind, problem, card path and detail, for exact and readable assertions.
std::string Line(MediaKind kind, Problem problem, const std::string& path,
                 const std::string& detail = {}) {
  std::string line = std::string(KindWord(kind)) + " " + ProblemWord(problem) + " " + path;
  if (!detail.empty()) line += " [" + detail + "]";
  return line;
}

std::vector<std::string> Check(CardRig& rig) {
  std::vector<std::string> lines;
  for (const Finding& finding : CheckCard(CardRig::kDrive, rig.files)) {
    lines.push_back(Line(finding.kind, finding.problem, finding.path, finding.detail));
  }
  return lines;
}

// The card paths the findings name.
const std::string kStillTables = R"(E:\\PRIVATE\DOCOMO\TABLE\STILL\)";
const std::string kStill = R"(E:\\PRIVATE\DOCOMO\STILL\)";

std::string Table(MediaKind kind, int n) { return TablePath(CardRig::kDrive, kind, n); }

TEST(CardCheckTest, CardWithoutTablesHasNoFindings) {
  CardRig rig;
  rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  EXPECT_EQ(Check(rig), std::vector<std::string>{});
}

TEST(CardCheckTest, CardAsTheHandsetLeavesItHasNoFindings) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", Stills({1, 2, 3}));
  rig.card.Folder(kImage, 2, "two", {});
  rig.card.Folder(kImage, 3, "three", Stills({7}));
  // Movie folders and files are numbered in hexadecimal: folder 10 is PRL00A.
  for (int n = 1; n <= 10; ++n) rig.card.Folder(kMovie, n, "m", {});
  rig.card.Folder(kMovie, 10, "ten", {{.name = "MOL00A.3GP"}, {.name = "MOL00B.3GP"}});
  rig.card.Folder(kDocument, 1, "d", {{.name = "PDFDC001.PDF"}});
  // What lies beside the folders is none of the check's business: the camera's pictures, files
  // and folders in a data directory that are not folder directories, a folder inside a folder.
  rig.card.File("DCIM/100NEC/NEC_0001.JPG", "camera");
  rig.card.File("PRIVATE/DOCOMO/STILL/STIL0009.JPG", "loose");
  rig.card.File("PRIVATE/DOCOMO/STILL/MINE/STIL0009.JPG", "mine");
  rig.card.Directory("PRIVATE/DOCOMO/STILL/SUD001/INNER");
  EXPECT_EQ(Check(rig), std::vector<std::string>{});
}

TEST(CardCheckTest, CardTheSessionCommittedHasNoFindings) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", Stills({1, 2, 3}));
  rig.card.Folder(kImage, 2, "two", Stills({1}));
  rig.card.Folder(kImage, 3, "three", Stills({4}));
  rig.card.Folder(kMovie, 1, "m", {{.name = "MOL001.3GP"}, {.name = "MOL002.3GP"}});
  ASSERT_TRUE(rig.Load().loaded);
  ASSERT_TRUE(rig.session.DeleteItem(kImage, 1, 3).changed);
  ASSERT_TRUE(rig.session.MoveItemDown(kImage, 1, 1).changed);
  ASSERT_TRUE(rig.DeleteFolder(kImage, 2).deleted);
  ASSERT_TRUE(rig.session.DeleteItem(kMovie, 1, 1).changed);
  ASSERT_EQ(rig.AddFiles(kDocument, 1, {rig.ComputerFile("new.pdf", PdfBytes(300))}).staged, 1);
  ExpectCompleted(rig, rig.Update());
  EXPECT_EQ(Check(rig), std::vector<std::string>{});
}

TEST(CardCheckTest, TableThatCannotBeReadIsNamedAndTheTablesAfterItAreChecked) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", Stills({1}));
  rig.card.Directory("PRIVATE/DOCOMO/TABLE/STILL/SUD002.TBL");
  rig.card.Folder(kImage, 3, "three", {{.name = "STIL0001.JPG", .writeFile = false}});
  EXPECT_EQ(Check(rig), (std::vector<std::string>{
                            Line(kImage, Problem::Unreadable, kStillTables + "SUD002.TBL"),
                            Line(kImage, Problem::Missing, kStill + R"(SUD003\STIL0001.JPG)"),
                        }));
}

TEST(CardCheckTest, TableSizesThatAreNoWholeEntriesAreReportedWithTheSize) {
  CardRig rig;
  // A header with a partial entry behind it; the count byte agrees with the whole entries.
  rig.card.RawTable(kImage, 1,
                    BuildTableHeader(FolderDirectoryText(kImage, 1), "one", 0) + "partial");
  // Shorter than a header: nothing else is read from it.
  rig.card.RawTable(kImage, 2, std::string(100, 'x'));
  // A header alone is a folder without items.
  rig.card.RawTable(kImage, 3, BuildTableHeader(FolderDirectoryText(kImage, 3), "three", 0));
  EXPECT_EQ(Check(rig), (std::vector<std::string>{
                            Line(kImage, Problem::OddSize, kStillTables + "SUD001.TBL", "519"),
                            Line(kImage, Problem::OddSize, kStillTables + "SUD002.TBL", "100"),
                        }));
}

TEST(CardCheckTest, CountByteThatDisagreesWithTheSizeIsReportedWithBoth) {
  CardRig rig;
  rig.card.File("SD_VIDEO/PRL001/MOL001.3GP", "m");
  rig.card.RawTable(kMovie, 1,
                    BuildTableHeader(FolderDirectoryText(kMovie, 1), "m", 5) +
                        BuildTableEntry(kMovie, "MOL001.3GP", "m", kHeaderStamp, 1));
  EXPECT_EQ(Check(rig), std::vector<std::string>{
                            Line(kMovie, Problem::CountMismatch, Table(kMovie, 1), "5 / 1")});
}

// A header naming another folder's directory is followed as the load follows it: its files are
// looked up there, and the other folder's files are named by it.
TEST(CardCheckTest, HeaderNamingAnotherFoldersDirectoryIsReportedAndFollowed) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", {{.name = "STIL0009.JPG"}}, R"(\PRIVATE\DOCOMO\STILL\SUD002)");
  rig.card.Folder(kImage, 2, "two", Stills({1}));
  EXPECT_EQ(Check(rig), std::vector<std::string>{Line(kImage, Problem::ForeignDirectory,
                                                      kStillTables + "SUD001.TBL",
                                                      R"(\PRIVATE\DOCOMO\STILL\SUD002)")});
}

// A header naming a place the load does not trust is not followed, not even to read: the entries
// are looked up in the folder's own directory.
TEST(CardCheckTest, HeaderNamingAPlaceOutsideIsReportedAndNotFollowed) {
  for (const std::string header : {R"(\)", R"(\..\outside)", R"(\PRIVATE\DOCOMO\STILL)", ""}) {
    SCOPED_TRACE("header '" + header + "'");
    CardRig rig;
    rig.card.Folder(kImage, 1, "one", {{.name = "STIL0001.JPG"}}, header);
    EXPECT_EQ(Check(rig),
              (std::vector<std::string>{
                  Line(kImage, Problem::ForeignDirectory, kStillTables + "SUD001.TBL", header),
                  Line(kImage, Problem::Missing, kStill + R"(SUD001\STIL0001.JPG)"),
              }));
  }
}

TEST(CardCheckTest, EntriesThatAreNoFileNamesAreReportedByTheirTable) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "i",
                  {{.name = "STIL0001.JPG"},
                   {.name = R"(..\..\AB.JPG)"},
                   {.name = "ST:L0002.JPG", .writeFile = false},
                   {.name = "STIL0003.J*G", .writeFile = false}});
  ASSERT_TRUE(fs::exists(rig.Native("PRIVATE/DOCOMO/AB.JPG")));
  EXPECT_EQ(Check(rig),
            (std::vector<std::string>{
                Line(kImage, Problem::BadName, kStillTables + "SUD001.TBL", R"(..\..\AB.JPG)"),
                Line(kImage, Problem::BadName, kStillTables + "SUD001.TBL", "ST:L0002.JPG"),
                Line(kImage, Problem::BadName, kStillTables + "SUD001.TBL", "STIL0003.J*G"),
            }));
}

TEST(CardCheckTest, EntryWithoutItsFileIsReportedByTheFilesPath) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "i",
                  {{.name = "STIL0001.JPG"}, {.name = "STIL0002.JPG", .writeFile = false}});
  // A folder by the entry's name is no file either.
  rig.card.Folder(kDocument, 1, "d", {{.name = "PDFDC001.PDF", .writeFile = false}});
  rig.card.Directory("PRIVATE/DOCOMO/DOCUMENT/PUD001/PDFDC001.PDF");
  EXPECT_EQ(
      Check(rig),
      (std::vector<std::string>{
          Line(kImage, Problem::Missing, kStill + R"(SUD001\STIL0002.JPG)"),
          Line(kDocument, Problem::Missing, R"(E:\\PRIVATE\DOCOMO\DOCUMENT\PUD001\PDFDC001.PDF)"),
      }));
}

// The load stops at the first missing table: a table numbered after it is never read, and the
// files in its folder are named by no table that is.
// The files such a table names are its own (a repair takes them in with it), no orphans.
TEST(CardCheckTest, TablesAfterTheFirstGapAreReportedAndTheirFilesAreTheirs) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", Stills({1}));
  rig.card.Folder(kImage, 2, "two", {});
  rig.card.Folder(kImage, 4, "four", Stills({1}));
  // Movies count in hexadecimal: PRL00A is missing, PRL00B and PRL010 (16) come after it.
  for (int n = 1; n <= 9; ++n) rig.card.Folder(kMovie, n, "m", {});
  rig.card.Folder(kMovie, 11, "eleven", {});
  rig.card.Folder(kMovie, 16, "sixteen", {});
  // Other files in the table directories are not tables.
  rig.card.File("PRIVATE/DOCOMO/TABLE/STILL/SUD005.TBL.new", "leftover");
  rig.card.File("PRIVATE/DOCOMO/TABLE/STILL/SUD5.TBL", "short");
  const std::string movieTables = R"(E:\\PRIVATE\DOCOMO\TABLE\SD_VIDEO\)";
  EXPECT_EQ(Check(rig), (std::vector<std::string>{
                            Line(kImage, Problem::AfterGap, kStillTables + "SUD004.TBL"),
                            Line(kMovie, Problem::AfterGap, movieTables + "PRL00B.TBL"),
                            Line(kMovie, Problem::AfterGap, movieTables + "PRL010.TBL"),
                        }));
}

TEST(CardCheckTest, FilesInAFolderDirectoryThatNoTableNamesAreOrphans) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one", Stills({1}));
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "stray");
  // A folder directory without a table at all.
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD007/STIL0001.JPG", "lost");
  rig.card.Folder(kMovie, 1, "m", {{.name = "MOL001.3GP"}});
  rig.card.File("SD_VIDEO/PRL001/MOL002.3GP", "stray");
  rig.card.Folder(kDocument, 1, "d", {});
  rig.card.File("PRIVATE/DOCOMO/DOCUMENT/PUD001/PDFDC001.PDF", "stray");
  EXPECT_EQ(
      Check(rig),
      (std::vector<std::string>{
          Line(kImage, Problem::Orphan, kStill + R"(SUD001\STIL0009.JPG)"),
          Line(kImage, Problem::Orphan, kStill + R"(SUD007\STIL0001.JPG)"),
          Line(kMovie, Problem::Orphan, R"(E:\\SD_VIDEO\PRL001\MOL002.3GP)"),
          Line(kDocument, Problem::Orphan, R"(E:\\PRIVATE\DOCOMO\DOCUMENT\PUD001\PDFDC001.PDF)"),
      }));
}

// Every entry under root: files with their bytes, folders marked, each with its time.
std::map<std::string, std::string> Everything(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string value = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    value += " @" + std::to_string(entry.last_write_time().time_since_epoch().count());
    entries[fs::relative(entry.path(), root).generic_string()] = value;
  }
  return entries;
}

TEST(CardCheckTest, CheckWritesNothingOnACardWithEveryKindOfDamage) {
  CardRig rig;
  rig.card.Folder(kImage, 1, "one",
                  {{.name = "STIL0001.JPG"}, {.name = "STIL0002.JPG", .writeFile = false}},
                  R"(\PRIVATE\DOCOMO\STILL\SUD002)");
  rig.card.RawTable(kImage, 2,
                    BuildTableHeader(FolderDirectoryText(kImage, 2), "two", 0) + "partial");
  rig.card.Directory("PRIVATE/DOCOMO/TABLE/STILL/SUD003.TBL");
  rig.card.Folder(kImage, 5, "five", {});
  rig.card.Folder(kMovie, 1, "m", {{.name = R"(..\M.3GP)"}}, R"(\..\outside)");
  rig.card.RawTable(kDocument, 1,
                    BuildTableHeader(FolderDirectoryText(kDocument, 1), "d", 9) +
                        BuildTableEntry(kDocument, "PDFDC001.PDF", "d", kHeaderStamp, 1));
  rig.card.File("PRIVATE/DOCOMO/DOCUMENT/PUD001/PDFDC001.PDF", "d");
  rig.card.File("PRIVATE/DOCOMO/STILL/SUD001/STIL0009.JPG", "stray");
  rig.card.Directory("SD_VIDEO/PRL002");
  const auto before = Everything(rig.base());
  // Every operation that would change the card fails, and is counted.
  rig.files.failAt = 1;
  rig.files.failFrom = true;

  const std::vector<std::string> findings = Check(rig);
  EXPECT_EQ(findings.size(), 9u) << testing::PrintToString(findings);
  EXPECT_EQ(rig.files.operations, 0);
  EXPECT_EQ(Everything(rig.base()), before);
}

}  // namespace
}  // namespace sdmate::test
