#include <gtest/gtest.h>

#include "server/command_lines.h"

namespace quenzart {
namespace {

TEST(CommandLinesTest, FixedCommandLines) {
  EXPECT_EQ(kServerCommandLine, u"quenzartsrv.exe");
  EXPECT_EQ(kStopCommandLine, u"ntsd -noshell -c q -pn quenzartsrv.exe");
}

TEST(CommandLinesTest, StatusCommandLineJoinsAddressAndPortAsTyped) {
  const struct {
    std::u16string ip, port, line;
  } cases[] = {
      {u"10.0.0.5", u"27888", u"explorer.exe http://10.0.0.5:27888"},
      {u"10.0.0.5", u"", u"explorer.exe http://10.0.0.5:"},
      {u"127.0.0.1", u" 80 x", u"explorer.exe http://127.0.0.1: 80 x"},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusCommandLine(c.ip, c.port), c.line);
}

}  // namespace
}  // namespace quenzart
