// The handset's pictographs shown as emoji and typed emoji stored as the handset's codes, over
// the real code page 932 codec.
#include "card/pictograph_codec.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "core/pictographs.h"

namespace sdmate {
namespace {

class PictographCodecTest : public ::testing::Test {
 protected:
  std::unique_ptr<TextCodec> native_ = MakeNativeTextCodec();
  PictographCodec codec_{*native_};
};

TEST_F(PictographCodecTest, ShowsPictographsAsEmojiBesideOrdinaryText) {
  struct Case {
    std::string sjis;
    std::string utf8;
  };
  const Case cases[] = {
      {"\xF8\x9F", "☀"},  // the sun, DoCoMo's first code
      {"\x93\xFA\x96\x7B\xF8\x9F"
       "abc\xF8\xA0",
       "日本☀abc☁"},                  // between kanji and ASCII
      {"\xF9\x85", "#\xE2\x83\xA3"},  // a keycap: "#" and U+20E3
      {"\xF8\xE9"
       "1",
       "\xF0\x9F\x93\xB1"
       "1"},  // four UTF-8 bytes, then a digit
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(codec_.ToUtf8(c.sjis), c.utf8);
    EXPECT_EQ(codec_.FromUtf8(c.utf8), c.sjis) << c.utf8;
  }
}

TEST_F(PictographCodecTest, TypedEmojiWithPresentationSelectorsBecomeTheirCodes) {
  EXPECT_EQ(codec_.FromUtf8("☀\xEF\xB8\x8F晴れ"), "\xF8\x9F" + native_->FromUtf8("晴れ"));
  EXPECT_EQ(codec_.FromUtf8("#\xEF\xB8\x8F\xE2\x83\xA3"), "\xF9\x85");
  EXPECT_EQ(codec_.FromUtf8("#\xE2\x83\xA3\xEF\xB8\x8F"), "\xF9\x85");
  // A "#" or a digit alone is no keycap.
  EXPECT_EQ(codec_.FromUtf8("#1"), "#1");
  // An emoji the handset lacks is what code page 932 makes of it.
  EXPECT_EQ(codec_.FromUtf8("a😀b"), "a?b");
}

TEST_F(PictographCodecTest, CodesWithoutEmojiAndBrokenBytesShowAsBefore) {
  // F040 is user-defined but no pictograph; F8A0-F9FC codes the table lacks keep the
  // private-use character (and come back to the same bytes).
  std::string lacking;
  for (int code = 0xF8A0; code <= 0xF9FC && lacking.empty(); ++code) {
    const int trail = code & 0xFF;
    if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F &&
        EmojiOfCode(static_cast<std::uint16_t>(code)).empty())
      lacking = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  }
  ASSERT_FALSE(lacking.empty());
  for (const std::string& sjis : {std::string("\xF0\x40"), lacking}) {
    EXPECT_EQ(codec_.ToUtf8(sjis), native_->ToUtf8(sjis));
    EXPECT_EQ(codec_.FromUtf8(codec_.ToUtf8(sjis)), sjis);
  }
  // A pictograph's lead byte cut off at the end is for the codec underneath, and a pictograph's
  // bytes as the trail of another character are no pictograph.
  EXPECT_EQ(codec_.ToUtf8("\xF8\x9F\xF8"), "☀" + native_->ToUtf8("\xF8"));
  EXPECT_EQ(codec_.ToUtf8("\x9F\xF8\x9F"), native_->ToUtf8("\x9F\xF8") + "?");
}

// Every row of the generated table: a pictograph code, one emoji per code and one code per
// emoji, and each round trip through the codec.
TEST_F(PictographCodecTest, EveryTableRowRoundTrips) {
  const std::vector<Pictograph>& table = Pictographs();
  ASSERT_GT(table.size(), 200U);
  std::set<std::string> emoji;
  for (const Pictograph& row : table) {
    EXPECT_GE(row.code, 0xF89F);
    EXPECT_LE(row.code, 0xF9FC);
    EXPECT_TRUE(emoji.insert(row.emoji).second) << row.emoji;
    const std::string sjis = {static_cast<char>(row.code >> 8), static_cast<char>(row.code)};
    EXPECT_EQ(codec_.ToUtf8(sjis), row.emoji);
    EXPECT_EQ(codec_.FromUtf8(row.emoji), sjis) << row.emoji;
  }
}

}  // namespace
}  // namespace sdmate
