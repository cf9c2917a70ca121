// Which header texts, entry names and paths the engine trusts.
#include "core/card_guard.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

struct TextCase {
  MediaKind kind;
  std::string text;
  bool trusted;
};

class DirectoryTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DirectoryTextTest, TrustsOnlyPlainPathsBelowTheDataDirectory) {
  EXPECT_EQ(IsTrustedDirectoryText(GetParam().kind, GetParam().text), GetParam().trusted)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DirectoryTextTest,
    ::testing::Values(
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", true},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\OTHER\\DEEP", true},
        TextCase{MediaKind::Movie, "\\SD_VIDEO\\PRL00A", true},
        TextCase{MediaKind::Document, "\\PRIVATE\\DOCOMO\\DOCUMENT\\PUD002", true},
        TextCase{MediaKind::Image, "", false}, TextCase{MediaKind::Image, "\\", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\\\SUD001", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\SUD001\\", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\..", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\.\\SUD001", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\..\\..\\X", false},
        TextCase{MediaKind::Image, "\\..\\..\\somewhere", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\A/B", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\C:X", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\A\tB", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\*", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\SUD00?", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\A|B", false},
        TextCase{MediaKind::Image, "\\SD_VIDEO\\PRL001", false},
        TextCase{MediaKind::Movie, "\\PRIVATE\\DOCOMO\\STILL\\SUD001", false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\" + std::string(43, 'A'), false},
        TextCase{MediaKind::Image, "\\PRIVATE\\DOCOMO\\STILL\\" + std::string(42, 'A'), true}));

TEST(EntryNameTest, RefusesAnythingButAPlainName) {
  EXPECT_TRUE(IsPlainEntryName("STIL0001", "JPG"));
  EXPECT_TRUE(IsPlainEntryName("MOL00A", "3GP"));
  EXPECT_TRUE(IsPlainEntryName("\x95\x5C", "JPG") == false);  // a trail byte 5C is a separator
  for (std::string bad :
       std::vector<std::string>{"..\\..\\AB", "A/B", "A.B", "C:", "A*", "A?", "A\"", "A<", "A>",
                                "A|", std::string("A\x01", 2), std::string("\x7F")}) {
    EXPECT_FALSE(IsPlainEntryName(bad, "JPG")) << bad;
    EXPECT_FALSE(IsPlainEntryName("STIL0001", bad)) << bad;
  }
}

TEST(CardPathTest, ResolvesLexicallyAgainstTheLoadedRoot) {
  EXPECT_TRUE(IsInsideCardRoot("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\STIL0001.JPG", 'E'));
  EXPECT_TRUE(IsInsideCardRoot("e:\\PRIVATE\\A\\..\\B", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("F:\\\\PRIVATE\\X", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:\\\\", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:\\PRIVATE\\..", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:\\\\..\\outside\\STIL0001.JPG", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:\\A\\..\\..\\B", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:PRIVATE", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("E:\\A\\C:\\B", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("/home/u/photo.jpg", 'E'));
  EXPECT_FALSE(IsInsideCardRoot("", 'E'));

  const std::string still = "E:\\\\PRIVATE\\DOCOMO\\STILL\\";
  EXPECT_TRUE(IsStrictlyBelow("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001", still));
  EXPECT_FALSE(IsStrictlyBelow("E:\\\\PRIVATE\\DOCOMO\\STILL", still));
  EXPECT_FALSE(IsStrictlyBelow("E:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001\\..", still));
  EXPECT_FALSE(IsStrictlyBelow("E:\\\\", still));
  EXPECT_FALSE(IsStrictlyBelow("E:\\\\PRIVATE\\DOCOMO\\STILLER", still));
  EXPECT_FALSE(IsStrictlyBelow("F:\\\\PRIVATE\\DOCOMO\\STILL\\SUD001", still));

  // The one spelling every commit keys its files by.
  EXPECT_EQ(ResolvedCardPath("e:/PRIVATE//A\\.\\B\\..\\C.JPG"), "E:\\\\PRIVATE\\A\\C.JPG");
  EXPECT_EQ(ResolvedCardPath("E:\\\\PRIVATE\\"), "E:\\\\PRIVATE");
  EXPECT_EQ(ResolvedCardPath("E:\\A\\.."), "E:\\");
  EXPECT_EQ(ResolvedCardPath("E:\\A\\..\\.."), "");
  EXPECT_EQ(ResolvedCardPath("E:\\A\\B:C"), "");
  EXPECT_EQ(ResolvedCardPath("PRIVATE\\A"), "");
}

}  // namespace
}  // namespace sdmate
