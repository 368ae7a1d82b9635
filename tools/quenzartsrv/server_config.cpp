#include "tools/quenzartsrv/server_config.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "tools/quenzartsrv/cp936.h"
#include "tools/quenzartsrv/fatal_error.h"
#include "tools/quenzartsrv/unique_fd.h"

namespace quenzart::standin {
namespace {

// The panel writes a file of a few hundred bytes; anything far larger is not
// a configuration.
constexpr std::size_t kMaxConfigBytes = 1024 * 1024;

std::string ReadWholeFile(const std::string& path) {
  UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) throw SystemError("cannot read " + path);
  std::string bytes;
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(file.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw SystemError("cannot read " + path);
    if (got == 0) return bytes;
    bytes.append(chunk, static_cast<std::size_t>(got));
    if (bytes.size() > kMaxConfigBytes) throw FatalError(path + " is larger than 1 MiB");
  }
}

// A value quoted for a one-line message: control characters would break the
// line, and a long value would bury the message.
std::string Quoted(std::string_view value) {
  constexpr std::size_t kMaxShown = 40;
  std::string quoted = "\"";
  for (const char c : value.substr(0, kMaxShown)) {
    quoted += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
  }
  if (value.size() > kMaxShown) quoted += "...";
  return quoted + "\"";
}

}  // namespace

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < 1 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

ServerConfig ParseServerConfig(std::string_view text) {
  ServerConfig config;
  std::optional<std::string> portText;
  while (!text.empty()) {
    const std::size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);

    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string value(line.substr(equals + 1));
    if (key == "ServerName") {
      config.serverName = value;
    } else if (key == "Location") {
      config.location = value;
    } else if (key == "URL") {
      config.url = value;
    } else if (key == "MaxUsers") {
      config.maxUsers = value;
    } else if (key == "MotdLine") {
      config.welcomeLines.push_back(value);
    } else if (key == "Port") {
      portText = value;
    } else if (key == "AllowWebAccess") {
      config.allowWebAccess = value == "1";
    }
  }

  if (!portText) throw FatalError("there is no Port line");
  const std::optional<std::uint16_t> port = ParsePort(*portText);
  if (!port) {
    throw FatalError("Port " + Quoted(*portText) + " is not a whole number from 1 to 65535");
  }
  config.port = *port;
  return config;
}

ServerConfig LoadServerConfig(const std::string& path) {
  const std::string text = DecodeCp936(ReadWholeFile(path));
  try {
    return ParseServerConfig(text);
  } catch (const FatalError& error) {
    throw FatalError(path + ": " + error.what());
  }
}

}  // namespace quenzart::standin
