#include "tools/quenzartsrv/status_page.h"

namespace quenzart::standin {
namespace {

void AppendRow(std::string& page, std::string_view label, std::string_view value) {
  page += "<tr><th>";
  page += label;
  page += "</th><td>";
  page += EscapeHtml(value);
  page += "</td></tr>\n";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string RenderStatusPage(const ServerConfig& config, std::int64_t uptimeSeconds) {
  std::string page =
      "<!DOCTYPE html>\n"
      "<html>\n<head>\n<meta charset=\"utf-8\">\n<title>QuenzartServer</title>\n</head>\n"
      "<body>\n<h1>QuenzartServer</h1>\n<table>\n";
  AppendRow(page, "Server name", config.serverName);
  AppendRow(page, "Location", config.location);
  AppendRow(page, "Home page", config.url);
  AppendRow(page, "User limit", config.maxUsers);
  AppendRow(page, "Uptime", std::to_string(uptimeSeconds) + " s");
  // One line of <pre> per MotdLine keeps empty lines and leading blanks. A
  // browser drops the line break right after <pre>, not an empty first line.
  page += "</table>\n<h2>Welcome message</h2>\n<pre>\n";
  for (const std::string& line : config.welcomeLines) {
    page += EscapeHtml(line);
    page += '\n';
  }
  page += "</pre>\n</body>\n</html>\n";
  return page;
}

}  // namespace quenzart::standin
