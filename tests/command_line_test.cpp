#include <gtest/gtest.h>

#include "platform/command_line.h"

namespace quenzart {
namespace {

using Words = std::vector<std::u16string>;

TEST(SplitCommandLineTest, SplitsAsWindowsProgramsDo) {
  const std::pair<std::u16string, Words> cases[] = {
      {u"quenzartsrv.exe", {u"quenzartsrv.exe"}},
      {u"ntsd -noshell -c q -pn quenzartsrv.exe",
       {u"ntsd", u"-noshell", u"-c", u"q", u"-pn", u"quenzartsrv.exe"}},
      {u"  a   b\tc  ", {u"a", u"b", u"c"}},
      {u"\"C:\\Program Files\\x.exe\" arg", {u"C:\\Program Files\\x.exe", u"arg"}},
      {u"p \"a b\" c", {u"p", u"a b", u"c"}},
      {u"p a\\\\\"b c\"", {u"p", u"a\\b c"}},  // 2n backslashes: n and a grouping quote
      {u"p a\\\"b", {u"p", u"a\"b"}},          // 2n+1: n and a literal quote
      {u"p a\\b\\\\c", {u"p", u"a\\b\\\\c"}},  // backslashes alone are literal
      {u"p \"a\"\"b\"", {u"p", u"a\"b"}},      // "" inside quotes
      {u"p \"\"", {u"p", u""}},
      {u"p;rm -rf $(x) `y`", {u"p;rm", u"-rf", u"$(x)", u"`y`"}},
      {u"", {}},
      {u"   ", {}},
  };
  for (const auto& [line, words] : cases) {
    EXPECT_EQ(SplitCommandLine(line), words) << std::string(line.begin(), line.end());
  }
}

}  // namespace
}  // namespace quenzart
