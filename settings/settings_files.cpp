#include "settings/settings_files.h"

#include <memory>

#include "platform/platform.h"
#include "settings/welcome_message.h"

namespace quenzart {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

// The keys shared by both files, in file order. "IP" goes to the server
// configuration only.
struct TextKey {
  std::u16string_view name;
  std::u16string PanelSettings::*field;
};
constexpr TextKey kLeadingKeys[] = {
    {u"ServerName", &PanelSettings::ServerName},
    {u"Location", &PanelSettings::Location},
    {u"URL", &PanelSettings::URL},
    {u"MaxUsers", &PanelSettings::MaxUsers},
    {u"Port", &PanelSettings::Port},
};
constexpr TextKey kTrailingKeys[] = {
    {u"FloodMsgNb", &PanelSettings::FloodMsgNb},
    {u"FloodMsgTime", &PanelSettings::FloodMsgTime},
    {u"MinPing", &PanelSettings::MinPing},
};

// A value must never start a new line of the file: a line break that reached
// a single-line field by pasting is written as a blank.
void AppendLine(std::u16string& text, std::u16string_view key, std::u16string_view value) {
  text += key;
  text += u'=';
  for (const char16_t c : value) text += (c == u'\r' || c == u'\n') ? u' ' : c;
  text += kLineBreak;
}

void AppendKeyLines(std::u16string& text, const PanelSettings& settings, bool withIp) {
  for (const TextKey& key : kLeadingKeys) AppendLine(text, key.name, settings.*key.field);
  AppendLine(text, u"Public", settings.Public ? u"1" : u"0");
  if (withIp) AppendLine(text, u"IP", settings.IP);
  for (const TextKey& key : kTrailingKeys) AppendLine(text, key.name, settings.*key.field);
  if (settings.MaxConnSet && *settings.MaxConnSet >= 0 && *settings.MaxConnSet <= 6) {
    const char16_t digit = static_cast<char16_t>(u'0' + *settings.MaxConnSet);
    AppendLine(text, u"MaxConnSet", std::u16string_view(&digit, 1));
  }
}

}  // namespace

std::u16string ComposeServerConfig(const PanelSettings& settings) {
  std::u16string text;
  AppendKeyLines(text, settings, /*withIp=*/true);
  for (const std::u16string& segment : SplitWelcomeMessage(settings.WelcomeMessage)) {
    AppendLine(text, u"MotdLine", segment);
  }
  text += u"AllowWebAccess=1";
  return text;
}

std::u16string ComposeSavedSettings(const PanelSettings& settings) {
  std::u16string text = u"[";
  text += kSavedSettingsSection;
  text += u"]";
  text += kLineBreak;
  AppendKeyLines(text, settings, /*withIp=*/false);
  std::u16string stored;
  for (const std::u16string& segment : SplitWelcomeMessage(settings.WelcomeMessage)) {
    stored += segment;
    stored += u'@';
  }
  AppendLine(text, u"MotdLine", stored);
  return text;
}

Outcome WriteSettingsFiles(const PanelSettings& settings, FileSystem& files) {
  auto config = files.CreateTextFile(kServerConfigFileName);
  if (!config.ok()) return config.failure();
  auto saved = files.CreateTextFile(kSavedSettingsFileName);
  if (!saved.ok()) return saved.failure();
  if (auto failure = config.value()->Write(ComposeServerConfig(settings))) return failure;
  if (auto failure = saved.value()->Write(ComposeSavedSettings(settings))) return failure;
  if (auto failure = config.value()->Close()) return failure;
  return saved.value()->Close();
}

}  // namespace quenzart
