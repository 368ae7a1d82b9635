#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenzart::standin {

inline constexpr const char* kConfigFileName = "quenzartsrv.conf";

// The settings the stand-in uses from quenzartsrv.conf, as UTF-8. Keys it does
// not show (Public, IP, the flood limits, ...) are read past.
struct ServerConfig {
  std::string serverName;
  std::string location;
  std::string url;
  std::string maxUsers;
  std::vector<std::string> welcomeLines;
  std::uint16_t port = 0;
  bool allowWebAccess = false;
};

// A whole number from 1 to 65535 written with digits only, or nothing.
std::optional<std::uint16_t> ParsePort(std::string_view text);

// Parses the decoded text of the file: "Key=value" lines split at the first
// "=", values kept as they are, CR LF or LF line ends. For a key given twice
// the last line wins, except MotdLine, whose lines all count in order.
// Throws FatalError when Port is missing or not a usable port.
ServerConfig ParseServerConfig(std::string_view text);

// Reads path as code page 936 and parses it. Throws FatalError when the file
// cannot be read or holds no usable port.
ServerConfig LoadServerConfig(const std::string& path);

}  // namespace quenzart::standin
