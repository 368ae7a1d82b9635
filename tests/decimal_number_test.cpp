#include <gtest/gtest.h>

#include <cmath>

#include "panel/decimal_number.h"

namespace quenzart {
namespace {

TEST(ParseDecimalNumberTest, ReadsDecimalNumbers) {
  const std::pair<std::u16string, double> numbers[] = {
      {u"1", 1},     {u"01", 1},      {u"+1", 1},  {u"1.0", 1},  {u"1e0", 1},
      {u" 6 ", 6},   {u"\t3", 3},     {u"-2", -2}, {u".5", 0.5}, {u"5.", 5},
      {u"1E+1", 10}, {u"25e-1", 2.5}, {u"0", 0},
  };
  for (const auto& [text, value] : numbers) {
    const auto parsed = ParseDecimalNumber(text);
    ASSERT_TRUE(parsed) << std::string(text.begin(), text.end());
    EXPECT_EQ(*parsed, value) << std::string(text.begin(), text.end());
  }
}

TEST(ParseDecimalNumberTest, RejectsWhatIsNoDecimalNumber) {
  for (const std::u16string text : {u"", u" ", u"abc", u"0x1", u"inf", u"nan", u"1a", u"1 2", u"+",
                                    u".", u"1e", u"e1", u"１", u"--1", u"1,0"}) {
    EXPECT_FALSE(ParseDecimalNumber(text)) << std::string(text.begin(), text.end());
  }
}

TEST(ParseDecimalNumberTest, HugeNumbersAreNumbersEqualToNothing) {
  const auto parsed = ParseDecimalNumber(u"1e999");
  ASSERT_TRUE(parsed);
  EXPECT_TRUE(std::isnan(*parsed));
}

}  // namespace
}  // namespace quenzart
