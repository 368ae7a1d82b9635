#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "panel/form1.h"
#include "platform/native_platform.h"
#include "tests/fakes.h"
#include "tests/test_processes.h"
#include "tests/test_support.h"

namespace quenzart {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::quenzart::testing::FakeProgram;
using ::quenzart::testing::FakeView;
using ::quenzart::testing::Journal;
using ::quenzart::testing::ReadFileBytes;
using ::quenzart::testing::WaitUntil;
using C = ControlId;

// The panel's handlers over the real platform, with the stand-in server on
// PATH under the server's name, in a temporary working directory.
class EndToEndTest : public ::testing::Test {
 protected:
  quenzart::testing::TemporaryDirectory directory;
  fs::path work = directory / "work";
  fs::path bin = directory / "bin";
  std::string previousPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  Journal journal;
  FakeProgram program{journal};
  FakeView view{journal};
  pid_t server = 0;

  void SetUp() override {
    if (quenzart::testing::OtherStandInRunning()) {
      GTEST_SKIP() << "a quenzartsrv process that this test did not start is running; "
                      "end it to run this test";
    }
    fs::create_directories(work);
    fs::create_directories(bin);
    fs::copy_file(quenzart::testing::StandInPath(), bin / "quenzartsrv");
    setenv("PATH", (bin.string() + ":" + previousPath).c_str(), 1);
    fs::current_path(work);
  }
  void TearDown() override {
    if (server > 0) quenzart::testing::EndDetached(server);
    setenv("PATH", previousPath.c_str(), 1);
    fs::current_path(directory.path());
  }
  pid_t ServerPid() {
    if (!WaitUntil([&] { return fs::exists(work / "quenzartsrv.pid"); }, 5s)) return 0;
    return std::stoi(ReadFileBytes(work / "quenzartsrv.pid"));
  }
};

TEST_F(EndToEndTest, StartLaunchesTheServerThatAnswersAndStopEndsIt) {
  NativePlatform native(program);
  Form1 form(view, native.platform());
  form.Load();
  const int port = quenzart::testing::FreeLoopbackPort();
  const std::string portText = std::to_string(port);
  view.SetText(C::Text1_4, std::u16string(portText.begin(), portText.end()));
  view.SetText(C::Text1_0, u"端到端");
  view.SetText(C::Text2, u"第一行\r\nsecond");

  form.command1_Click();
  ASSERT_TRUE(program.reports.empty()) << journal.back();
  EXPECT_TRUE(form.ServerRunning);
  EXPECT_TRUE(ReadFileBytes(work / "quenzartsrv.ini")
                  .starts_with("[Last]\r\nServerName=\xB6\xCB\xB5\xBD\xB6\xCB\r\n"));
  server = ServerPid();
  ASSERT_GT(server, 0);

  std::string page;
  ASSERT_TRUE(
      WaitUntil([&] { return !(page = quenzart::testing::HttpGetLoopback(port)).empty(); }, 5s));
  EXPECT_NE(page.find("200 OK"), std::string::npos);
  EXPECT_NE(page.find("端到端"), std::string::npos);
  EXPECT_NE(page.find("第一行"), std::string::npos);

  form.command2_Click();
  EXPECT_TRUE(program.reports.empty());
  EXPECT_FALSE(form.ServerRunning);
  EXPECT_EQ(view.texts.at(C::Label4), u"Quenzart服务器端已停止运行");
  EXPECT_TRUE(WaitUntil([&] { return quenzart::testing::ProcessGone(server); }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(work / "quenzartsrv.pid"); }, 5s));
}

TEST_F(EndToEndTest, ServerThatEndsAtOnceLeavesTheRunningStateAndStopFindsNothing) {
  NativePlatform native(program);
  Form1 form(view, native.platform());
  view.SetText(C::Text1_4, u"not a port");
  form.command1_Click();
  EXPECT_TRUE(program.reports.empty());
  EXPECT_TRUE(form.ServerRunning);
  EXPECT_TRUE(WaitUntil([&] { return quenzart::testing::FindStandIns().empty(); }, 5s));
  form.command2_Click();
  EXPECT_TRUE(program.reports.empty());
  EXPECT_FALSE(form.ServerRunning);
}

TEST_F(EndToEndTest, MissingServerProgramIsShownAndTheFilesStayWritten) {
  fs::remove(bin / "quenzartsrv");
  NativePlatform native(program);
  Form1 form(view, native.platform());
  form.command1_Click();
  ASSERT_EQ(program.reports.size(), 1u);
  EXPECT_EQ(program.reports[0], u"无法启动程序“quenzartsrv.exe”：找不到该程序。");
  EXPECT_FALSE(form.ServerRunning);
  EXPECT_TRUE(fs::exists(work / "quenzartsrv.conf"));
  EXPECT_TRUE(fs::exists(work / "quenzartsrv.ini"));
}

TEST_F(EndToEndTest, AFreshPanelShowsTheValuesOfTheLastStart) {
  NativePlatform native(program);
  {
    FakeView first(journal);
    Form1 form(first, native.platform());
    const std::pair<C, std::u16string> fields[] = {{C::Text1_0, u"名字"},
                                                   {C::Text1_1, u"北京"},
                                                   {C::Text1_2, u"http://example.org/"},
                                                   {C::Text1_3, u"7"},
                                                   {C::Text1_4, u"not a port"},
                                                   {C::Text1_5, u"192.0.2.1"},
                                                   {C::Text1_8, u"150"},
                                                   {C::Text3, u"9"},
                                                   {C::Text4, u"4"},
                                                   {C::Text2, u"欢迎\r\n\r\n再见"}};
    for (const auto& [id, text] : fields) first.SetText(id, text);
    first.Select(C::Option1);
    first.Select(C::Option3_5);
    form.command1_Click();
    ASSERT_TRUE(program.reports.empty());
  }
  FakeView second(journal);
  Form1 restored(second, native.platform());
  restored.Load();
  const std::pair<C, std::u16string> expected[] = {{C::Text1_0, u"名字"},
                                                   {C::Text1_1, u"北京"},
                                                   {C::Text1_2, u"http://example.org/"},
                                                   {C::Text1_3, u"7"},
                                                   {C::Text1_4, u"not a port"},
                                                   {C::Text1_8, u"150"},
                                                   {C::Text3, u"9"},
                                                   {C::Text4, u"4"},
                                                   {C::Text2, u"欢迎\r\n\r\n再见"}};
  for (const auto& [id, text] : expected) EXPECT_EQ(second.texts.at(id), text) << LayoutOf(id).name;
  EXPECT_NE(second.texts.at(C::Text1_5), u"192.0.2.1");  // always the local address
  EXPECT_TRUE(second.IsSelected(C::Option1));
  EXPECT_TRUE(second.IsSelected(C::Option3_5));
  EXPECT_FALSE(second.IsSelected(C::Option3_0));
}

}  // namespace
}  // namespace quenzart
