#pragma once

#include <optional>
#include <string>

namespace quenzart {

// The values of the main window at the moment of a Start, one field per key of
// the settings files. Texts are held exactly as typed.
struct PanelSettings {
  std::u16string ServerName;
  std::u16string Location;
  std::u16string URL;
  std::u16string MaxUsers;
  std::u16string Port;
  bool Public = false;  // true: listed on the Internet; false: LAN only
  std::u16string IP;
  std::u16string FloodMsgNb;
  std::u16string FloodMsgTime;
  std::u16string MinPing;
  std::optional<int> MaxConnSet;  // index 0..6 of the highest speed class
  std::u16string WelcomeMessage;  // lines separated by CR LF
};

}  // namespace quenzart
