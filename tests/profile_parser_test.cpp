#include <gtest/gtest.h>

#include "platform/profile_parser.h"

namespace quenzart {
namespace {

struct LookupCase {
  const char* name;
  std::u16string file;
  std::u16string section;
  std::u16string key;
  std::optional<std::u16string> value;
};

class ParsedProfileTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ParsedProfileTest, FindsWhatWindowsWouldFind) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(ParsedProfile(c.file).Lookup(c.section, c.key), c.value);
}

const std::u16string kSaved = u"[Last]\r\nServerName=Tamberlow\r\nMotdLine=欢迎光临！@@\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ParsedProfileTest,
    ::testing::Values(
        LookupCase{"Exact", kSaved, u"Last", u"ServerName", u"Tamberlow"},
        LookupCase{"SectionInSmallLetters", kSaved, u"last", u"ServerName", u"Tamberlow"},
        LookupCase{"SectionInCapitals", kSaved, u"LAST", u"motdline", u"欢迎光临！@@"},
        LookupCase{"MissingKey", kSaved, u"Last", u"Port", std::nullopt},
        LookupCase{"MissingSection", kSaved, u"Other", u"ServerName", std::nullopt},
        LookupCase{"CallerNamesTrimmed", kSaved, u" Last ", u"\tServerName ", u"Tamberlow"},
        LookupCase{"BlanksAroundEverything", u"  [  Last  ]  \n  Port  =  27888  \n", u"Last",
                   u"Port", u"27888"},
        LookupCase{"OnlyTheseBlanks", u"[Last]\nPort=\u00A027888\v\f\x1A\n", u"Last", u"Port",
                   u"\u00A027888"},
        LookupCase{"DoubleQuotes", u"[Last]\nURL=\" http:// \"\n", u"Last", u"URL", u" http:// "},
        LookupCase{"SingleQuotes", u"[Last]\nURL='x'\n", u"Last", u"URL", u"x"},
        LookupCase{"UnmatchedQuotes", u"[Last]\nURL=\"x'\n", u"Last", u"URL", u"\"x'"},
        LookupCase{"OneQuoteOnly", u"[Last]\nURL=\"\n", u"Last", u"URL", u"\""},
        LookupCase{"FirstKeyWins", u"[Last]\nPort=1\nport=2\n", u"Last", u"Port", u"1"},
        LookupCase{"FirstSectionAloneIsSearched", u"[Last]\nA=1\n[last]\nPort=2\n", u"Last",
                   u"Port", std::nullopt},
        LookupCase{"SplitAtFirstEquals", u"[Last]\nMotdLine=a=b%c@\n", u"Last", u"MotdLine",
                   u"a=b%c@"},
        LookupCase{"KeyWithoutValue", u"[Last]\nPort\nPort=2\n", u"Last", u"Port", std::nullopt},
        LookupCase{"CommentsAreKeys", u"[Last]\n;Port=1\n#x=2\n", u"Last", u";Port", u"1"},
        LookupCase{"CarriageReturnsEndLines", u"[Last]\rA=1\rB=2", u"Last", u"B", u"2"},
        LookupCase{"BlankLinesIgnored", u"\r\n\r\n[Last]\r\n\r\n\r\nA=1\r\n", u"Last", u"A", u"1"},
        LookupCase{"NameRunsToTheLastBracket", u"[a]b]\nK=v\n", u"a]b", u"K", u"v"},
        LookupCase{"BracketWithoutCloseIsNoSection", u"[Last]\n[broken\nK=v\n", u"Last", u"K",
                   u"v"},
        LookupCase{"KeysBeforeAnySection", u"K=v\n[Last]\n", u"", u"K", u"v"},
        LookupCase{"NulEndsTheValue", std::u16string(u"[Last]\nK=ab\0cd\n", 15), u"Last", u"K",
                   u"ab"},
        LookupCase{"NulEndsTheKey", std::u16string(u"[Last]\nK\0x=v\n", 13), u"Last", u"K", u"v"},
        LookupCase{"NonAsciiNotCaseFolded", u"[Ä]\nK=v\n", u"ä", u"K", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenzart
