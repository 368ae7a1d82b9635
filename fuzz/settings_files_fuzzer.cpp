// The welcome-message split and both file compositions over arbitrary UTF-16
// field values and welcome message.
//
// - The split has one more segment than the message has line breaks (CR LF,
//   lone CR, lone LF), none holds CR or LF, and joining them with CR LF gives
//   the message with every break written as CR LF.
// - quenzartsrv.conf is "Key=value" lines joined by CR LF: each key once, in
//   order ("MaxConnSet" only for a speed class 0..6), one "MotdLine=" line per
//   segment, and "AllowWebAccess=1" last with nothing after it. No value holds
//   CR or LF; a value is its field with each CR or LF written as a blank.
// - quenzartsrv.ini is "[Last]", the same keys less "IP", and one "MotdLine="
//   line, each line ending in CR LF. The stored message decodes back to the
//   segments joined by CR LF when no segment holds "@".
// - Read back through the profile parser, each field whose value survives
//   the parser's trimming and unquoting unchanged comes back as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/profile_parser.h"
#include "settings/settings_files.h"
#include "settings/welcome_message.h"

namespace {

using namespace quenzart;
using fuzz::Utf16Units;

struct TextField {
  std::u16string_view key;
  std::u16string PanelSettings::*field;
};

constexpr TextField kLeading[] = {
    {u"ServerName", &PanelSettings::ServerName},
    {u"Location", &PanelSettings::Location},
    {u"URL", &PanelSettings::URL},
    {u"MaxUsers", &PanelSettings::MaxUsers},
    {u"Port", &PanelSettings::Port},
};
constexpr TextField kIp = {u"IP", &PanelSettings::IP};
constexpr TextField kTrailing[] = {
    {u"FloodMsgNb", &PanelSettings::FloodMsgNb},
    {u"FloodMsgTime", &PanelSettings::FloodMsgTime},
    {u"MinPing", &PanelSettings::MinPing},
};

bool IsLineBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

std::u16string Blanked(std::u16string_view value) {
  std::u16string text(value);
  for (char16_t& c : text) {
    if (IsLineBreak(c)) c = u' ';
  }
  return text;
}

std::vector<std::u16string_view> SplitAtCrLf(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  for (;;) {
    const auto end = text.find(u"\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::u16string_view::npos) return lines;
    text.remove_prefix(end + 2);
  }
}

std::u16string JoinWithCrLf(const std::vector<std::u16string>& segments) {
  std::u16string text;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += segments[i];
  }
  return text;
}

// The message with each of its line breaks written as CR LF.
std::u16string WithCrLfBreaks(std::u16string_view message) {
  std::u16string text;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == u'\r' && i + 1 < message.size() && message[i + 1] == u'\n') ++i;
    if (IsLineBreak(message[i])) {
      text += u"\r\n";
    } else {
      text += message[i];
    }
  }
  return text;
}

// Whether the profile parser hands the value back untouched: no NUL, no
// blank at either end, no pair of quotes around it.
bool SurvivesTheParser(std::u16string_view value) {
  if (value.find(u'\0') != std::u16string_view::npos) return false;
  if (TrimProfileBlanks(value).size() != value.size()) return false;
  return !(value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
           value.back() == value.front());
}

struct Line {
  std::u16string key;
  std::u16string value;
};

std::vector<Line> ExpectedLines(const PanelSettings& settings, bool withIp,
                                const std::vector<std::u16string>& segments) {
  std::vector<Line> lines;
  for (const TextField& f : kLeading)
    lines.push_back({std::u16string(f.key), Blanked(settings.*f.field)});
  lines.push_back({u"Public", settings.Public ? u"1" : u"0"});
  if (withIp) lines.push_back({std::u16string(kIp.key), Blanked(settings.*kIp.field)});
  for (const TextField& f : kTrailing)
    lines.push_back({std::u16string(f.key), Blanked(settings.*f.field)});
  if (settings.MaxConnSet && *settings.MaxConnSet >= 0 && *settings.MaxConnSet <= 6) {
    lines.push_back(
        {u"MaxConnSet", std::u16string(1, static_cast<char16_t>(u'0' + *settings.MaxConnSet))});
  }
  if (withIp) {
    for (const std::u16string& segment : segments) lines.push_back({u"MotdLine", segment});
  }
  return lines;
}

void CheckLines(const std::vector<std::u16string_view>& actual, std::size_t first,
                const std::vector<Line>& expected) {
  FUZZ_CHECK(actual.size() >= first + expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::u16string_view line = actual[first + i];
    FUZZ_CHECK(line.find_first_of(u"\r\n") == std::u16string_view::npos);
    const std::u16string prefix = expected[i].key + u"=";
    FUZZ_CHECK(line.starts_with(prefix));
    FUZZ_CHECK(line.substr(prefix.size()) == expected[i].value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  PanelSettings settings;
  settings.Public = input.ConsumeBool();
  const int speedClass = input.ConsumeIntegralInRange<int>(-2, 8);
  if (speedClass != -2) settings.MaxConnSet = speedClass;
  std::vector<TextField> fields(std::begin(kLeading), std::end(kLeading));
  fields.push_back(kIp);
  fields.insert(fields.end(), std::begin(kTrailing), std::end(kTrailing));
  for (const TextField& f : fields)
    settings.*f.field = Utf16Units(input.ConsumeRandomLengthString(64));
  settings.WelcomeMessage = Utf16Units(input.ConsumeRemainingBytesAsString());

  // The split.
  const std::u16string& message = settings.WelcomeMessage;
  const std::vector<std::u16string> segments = SplitWelcomeMessage(message);
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == u'\r' && i + 1 < message.size() && message[i + 1] == u'\n') ++i;
    if (IsLineBreak(message[i])) ++breaks;
  }
  FUZZ_CHECK(segments.size() == breaks + 1);
  for (const std::u16string& segment : segments) {
    FUZZ_CHECK(segment.find_first_of(u"\r\n") == std::u16string::npos);
  }
  FUZZ_CHECK(JoinWithCrLf(segments) == WithCrLfBreaks(message));

  // The server configuration.
  const std::u16string config = ComposeServerConfig(settings);
  const auto configLines = SplitAtCrLf(config);
  const std::vector<Line> expectedConfig = ExpectedLines(settings, /*withIp=*/true, segments);
  CheckLines(configLines, 0, expectedConfig);
  FUZZ_CHECK(configLines.size() == expectedConfig.size() + 1);
  FUZZ_CHECK(configLines.back() == u"AllowWebAccess=1");

  // The saved settings.
  const std::u16string saved = ComposeSavedSettings(settings);
  FUZZ_CHECK(saved.ends_with(u"\r\n"));
  const auto savedLines = SplitAtCrLf(std::u16string_view(saved).substr(0, saved.size() - 2));
  FUZZ_CHECK(savedLines.front() == u"[Last]");
  const std::vector<Line> expectedSaved = ExpectedLines(settings, /*withIp=*/false, segments);
  CheckLines(savedLines, 1, expectedSaved);
  FUZZ_CHECK(savedLines.size() == expectedSaved.size() + 2);
  const std::u16string_view motd = savedLines.back();
  FUZZ_CHECK(motd.starts_with(u"MotdLine="));
  FUZZ_CHECK(motd.find_first_of(u"\r\n") == std::u16string_view::npos);
  const std::u16string_view stored = motd.substr(9);
  if (message.find(u'@') == std::u16string::npos) {
    FUZZ_CHECK(DecodeWelcomeMessage(stored) == JoinWithCrLf(segments));
  }

  // Back through the profile parser, as the next start of the panel reads it.
  const ParsedProfile parsed(saved);
  for (const TextField& f : fields) {
    if (f.key == kIp.key) continue;
    const std::u16string written = Blanked(settings.*f.field);
    if (!SurvivesTheParser(written)) continue;
    const auto value = parsed.Lookup(u"last", f.key);
    FUZZ_CHECK(value.has_value() && *value == written);
  }
  if (SurvivesTheParser(stored)) {
    const auto value = parsed.Lookup(u"Last", u"MotdLine");
    FUZZ_CHECK(value.has_value() && *value == stored);
  }
  return 0;
}
