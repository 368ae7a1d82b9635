#pragma once

#include <string>
#include <string_view>

#include "platform/failure.h"
#include "settings/panel_settings.h"

namespace quenzart {

class FileSystem;

inline constexpr std::u16string_view kServerConfigFileName = u"quenzartsrv.conf";
inline constexpr std::u16string_view kSavedSettingsFileName = u"quenzartsrv.ini";
inline constexpr std::u16string_view kSavedSettingsSection = u"Last";

// The whole text of quenzartsrv.conf: one "Key=value" line per setting, one
// "MotdLine=" line per line of the welcome message, and "AllowWebAccess=1" as
// the last line, with no line break after it.
std::u16string ComposeServerConfig(const PanelSettings& settings);

// The whole text of quenzartsrv.ini: "[Last]", the same keys but "IP", and the
// welcome message as one "MotdLine=" value with "@" after every line.
std::u16string ComposeSavedSettings(const PanelSettings& settings);

// Creates both files in the current directory, writes them and closes them,
// in that order. The first failure stops the sequence and is returned; a file
// that was not closed leaves the earlier one of its name untouched.
Outcome WriteSettingsFiles(const PanelSettings& settings, FileSystem& files);

}  // namespace quenzart
