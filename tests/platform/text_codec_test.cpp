// Code page 932 round trips, the handset's pictographs included.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace sdmate {
namespace {

TEST(TextCodec, RoundTripsCodePage932) {
  auto codec = MakeNativeTextCodec();
  struct Case {
    std::string sjis;
    std::string utf8;
  };
  const Case cases[] = {
      {"\x87\x40", "①"},    {"\x83\x4A\x83\x69", "カナ"},
      {"\xB1\xB2", "ｱｲ"},   {"\xF8\x9F", "\xEE\x98\xBE"},  // U+E63E, the handset's sun pictograph
      {"C:\\A~", "C:\\A~"},                                // 0x5C stays a backslash, 0x7E a tilde
      {"\x81\x63", "…"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(codec->ToUtf8(c.sjis), c.utf8);
    EXPECT_EQ(codec->FromUtf8(c.utf8), c.sjis);
  }
}

TEST(TextCodec, WhatCannotBeConvertedBecomesAQuestionMark) {
  auto codec = MakeNativeTextCodec();
  EXPECT_EQ(codec->FromUtf8("a😀b"), "a?b");
  EXPECT_EQ(codec->FromUtf8("한"), "?");
  EXPECT_EQ(codec->ToUtf8("a\x82"), "a?");  // a cut double-byte character
  EXPECT_EQ(codec->ToUtf8(""), "");
}

// A byte that begins no valid UTF-8 sequence costs a "?" and no more: the text after it stays.
TEST(TextCodec, AnInvalidByteOfTypedTextKeepsTheValidBytesAfterIt) {
  auto codec = MakeNativeTextCodec();
  const std::pair<std::string, std::string> cases[] = {
      {"\xC3"
       "AB",
       "AB"},  // a lead byte without its follower
      {"\xE3\x81"
       "x",
       "x"},  // a cut three-byte sequence
      {"\xFF"
       "カ",
       "\x83\x4A"},  // a byte UTF-8 never uses
      {"\x80"
       "1",
       "1"},  // a follower without its lead
  };
  for (const auto& [typed, kept] : cases) {
    const std::string stored = codec->FromUtf8(typed);
    EXPECT_TRUE(stored.starts_with("?")) << stored;
    EXPECT_TRUE(stored.ends_with(kept)) << stored;
    EXPECT_LE(stored.size(), typed.size()) << stored;
  }
}

}  // namespace
}  // namespace sdmate
