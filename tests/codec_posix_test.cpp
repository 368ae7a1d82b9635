#include <gtest/gtest.h>

#include "platform/posix/codec_posix.h"

namespace quenzart {
namespace {

TEST(Cp936CodecTest, EncodesChineseAsDoubleBytes) {
  const Cp936Codec codec;
  EXPECT_EQ(codec.Encode(u"欢迎光临！"), "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1");
  EXPECT_EQ(codec.Decode("\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1"), u"欢迎光临！");
  EXPECT_EQ(codec.Encode(u"€"), "\x80");
}

TEST(Cp936CodecTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  const Cp936Codec codec;
  // Korean, an emoji (a surrogate pair is one character) and a lone surrogate.
  EXPECT_EQ(codec.Encode(u"a한b\U0001F600c"), "a?b?c");
  EXPECT_EQ(codec.Encode(std::u16string{u'x', char16_t(0xDC00), u'y'}), "x?y");
  EXPECT_EQ(codec.Encode(std::u16string{u'x', char16_t(0xD800)}), "x?");
}

TEST(Cp936CodecTest, InvalidBytesDecodeWithoutSwallowingTheirNeighbours) {
  const Cp936Codec codec;
  EXPECT_EQ(codec.Decode("a\xFF"
                         "b"),
            u"a\uFFFDb");
  EXPECT_EQ(codec.Decode("a\xB0"), u"a\uFFFD");  // lead byte at the end
  EXPECT_EQ(codec.Decode(std::string("\0a", 2)), std::u16string(u"\0a", 2));
}

TEST(Cp936CodecTest, LongTextsRoundTrip) {
  const Cp936Codec codec;
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text += u"服务器IP=1.2.3.4;";
  EXPECT_EQ(codec.Decode(codec.Encode(text)), text);
}

}  // namespace
}  // namespace quenzart
