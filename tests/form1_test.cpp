#include <gtest/gtest.h>

#include "panel/form1.h"
#include "settings/settings_files.h"
#include "tests/fakes.h"

namespace quenzart {
namespace {

using ::quenzart::testing::FakePlatform;
using ::quenzart::testing::FakeView;
using ::quenzart::testing::Journal;
using C = ControlId;

const std::string kStartServer = "launch quenzartsrv.exe mode 0";
const std::string kStopServer = "launch ntsd -noshell -c q -pn quenzartsrv.exe mode 0";
const Journal kWriteBothFiles = {"create quenzartsrv.conf", "create quenzartsrv.ini",
                                 "write quenzartsrv.conf",  "write quenzartsrv.ini",
                                 "close quenzartsrv.conf",  "close quenzartsrv.ini"};
const Journal kEnterRunningState = {"disable command1", "enable command2", "enable Command5",
                                    "caption Label4 Quenzart服务器端正在运行....."};
const Journal kEnterStoppedState = {"caption Label4 Quenzart服务器端已停止运行", "enable command1",
                                    "disable command2", "disable Command5"};

Journal Concat(std::initializer_list<Journal> parts) {
  Journal all;
  for (const Journal& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class Form1Test : public ::testing::Test {
 protected:
  FakePlatform fake;
  FakeView view{fake.journal};
  Form1 form{view, fake.platform};

  // Runs a handler and returns only what it did.
  template <typename Handler>
  Journal Run(Handler handler) {
    fake.journal.clear();
    handler();
    return fake.journal;
  }
  Journal Start() {
    return Run([&] { form.command1_Click(); });
  }
};

TEST_F(Form1Test, StartWritesFilesThenLaunchesThenEntersTheRunningState) {
  view.SetText(C::Text1_5, u"10.0.0.5");
  EXPECT_EQ(Start(),
            Concat({kWriteBothFiles, {kStartServer}, kEnterRunningState, {"select text 7+0"}}));
  EXPECT_TRUE(form.ServerRunning);
  EXPECT_TRUE(view.disabled.count(C::command1));
  EXPECT_FALSE(view.disabled.count(C::command2));
  EXPECT_FALSE(view.disabled.count(C::Command5));
  EXPECT_EQ(fake.files.closed.at(u"quenzartsrv.conf"),
            u"ServerName=Tamberlow\r\nLocation=\r\nURL=http://\r\nMaxUsers=50\r\nPort=27888\r\n"
            u"Public=1\r\nIP=10.0.0.5\r\nFloodMsgNb=3\r\nFloodMsgTime=5\r\nMinPing=0\r\n"
            u"MaxConnSet=0\r\nMotdLine=欢迎光临！\r\nMotdLine=\r\nAllowWebAccess=1");
}

TEST_F(Form1Test, StartReadsEveryFieldAtTheClick) {
  const std::pair<C, std::u16string> fields[] = {
      {C::Text1_0, u"name"},     {C::Text1_1, u"here"}, {C::Text1_2, u"http://h"},
      {C::Text1_3, u"9"},        {C::Text1_4, u"1234"}, {C::Text1_5, u"1.2.3.4"},
      {C::Text1_8, u"77"},       {C::Text3, u"8"},      {C::Text4, u"6"},
      {C::Text2, u"hi\r\nthere"}};
  for (const auto& [id, text] : fields) view.SetText(id, text);
  view.Select(C::Option1);
  view.Select(C::Option3_6);
  Start();
  EXPECT_EQ(fake.files.closed.at(u"quenzartsrv.conf"),
            u"ServerName=name\r\nLocation=here\r\nURL=http://h\r\nMaxUsers=9\r\nPort=1234\r\n"
            u"Public=0\r\nIP=1.2.3.4\r\nFloodMsgNb=6\r\nFloodMsgTime=8\r\nMinPing=77\r\n"
            u"MaxConnSet=6\r\nMotdLine=hi\r\nMotdLine=there\r\nAllowWebAccess=1");
  // The selection covers the last line of the message.
  EXPECT_EQ(view.selection, (std::pair<std::size_t, std::size_t>{4, 5}));
}

TEST_F(Form1Test, FailedWritingLaunchesNothingAndKeepsTheState) {
  fake.files.failing.insert("create quenzartsrv.ini");
  EXPECT_EQ(Start(), (Journal{"create quenzartsrv.conf", "create quenzartsrv.ini",
                              "report 无法创建文件“quenzartsrv.ini”：文件系统是只读的。"}));
  EXPECT_FALSE(form.ServerRunning);
  EXPECT_FALSE(view.disabled.count(C::command1));
}

TEST_F(Form1Test, FailedLaunchLeavesFilesWrittenAndTheStateAsItWas) {
  fake.launcher.failing.insert(u"quenzartsrv.exe");
  EXPECT_EQ(Start(),
            Concat({kWriteBothFiles,
                    {kStartServer, "report 无法启动程序“quenzartsrv.exe”：找不到该程序。"}}));
  EXPECT_EQ(fake.files.closed.size(), 2u);
  EXPECT_FALSE(form.ServerRunning);
  EXPECT_EQ(view.texts.at(C::Label4), u"");
  EXPECT_EQ(view.selection, (std::pair<std::size_t, std::size_t>{0, 0}));
}

TEST_F(Form1Test, StopLaunchesTheStopCommandThenEntersTheStoppedState) {
  Start();
  EXPECT_EQ(Run([&] { form.command2_Click(); }), Concat({{kStopServer}, kEnterStoppedState}));
  EXPECT_FALSE(form.ServerRunning);
  EXPECT_EQ(view.texts.at(C::Label4), u"Quenzart服务器端已停止运行");
}

TEST_F(Form1Test, FailedStopKeepsTheRunningState) {
  Start();
  fake.launcher.failing.insert(u"ntsd -noshell -c q -pn quenzartsrv.exe");
  const Journal journal = Run([&] { form.command2_Click(); });
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0], kStopServer);
  EXPECT_TRUE(journal[1].starts_with("report 无法启动程序"));
  EXPECT_TRUE(form.ServerRunning);
  EXPECT_FALSE(view.disabled.count(C::command2));
}

TEST_F(Form1Test, ExitAndClosingStopTheServerOnlyWhenItRuns) {
  struct Case {
    const char* state;
    bool started;
    bool stopped;
    bool closeInsteadOfExit;
    Journal expected;
  };
  const Case cases[] = {
      {"initial, exit", false, false, false, {"end program"}},
      {"initial, close", false, false, true, {"end program"}},
      {"running, exit", true, false, false, {kStopServer, "end program"}},
      {"running, close", true, false, true, {kStopServer, "end program"}},
      {"stopped, exit", true, true, false, {"end program"}},
      {"stopped, close", true, true, true, {"end program"}},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    FakeView window(platform.journal);
    Form1 panel(window, platform.platform);
    if (c.started) panel.command1_Click();
    if (c.stopped) panel.command2_Click();
    platform.journal.clear();
    if (c.closeInsteadOfExit) {
      panel.Unload();
    } else {
      panel.command4_Click();
    }
    // The closing of the window that follows the end stops nothing again.
    panel.Unload();
    EXPECT_EQ(platform.journal, c.expected) << c.state;
  }
}

TEST_F(Form1Test, StartStopStartThenCloseStopsBeforeTheEnd) {
  Start();
  form.command2_Click();
  view.SetText(C::Text1_0, u"second");
  const Journal second = Start();
  EXPECT_EQ(std::count(second.begin(), second.end(), kStartServer), 1);
  EXPECT_TRUE(fake.files.closed.at(u"quenzartsrv.ini").starts_with(u"[Last]\r\nServerName=second"));
  EXPECT_EQ(Run([&] { form.Unload(); }), (Journal{kStopServer, "end program"}));
}

TEST_F(Form1Test, FailedStopOnExitIsShownAndTheProgramEndsAnyway) {
  Start();
  fake.launcher.failing.insert(u"ntsd -noshell -c q -pn quenzartsrv.exe");
  const Journal journal = Run([&] { form.command4_Click(); });
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_TRUE(journal[1].ends_with("服务器可能仍在运行。"));
  EXPECT_EQ(journal[2], "end program");
}

TEST_F(Form1Test, StatusPageUsesTheLocalAddressAndThePortAtTheClick) {
  Start();
  view.SetText(C::Text1_5, u"192.0.2.99");  // the address field is not used
  view.SetText(C::Text1_4, u" 80 ");
  EXPECT_EQ(Run([&] { form.Command5_Click(); }),
            (Journal{"launch explorer.exe http://10.0.0.5: 80  mode 2"}));
  view.SetText(C::Text1_4, u"");
  EXPECT_EQ(Run([&] { form.Command5_Click(); }),
            (Journal{"launch explorer.exe http://10.0.0.5: mode 2"}));
}

TEST_F(Form1Test, FailedStatusLaunchIsShownAndChangesNothing) {
  Start();
  fake.launcher.failing.insert(u"explorer.exe http://10.0.0.5:27888");
  const Journal journal = Run([&] { form.Command5_Click(); });
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_TRUE(journal[1].starts_with("report 无法"));
  EXPECT_TRUE(form.ServerRunning);
}

TEST_F(Form1Test, AboutShowsTheAboutWindow) {
  EXPECT_EQ(Run([&] { form.Command3_Click(); }), (Journal{"show about"}));
}

// The start-up restore.

TEST_F(Form1Test, LoadWithoutSavedSettingsOnlyFillsTheAddress) {
  EXPECT_EQ(Run([&] { form.Load(); }), (Journal{"set text Text1 10.0.0.5"}));
  EXPECT_EQ(view.texts.at(C::Text1_0), u"Tamberlow");
  EXPECT_TRUE(view.IsSelected(C::Option2));
  EXPECT_TRUE(view.IsSelected(C::Option3_0));
}

TEST_F(Form1Test, LoadMakesTheElevenLookupsInOrderEachAppliedBeforeTheNext) {
  fake.files.existing.insert(u"quenzartsrv.ini");
  fake.profile.values = {
      {"Last/ServerName", "n"},    {"Last/Location", "l"},    {"Last/URL", "u"},
      {"Last/MaxUsers", "m"},      {"Last/Port", "p"},        {"Last/MinPing", "mp"},
      {"last/FloodMsgTime", "ft"}, {"Last/FloodMsgNb", "fn"}, {"last/MaxConnSet", "6"},
      {"Last/Public", "0"},        {"last/MotdLine", "a@b@"}};
  EXPECT_EQ(
      Run([&] { form.Load(); }),
      (Journal{"set text Text1 10.0.0.5", "lookup Last/ServerName",   "set text Text1 n",
               "lookup Last/Location",    "set text Text1 l",         "lookup Last/URL",
               "set text Text1 u",        "lookup Last/MaxUsers",     "set text Text1 m",
               "lookup Last/Port",        "set text Text1 p",         "lookup Last/MinPing",
               "set text Text1 mp",       "lookup last/FloodMsgTime", "set text Text3 ft",
               "lookup Last/FloodMsgNb",  "set text Text4 fn",        "lookup last/MaxConnSet",
               "select Option3(6)",       "lookup Last/Public",       "select Option1(-1)",
               "lookup last/MotdLine",    "set text Text2 a@b@",      "set text Text2 a\r\nb"}));
  EXPECT_EQ(view.texts.at(C::Text1_5), u"10.0.0.5");
  EXPECT_FALSE(view.IsSelected(C::Option3_0));
  EXPECT_FALSE(view.IsSelected(C::Option2));
  EXPECT_FALSE(form.ServerRunning);
}

TEST_F(Form1Test, LoadAppliesNumbersAndLeavesUnusableValuesAlone) {
  struct Case {
    std::string maxConnSet;
    std::string publicValue;
    C speedClass;
    C connectionType;
  };
  const Case cases[] = {
      {"3", "1", C::Option3_3, C::Option2},
      {"03", "01", C::Option3_3, C::Option2},
      {"6.0", "1e0", C::Option3_6, C::Option2},
      {" 2 ", "+1", C::Option3_2, C::Option2},
      {"7", "2", C::Option3_0, C::Option1},
      {"-1", "-1", C::Option3_0, C::Option1},
      {"2.5", "0", C::Option3_0, C::Option1},
      {"abc", "abc", C::Option3_0, C::Option2},
      {"", "", C::Option3_0, C::Option2},
      {"0x3", "inf", C::Option3_0, C::Option2},
      {"99999999999999999999", "nan", C::Option3_0, C::Option2},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    FakeView window(platform.journal);
    Form1 panel(window, platform.platform);
    platform.files.existing.insert(u"quenzartsrv.ini");
    platform.profile.values = {{"last/MaxConnSet", c.maxConnSet}, {"Last/Public", c.publicValue}};
    panel.Load();
    EXPECT_TRUE(window.IsSelected(c.speedClass)) << "MaxConnSet=" << c.maxConnSet;
    EXPECT_TRUE(window.IsSelected(c.connectionType)) << "Public=" << c.publicValue;
  }
}

TEST_F(Form1Test, LoadReadsTheFileOfTheCurrentDirectoryWithoutADoubledSeparator) {
  fake.files.existing.insert(u"quenzartsrv.ini");
  fake.environment.currentDirectory = u"/";
  fake.profile.expectedPath = "/quenzartsrv.ini";
  fake.profile.values = {{"Last/ServerName", "root"}};
  form.Load();
  EXPECT_EQ(view.texts.at(C::Text1_0), u"root");
}

TEST_F(Form1Test, LoadOfAMissingMessageLeavesAnEmptyBox) {
  fake.files.existing.insert(u"quenzartsrv.ini");
  form.Load();
  EXPECT_EQ(view.texts.at(C::Text2), u"");
  EXPECT_EQ(view.texts.at(C::Text1_0), u"");
}

}  // namespace
}  // namespace quenzart
