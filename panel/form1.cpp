#include "panel/form1.h"

#include <cmath>
#include <vector>

#include "panel/decimal_number.h"
#include "panel/form1_layout.h"
#include "panel/messages.h"
#include "server/command_lines.h"
#include "settings/settings_files.h"
#include "settings/welcome_message.h"

namespace quenzart {
namespace {

using C = ControlId;

// The profile lookup's buffer: 254 bytes of value and the closing zero.
constexpr std::uint32_t kProfileBufferSize = 255;

enum class Restore { Text, SpeedClass, ConnectionType, WelcomeMessage };

struct RestoreStep {
  std::u16string_view section;
  std::u16string_view key;
  Restore apply;
  ControlId control;
};

// The lookups of the start-up restore, in order. Three ask for "last" in small
// letters; section names match whatever their case.
constexpr RestoreStep kRestoreSteps[] = {
    {u"Last", u"ServerName", Restore::Text, C::Text1_0},
    {u"Last", u"Location", Restore::Text, C::Text1_1},
    {u"Last", u"URL", Restore::Text, C::Text1_2},
    {u"Last", u"MaxUsers", Restore::Text, C::Text1_3},
    {u"Last", u"Port", Restore::Text, C::Text1_4},
    {u"Last", u"MinPing", Restore::Text, C::Text1_8},
    {u"last", u"FloodMsgTime", Restore::Text, C::Text3},
    {u"Last", u"FloodMsgNb", Restore::Text, C::Text4},
    {u"last", u"MaxConnSet", Restore::SpeedClass, C::Option3_0},
    {u"Last", u"Public", Restore::ConnectionType, C::Option2},
    {u"last", u"MotdLine", Restore::WelcomeMessage, C::Text2},
};

}  // namespace

Form1::Form1(Form1View& view, Platform& platform) : view_(view), platform_(platform) {}

void Form1::Load() {
  view_.SetText(C::Text1_5, platform_.environment.LocalIP());
  if (!platform_.files.FileExists(kSavedSettingsFileName)) return;

  for (const RestoreStep& step : kRestoreSteps) {
    const std::u16string value = GetFromINI(step.section, step.key);
    switch (step.apply) {
      case Restore::Text:
        view_.SetText(step.control, value);
        break;
      case Restore::SpeedClass:
        // Only a whole number that names a button is applied; anything else
        // leaves the selection the window was created with.
        if (const auto number = ParseDecimalNumber(value)) {
          const double index = *number;
          if (index >= 0 && index <= 6 && std::floor(index) == index) {
            view_.Select(kSpeedClassOptions[static_cast<int>(index)]);
          }
        }
        break;
      case Restore::ConnectionType:
        if (const auto number = ParseDecimalNumber(value)) {
          view_.Select(*number == 1 ? C::Option2 : C::Option1);
        }
        break;
      case Restore::WelcomeMessage:
        view_.SetText(step.control, value);
        view_.SetText(step.control, DecodeWelcomeMessage(view_.Text(step.control)));
        break;
    }
  }
}

void Form1::Unload() {
  EndProgram();
}

void Form1::command1_Click() {
  const PanelSettings settings = ReadSettings();
  if (auto failure = WriteSettingsFiles(settings, platform_.files)) {
    platform_.program.ReportFailure(DescribeFailure(*failure));
    return;
  }
  if (auto failure = platform_.launcher.Launch(kServerCommandLine, ShowMode::Hide)) {
    platform_.program.ReportFailure(DescribeFailure(*failure));
    return;
  }
  EnterRunningState();

  // The selection ends on the last line of the welcome message, which is
  // always the text after its last line break.
  const std::u16string& message = settings.WelcomeMessage;
  const std::size_t lastLength = SplitWelcomeMessage(message).back().size();
  view_.SetSelection(C::Text2, message.size() - lastLength, lastLength);
}

void Form1::command2_Click() {
  if (auto failure = platform_.launcher.Launch(kStopCommandLine, ShowMode::Hide)) {
    platform_.program.ReportFailure(DescribeFailure(*failure));
    return;
  }
  EnterStoppedState();
}

void Form1::Command3_Click() {
  view_.ShowAboutWindow();
}

void Form1::command4_Click() {
  EndProgram();
}

void Form1::Command5_Click() {
  const std::u16string port = view_.Text(C::Text1_4);
  const std::u16string line = StatusCommandLine(platform_.environment.LocalIP(), port);
  if (auto failure = platform_.launcher.Launch(line, ShowMode::ShowMinimized)) {
    platform_.program.ReportFailure(DescribeFailure(*failure));
  }
}

PanelSettings Form1::ReadSettings() const {
  PanelSettings settings;
  settings.ServerName = view_.Text(C::Text1_0);
  settings.Location = view_.Text(C::Text1_1);
  settings.URL = view_.Text(C::Text1_2);
  settings.MaxUsers = view_.Text(C::Text1_3);
  settings.Port = view_.Text(C::Text1_4);
  settings.Public = view_.IsSelected(C::Option2);
  settings.IP = view_.Text(C::Text1_5);
  settings.FloodMsgNb = view_.Text(C::Text4);
  settings.FloodMsgTime = view_.Text(C::Text3);
  settings.MinPing = view_.Text(C::Text1_8);
  for (int index = 0; index < 7; ++index) {
    if (view_.IsSelected(kSpeedClassOptions[index])) {
      settings.MaxConnSet = index;
      break;
    }
  }
  settings.WelcomeMessage = view_.Text(C::Text2);
  return settings;
}

void Form1::EnterRunningState() {
  view_.SetEnabled(C::command1, false);
  view_.SetEnabled(C::command2, true);
  view_.SetEnabled(C::Command5, true);
  ServerRunning = true;
  view_.SetCaption(C::Label4, kRunningCaption);
}

void Form1::EnterStoppedState() {
  ServerRunning = false;
  view_.SetCaption(C::Label4, kStoppedCaption);
  view_.SetEnabled(C::command1, true);
  view_.SetEnabled(C::command2, false);
  view_.SetEnabled(C::Command5, false);
}

// Exit and closing: stop a server the panel started, then end. Runs once, so
// the closing that follows the end of the program stops nothing a second time.
void Form1::EndProgram() {
  if (ending_) return;
  ending_ = true;
  if (ServerRunning) {
    if (auto failure = platform_.launcher.Launch(kStopCommandLine, ShowMode::Hide)) {
      platform_.program.ReportFailure(DescribeFailedStopOnExit(*failure));
    }
  }
  platform_.program.EndProgram();
}

std::u16string Form1::SavedSettingsPath() {
  // The file that start-up found and that Start writes: the one in the
  // current directory, named absolutely for the profile lookup.
  std::u16string path = platform_.environment.CurrentDirectory();
  const std::u16string_view separator = platform_.environment.PathSeparator();
  if (!path.ends_with(separator)) path += separator;
  path += kSavedSettingsFileName;
  return path;
}

std::u16string Form1::GetFromINI(std::u16string_view AppName, std::u16string_view KeyName) {
  std::vector<char> buffer(kProfileBufferSize, '\0');
  const AnsiCodec& codec = platform_.codec;
  const std::string section = codec.Encode(AppName);
  const std::string key = codec.Encode(KeyName);
  const std::string path = codec.Encode(SavedSettingsPath());
  std::uint32_t count = platform_.profile.GetPrivateProfileStringA(
      section.c_str(), key.c_str(), "", buffer.data(), kProfileBufferSize, path.c_str());
  if (count >= kProfileBufferSize) count = kProfileBufferSize - 1;
  return codec.Decode(std::string_view(buffer.data(), count));
}

}  // namespace quenzart
