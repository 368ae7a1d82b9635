#include <ostream>
#include <regex>
#include <string>

#include "tests/standin/standin_harness.h"

namespace quenzart::standin_test {
namespace {

using StatusPageTest = StandinTest;

TEST_F(StatusPageTest, ShowsTheConfiguredValuesAsUtf8AndEscaped) {
  ConfigFields fields = DefaultFields();
  fields.serverName = std::string(kServerNameCp936) + " & Co";
  fields.location = std::string(kLocationCp936);
  fields.url = "<script>alert(1)</script>";
  fields.maxUsers = "120";
  fields.welcomeLines = {std::string(kWelcomeCp936), "", "  " + std::string(kSecondLineCp936)};
  ASSERT_TRUE(StartServing(fields));

  const HttpReply reply = Exchange(port_, kPlainGet);
  ASSERT_EQ(reply.status, 200) << reply.raw;
  EXPECT_EQ(reply.Header("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(reply.Header("Connection"), "close");
  EXPECT_EQ(reply.Header("Content-Length"), std::to_string(reply.body.size()));
  EXPECT_TRUE(reply.closedByServer);

  const std::string& page = reply.body;
  EXPECT_NE(page.find("<title>QuenzartServer"), std::string::npos) << page;
  EXPECT_NE(page.find(std::string(kServerNameUtf8) + " &amp; Co"), std::string::npos) << page;
  EXPECT_NE(page.find(kLocationUtf8), std::string::npos) << page;
  EXPECT_NE(page.find("120"), std::string::npos) << page;
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos) << page;
  EXPECT_EQ(page.find("<script"), std::string::npos) << page;
  // Every welcome line in order, the empty one and leading blanks kept.
  EXPECT_NE(page.find(std::string(kWelcomeUtf8) + "\n\n  " + std::string(kSecondLineUtf8) + "\n"),
            std::string::npos)
      << page;
  EXPECT_TRUE(std::regex_search(page, std::regex("Uptime[^0-9]*[0-9]+"))) << page;
}

struct LineEndCase {
  const char* name;
  const char* lineEnd;
  bool breakAfterLast;

  friend void PrintTo(const LineEndCase& testCase, std::ostream* out) { *out << testCase.name; }
};

class ConfigLineEndTest : public StandinTest, public ::testing::WithParamInterface<LineEndCase> {};

// A line end left on a value would show on the page, spoil the port, or turn
// "AllowWebAccess=1" into something else.
TEST_P(ConfigLineEndTest, ValuesEndAtTheLineEnd) {
  ConfigFields fields = DefaultFields();
  fields.welcomeLines = {std::string(kWelcomeCp936), std::string(kSecondLineCp936)};
  WriteConfig(ComposeConfig(fields, GetParam().lineEnd, GetParam().breakAfterLast));
  ASSERT_TRUE(Start().WaitForPidFile()) << standin().Output();

  const HttpReply reply = Exchange(port_, kPlainGet);
  ASSERT_EQ(reply.status, 200) << reply.raw;
  EXPECT_NE(reply.body.find("Tamberlow<"), std::string::npos) << reply.body;
  EXPECT_NE(reply.body.find(std::string(kWelcomeUtf8) + "\n" + std::string(kSecondLineUtf8) + "\n"),
            std::string::npos)
      << reply.body;
  EXPECT_EQ(reply.body.find('\r'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, ConfigLineEndTest,
                         ::testing::Values(LineEndCase{"CrLfNoFinalBreak", "\r\n", false},
                                           LineEndCase{"CrLfWithFinalBreak", "\r\n", true},
                                           LineEndCase{"LfOnly", "\n", false},
                                           LineEndCase{"LfWithFinalBreak", "\n", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RequestCase {
  const char* name;
  std::string request;
  int status;
};

// One stand-in answers every case; each case gets its own connection.
TEST_F(StatusPageTest, AnswersEachKindOfRequest) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  const HttpReply get = Exchange(port_, kPlainGet);
  ASSERT_EQ(get.status, 200) << get.raw;

  const RequestCase cases[] = {
      {"any path, HTTP/1.1", "GET /some/path?x=1 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 200},
      {"HTTP/1.0 with bare LF line ends", "GET / HTTP/1.0\n\n", 200},
      {"empty lines before the request line", "\r\n\r\nGET / HTTP/1.1\r\n\r\n", 200},
      {"POST", "POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", 405},
      {"lower-case method", "get / HTTP/1.1\r\n\r\n", 405},
      {"garbage", "\x01\x02 hello there\r\n\r\n", 400},
      {"no version", "GET /\r\n\r\n", 400},
      {"two blanks", "GET  / HTTP/1.1\r\n\r\n", 400},
      {"header without a colon", "GET / HTTP/1.1\r\nNo colon here\r\n\r\n", 400},
      {"not HTTP", "GET / FTP/1.1\r\n\r\n", 400},
      {"another HTTP version", "GET / HTTP/2.0\r\n\r\n", 505},
  };
  for (const RequestCase& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    const HttpReply reply = Exchange(port_, testCase.request);
    EXPECT_EQ(reply.status, testCase.status) << reply.raw;
    EXPECT_EQ(reply.Header("Connection"), "close");
    EXPECT_EQ(reply.Header("Content-Length"), std::to_string(reply.body.size()));
    EXPECT_TRUE(reply.closedByServer);
    if (testCase.status == 200) {
      EXPECT_NE(reply.body.find("Tamberlow"), std::string::npos);
    }
  }

  const HttpReply post = Exchange(port_, "POST / HTTP/1.1\r\n\r\n");
  EXPECT_EQ(post.Header("Allow"), "GET, HEAD");

  // HEAD: the headers a GET gets, with no body after them.
  const HttpReply head = Exchange(port_, "HEAD / HTTP/1.1\r\n\r\n");
  EXPECT_EQ(head.status, 200) << head.raw;
  EXPECT_EQ(head.Header("Content-Type"), "text/html; charset=utf-8");
  // The uptime on the page may have gained a digit since the GET.
  const long headLength = std::stol(head.Header("Content-Length").value_or("0"));
  EXPECT_NEAR(headLength, static_cast<long>(get.body.size()), 2);
  EXPECT_EQ(head.body, "");
  EXPECT_TRUE(head.closedByServer);
}

TEST_F(StatusPageTest, AnswersARequestWhoseSenderClosedItsSide) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  const HttpReply reply = Exchange(port_, kPlainGet, {.closeAfterSending = true});
  EXPECT_EQ(reply.status, 200) << reply.raw;
}

}  // namespace
}  // namespace quenzart::standin_test
