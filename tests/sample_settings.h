#pragma once

#include "settings/panel_settings.h"

namespace quenzart::testing {

// The values of a new window, with the local address filled in.
inline PanelSettings NewWindowSettings(std::u16string localIp = u"10.0.0.5") {
  PanelSettings settings;
  settings.ServerName = u"Tamberlow";
  settings.URL = u"http://";
  settings.MaxUsers = u"50";
  settings.Port = u"27888";
  settings.Public = true;
  settings.IP = std::move(localIp);
  settings.FloodMsgNb = u"3";
  settings.FloodMsgTime = u"5";
  settings.MinPing = u"0";
  settings.MaxConnSet = 0;
  settings.WelcomeMessage = u"欢迎光临！\r\n";
  return settings;
}

}  // namespace quenzart::testing
