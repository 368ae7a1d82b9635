#include <gtest/gtest.h>

#include "settings/settings_files.h"
#include "tests/fakes.h"
#include "tests/sample_settings.h"

namespace quenzart {
namespace {

using ::quenzart::testing::FakeFileSystem;
using ::quenzart::testing::Journal;
using ::quenzart::testing::NewWindowSettings;

TEST(ComposeTest, NewWindowGivesBothFilesLineForLine) {
  const PanelSettings settings = NewWindowSettings();
  EXPECT_EQ(ComposeServerConfig(settings),
            u"ServerName=Tamberlow\r\nLocation=\r\nURL=http://\r\nMaxUsers=50\r\nPort=27888\r\n"
            u"Public=1\r\nIP=10.0.0.5\r\nFloodMsgNb=3\r\nFloodMsgTime=5\r\nMinPing=0\r\n"
            u"MaxConnSet=0\r\nMotdLine=欢迎光临！\r\nMotdLine=\r\nAllowWebAccess=1");
  EXPECT_EQ(ComposeSavedSettings(settings),
            u"[Last]\r\nServerName=Tamberlow\r\nLocation=\r\nURL=http://\r\nMaxUsers=50\r\n"
            u"Port=27888\r\nPublic=1\r\nFloodMsgNb=3\r\nFloodMsgTime=5\r\nMinPing=0\r\n"
            u"MaxConnSet=0\r\nMotdLine=欢迎光临！@@\r\n");
}

// Every field differs from the defaults and from each other, so a field
// written under the wrong key or dropped shows.
TEST(ComposeTest, EveryFieldReachesItsOwnKey) {
  PanelSettings settings;
  settings.ServerName = u"n";
  settings.Location = u"l";
  settings.URL = u"u";
  settings.MaxUsers = u"m";
  settings.Port = u"p";
  settings.Public = false;
  settings.IP = u"i";
  settings.FloodMsgNb = u"fn";
  settings.FloodMsgTime = u"ft";
  settings.MinPing = u"mp";
  settings.MaxConnSet = 6;
  settings.WelcomeMessage = u"w1\r\nw2";
  EXPECT_EQ(ComposeServerConfig(settings),
            u"ServerName=n\r\nLocation=l\r\nURL=u\r\nMaxUsers=m\r\nPort=p\r\nPublic=0\r\nIP=i\r\n"
            u"FloodMsgNb=fn\r\nFloodMsgTime=ft\r\nMinPing=mp\r\nMaxConnSet=6\r\nMotdLine=w1\r\n"
            u"MotdLine=w2\r\nAllowWebAccess=1");
  EXPECT_EQ(ComposeSavedSettings(settings),
            u"[Last]\r\nServerName=n\r\nLocation=l\r\nURL=u\r\nMaxUsers=m\r\nPort=p\r\n"
            u"Public=0\r\nFloodMsgNb=fn\r\nFloodMsgTime=ft\r\nMinPing=mp\r\nMaxConnSet=6\r\n"
            u"MotdLine=w1@w2@\r\n");
}

TEST(ComposeTest, ValuesAreWrittenAsTyped) {
  PanelSettings settings = NewWindowSettings();
  settings.ServerName = u"  a=b @ c  ";
  settings.Port = u"";
  settings.MaxUsers = u"many";
  settings.WelcomeMessage = u"x@y";
  const std::u16string config = ComposeServerConfig(settings);
  EXPECT_TRUE(config.starts_with(u"ServerName=  a=b @ c  \r\n"));
  EXPECT_NE(config.find(u"\r\nPort=\r\n"), std::u16string::npos);
  EXPECT_NE(config.find(u"\r\nMaxUsers=many\r\n"), std::u16string::npos);
  EXPECT_NE(config.find(u"\r\nMotdLine=x@y\r\n"), std::u16string::npos);
  EXPECT_TRUE(ComposeSavedSettings(settings).ends_with(u"\r\nMotdLine=x@y@\r\n"));
}

TEST(ComposeTest, NoSelectedSpeedClassLeavesItsLineOut) {
  PanelSettings settings = NewWindowSettings();
  settings.MaxConnSet.reset();
  EXPECT_EQ(ComposeServerConfig(settings).find(u"MaxConnSet"), std::u16string::npos);
  EXPECT_EQ(ComposeSavedSettings(settings).find(u"MaxConnSet"), std::u16string::npos);
}

TEST(ComposeTest, LineBreakInASingleLineValueIsWrittenAsABlank) {
  PanelSettings settings = NewWindowSettings();
  settings.Location = u"a\r\nb\nc\rd";
  EXPECT_NE(ComposeServerConfig(settings).find(u"\r\nLocation=a  b c d\r\n"), std::u16string::npos);
  EXPECT_NE(ComposeSavedSettings(settings).find(u"\r\nLocation=a  b c d\r\n"),
            std::u16string::npos);
}

TEST(ComposeTest, WelcomeMessageLinesBecomeOneConfigLineEach) {
  PanelSettings settings = NewWindowSettings();
  settings.WelcomeMessage = u"a\nb\rc";
  EXPECT_TRUE(ComposeServerConfig(settings).ends_with(
      u"MotdLine=a\r\nMotdLine=b\r\nMotdLine=c\r\nAllowWebAccess=1"));
  EXPECT_TRUE(ComposeSavedSettings(settings).ends_with(u"MotdLine=a@b@c@\r\n"));

  settings.WelcomeMessage = u"";
  EXPECT_TRUE(ComposeServerConfig(settings).ends_with(
      u"MinPing=0\r\nMaxConnSet=0\r\nMotdLine=\r\nAllowWebAccess=1"));
  EXPECT_TRUE(ComposeSavedSettings(settings).ends_with(u"\r\nMotdLine=@\r\n"));
}

TEST(WriteSettingsFilesTest, CreatesBothThenWritesThenClosesInOrder) {
  Journal journal;
  FakeFileSystem files(journal);
  EXPECT_FALSE(WriteSettingsFiles(NewWindowSettings(), files));
  EXPECT_EQ(journal,
            (Journal{"create quenzartsrv.conf", "create quenzartsrv.ini", "write quenzartsrv.conf",
                     "write quenzartsrv.ini", "close quenzartsrv.conf", "close quenzartsrv.ini"}));
  EXPECT_EQ(files.closed.at(u"quenzartsrv.conf"), ComposeServerConfig(NewWindowSettings()));
  EXPECT_EQ(files.closed.at(u"quenzartsrv.ini"), ComposeSavedSettings(NewWindowSettings()));
}

TEST(WriteSettingsFilesTest, StopsAtTheFirstFailure) {
  struct Case {
    std::string failing;
    Journal expected;
    std::size_t filesClosed;
  };
  const Case cases[] = {
      {"create quenzartsrv.conf", {"create quenzartsrv.conf"}, 0},
      {"create quenzartsrv.ini", {"create quenzartsrv.conf", "create quenzartsrv.ini"}, 0},
      {"write quenzartsrv.ini",
       {"create quenzartsrv.conf", "create quenzartsrv.ini", "write quenzartsrv.conf",
        "write quenzartsrv.ini"},
       0},
      {"close quenzartsrv.ini",
       {"create quenzartsrv.conf", "create quenzartsrv.ini", "write quenzartsrv.conf",
        "write quenzartsrv.ini", "close quenzartsrv.conf", "close quenzartsrv.ini"},
       1},
  };
  for (const Case& c : cases) {
    Journal journal;
    FakeFileSystem files(journal);
    files.failing.insert(c.failing);
    const Outcome failure = WriteSettingsFiles(NewWindowSettings(), files);
    ASSERT_TRUE(failure) << c.failing;
    EXPECT_EQ(journal, c.expected) << c.failing;
    EXPECT_EQ(files.closed.size(), c.filesClosed) << c.failing;
  }
}

}  // namespace
}  // namespace quenzart
