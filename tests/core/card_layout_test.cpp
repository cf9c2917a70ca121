// Names and paths of the handset's card layout.
#include "core/card_layout.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

TEST(PadNumber, WidthsModuloAndNegatives) {
  EXPECT_EQ(PadNumber(7, 3), "007");
  EXPECT_EQ(PadNumber(1234, 3), "234");
  EXPECT_EQ(PadNumber(10000, 4), "0000");
  EXPECT_EQ(PadNumber(-5, 4), "0000");
  EXPECT_EQ(PadNumber(-1, 2), "00");
  EXPECT_EQ(PadNumber(123456, 5), "23456");
  EXPECT_EQ(PadNumber(5, 6), "");
  EXPECT_EQ(PadNumber(5, 1), "");
}

struct NamingCase {
  MediaKind kind;
  int number;
  const char* table;
  const char* folderDirectory;
  const char* fileName;
  const char* defaultTitle;
};

class Naming : public testing::TestWithParam<NamingCase> {};

TEST_P(Naming, TablesFoldersAndFiles) {
  const NamingCase& c = GetParam();
  EXPECT_EQ(TablePath('E', c.kind, c.number), c.table);
  EXPECT_EQ(CardFolderDirectory('E', c.kind, c.number), c.folderDirectory);
  EXPECT_EQ(DataFileName(c.kind, c.number, ".X"), c.fileName);
  EXPECT_EQ(DefaultFolderTitle(c.kind, c.number), c.defaultTitle);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, Naming,
    testing::Values(
        NamingCase{MediaKind::Image, 1, "E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD001.TBL",
                   "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\", "STIL0001.X", "SUD001"},
        NamingCase{MediaKind::Image, 10, "E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL\\SUD010.TBL",
                   "E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD010\\", "STIL0010.X", "SUD010"},
        NamingCase{MediaKind::Movie, 10, "E:\\\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO\\PRL00A.TBL",
                   "E:\\\\SD_VIDEO\\PRL00A\\", "MOL00A.X", "PRL010"},
        NamingCase{MediaKind::Movie, 255, "E:\\\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO\\PRL0FF.TBL",
                   "E:\\\\SD_VIDEO\\PRL0FF\\", "MOL0FF.X", "PRL255"},
        NamingCase{MediaKind::Document, 4, "E:\\\\PRIVATE\\DOCOMO\\TABLE\\DOCUMENT\\PUD004.TBL",
                   "E:\\\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD004\\", "PDFDC004.X", "PUD004"}));

TEST(CardLayout, DirectoriesOfAKind) {
  EXPECT_EQ(TableDirectory('E', MediaKind::Image), "E:\\\\PRIVATE\\DOCOMO\\TABLE\\STILL");
  EXPECT_EQ(TableDirectory('F', MediaKind::Movie), "F:\\\\PRIVATE\\DOCOMO\\TABLE\\SD_VIDEO");
  EXPECT_EQ(CardDataDirectory('E', MediaKind::Movie), "E:\\\\SD_VIDEO\\");
  EXPECT_EQ(FolderDirectoryText(MediaKind::Image, 1), "\\PRIVATE\\DOCOMO\\STILL\\SUD001");
}

TEST(HandsetProfile, FiveAreasAsTheHandsetDefinesThem) {
  HandsetProfile profile = N901iSProfile();
  const ContentArea& ring = profile.area(AreaIndex::RingTone);
  EXPECT_EQ(ring.tablePathTemplate, "\\PRIVATE\\DOCOMO\\TABLE\\RINGER\\RUD#3F.TBL");
  ASSERT_EQ(ring.rules.size(), 3u);
  EXPECT_EQ(ring.rules[2].extension, ".SMF");
  EXPECT_EQ(ring.rules[2].maxBytes, 40960);
  const ContentArea& camera = profile.area(AreaIndex::CameraPicture);
  EXPECT_EQ(camera.dataDirectory, "\\DCIM\\#3FNECDT\\");
  EXPECT_EQ(camera.prefix, "NEC_");
  const ContentArea& movie = profile.area(AreaIndex::Movie);
  ASSERT_EQ(movie.rules.size(), 5u);
  for (const FileTypeRule& rule : movie.rules) EXPECT_EQ(rule.maxBytes, 307200);
  EXPECT_EQ(movie.rules[4].extension, ".M4A");
  EXPECT_EQ(profile.area(AreaIndex::Document).prefix, "PDFDC");
  EXPECT_EQ(profile.area(AreaIndex::StandbyImage).rules[1].extension, ".GIF");
  for (const ContentArea& area : profile.areas) EXPECT_LE(area.rules.size(), kMaxFileTypeRules);
}

TEST(FileTypeRules, MatchTheUpperCasedLastExtension) {
  ASSERT_NE(RuleFor(MediaKind::Movie, "clip.mp4"), nullptr);
  EXPECT_EQ(RuleFor(MediaKind::Movie, "clip.mp4")->extension, ".MP4");
  EXPECT_EQ(RuleFor(MediaKind::Image, "a.b.gif")->maxBytes, 102400);
  EXPECT_EQ(RuleFor(MediaKind::Image, "notes.txt"), nullptr);
  EXPECT_EQ(RuleFor(MediaKind::Image, "JPG"), nullptr);
  EXPECT_EQ(RuleFor(MediaKind::Movie, "x.MOV"), nullptr);
}

}  // namespace
}  // namespace sdmate
