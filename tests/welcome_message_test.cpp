#include <gtest/gtest.h>

#include "settings/welcome_message.h"

namespace quenzart {
namespace {

struct SplitCase {
  const char* name;
  std::u16string message;
  std::vector<std::u16string> segments;
};

class SplitWelcomeMessageTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWelcomeMessageTest, CutsAtEveryLineBreak) {
  EXPECT_EQ(SplitWelcomeMessage(GetParam().message), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitWelcomeMessageTest,
    ::testing::Values(SplitCase{"DefaultMessage", u"欢迎光临！\r\n", {u"欢迎光临！", u""}},
                      SplitCase{"Empty", u"", {u""}},
                      SplitCase{"NoLineBreak", u"hello", {u"hello"}},
                      SplitCase{"TwoBreaksInARow", u"a\r\n\r\nb", {u"a", u"", u"b"}},
                      SplitCase{"LoneLineFeed", u"a\nb", {u"a", u"b"}},
                      SplitCase{"LoneCarriageReturnKeepsNextCharacter", u"a\rbc", {u"a", u"bc"}},
                      SplitCase{"CarriageReturnAtTheEnd", u"a\r", {u"a", u""}},
                      SplitCase{"CarriageReturnTwice", u"a\r\rb", {u"a", u"", u"b"}},
                      SplitCase{"LineFeedThenCarriageReturn", u"a\n\rb", {u"a", u"", u"b"}},
                      SplitCase{"AtSignStaysInItsLine", u"a@b\r\nc", {u"a@b", u"c"}},
                      SplitCase{"OnlyABreak", u"\r\n", {u"", u""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitWelcomeMessageTest, HandlesMessagesBeyondSixteenBitLengths) {
  std::u16string message(40000, u'x');
  message += u"\r\nend";
  const auto segments = SplitWelcomeMessage(message);
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].size(), 40000u);
  EXPECT_EQ(segments[1], u"end");
}

struct DecodeCase {
  std::u16string stored;
  std::u16string decoded;
};

class DecodeWelcomeMessageTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeWelcomeMessageTest, TurnsStoredFormIntoLines) {
  EXPECT_EQ(DecodeWelcomeMessage(GetParam().stored), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeWelcomeMessageTest,
    ::testing::Values(DecodeCase{u"abc@def@", u"abc\r\ndef"}, DecodeCase{u"@", u""},
                      DecodeCase{u"abc@@def@", u"abc\r\n\r\ndef"}, DecodeCase{u"@abc@", u"\r\nabc"},
                      DecodeCase{u"欢迎光临！@@", u"欢迎光临！\r\n"},
                      // Without a final "@" nothing is dropped.
                      DecodeCase{u"abc@def", u"abc\r\ndef"}, DecodeCase{u"abc", u"abc"},
                      DecodeCase{u"欢@迎@", u"欢\r\n迎"}, DecodeCase{u"", u""}));

TEST(WelcomeMessageRoundTrip, StoredFormDecodesBackToTheLines) {
  for (const std::u16string message :
       {u"欢迎光临！\r\n", u"", u"one\r\ntwo", u"\r\n\r\n", u"a\r\n\r\nb\r\n"}) {
    std::u16string stored;
    for (const auto& segment : SplitWelcomeMessage(message)) stored += segment + u"@";
    EXPECT_EQ(DecodeWelcomeMessage(stored), message);
  }
}

}  // namespace
}  // namespace quenzart
