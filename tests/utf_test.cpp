#include <gtest/gtest.h>

#include "platform/utf.h"

namespace quenzart {
namespace {

TEST(UtfTest, RoundTripsEveryPlane) {
  const std::u16string text = u"aé欢迎\U0001F600";
  EXPECT_EQ(ToUtf8(text), "a\xC3\xA9\xE6\xAC\xA2\xE8\xBF\x8E\xF0\x9F\x98\x80");
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(UtfTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
  EXPECT_EQ(FromUtf8("\xE6\xAC"), u"\uFFFD\uFFFD");  // cut short
}

}  // namespace
}  // namespace quenzart
