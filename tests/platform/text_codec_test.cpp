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

}  // namespace
}  // namespace sdmate
