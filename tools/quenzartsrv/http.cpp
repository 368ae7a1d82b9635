#include "tools/quenzartsrv/http.h"

#include <algorithm>

namespace quenzart::standin {
namespace {

// Takes the next line off rest, without its line end; false when no whole
// line is left.
bool TakeLine(std::string_view& rest, std::string_view& line) {
  const std::size_t lineEnd = rest.find('\n');
  if (lineEnd == std::string_view::npos) return false;
  line = rest.substr(0, lineEnd);
  if (line.ends_with('\r')) line.remove_suffix(1);
  rest.remove_prefix(lineEnd + 1);
  return true;
}

bool IsTokenCharacter(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenCharacter);
}

bool IsVisibleAscii(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

HeadScan RequestHeadScanner::Scan(std::string_view received) {
  for (;;) {
    const std::size_t lineEnd = received.find('\n', searchFrom_);
    if (lineEnd == std::string_view::npos) break;
    std::string_view line = received.substr(lineStart_, lineEnd - lineStart_);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lineStart_ = searchFrom_ = lineEnd + 1;
    if (lineStart_ > kMaxRequestHeadBytes) return {HeadState::kTooLarge, {}};
    if (!line.empty()) {
      sawRequestLine_ = true;
    } else if (sawRequestLine_) {
      return {HeadState::kComplete, received.substr(headStart_, lineStart_ - headStart_)};
    } else {
      headStart_ = lineStart_;
    }
  }
  searchFrom_ = received.size();
  if (received.size() > kMaxRequestHeadBytes) return {HeadState::kTooLarge, {}};
  return {HeadState::kIncomplete, {}};
}

std::variant<Request, int> ParseRequestHead(std::string_view head) {
  std::string_view line;
  if (!TakeLine(head, line)) return 400;

  const std::size_t firstSpace = line.find(' ');
  if (firstSpace == std::string_view::npos) return 400;
  const std::size_t secondSpace = line.find(' ', firstSpace + 1);
  if (secondSpace == std::string_view::npos) return 400;
  const Request request{line.substr(0, firstSpace),
                        line.substr(firstSpace + 1, secondSpace - firstSpace - 1)};
  const std::string_view version = line.substr(secondSpace + 1);
  if (!IsToken(request.method) || !IsVisibleAscii(request.target)) return 400;
  if (version.size() != 8 || !version.starts_with("HTTP/") || !IsDigit(version[5]) ||
      version[6] != '.' || !IsDigit(version[7])) {
    return 400;
  }
  if (version[5] != '1') return 505;

  while (TakeLine(head, line)) {
    if (line.empty()) break;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return 400;
  }
  return request;
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 405:
      return "Method Not Allowed";
    case 431:
      return "Request Header Fields Too Large";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Internal Server Error";
  }
}

std::string SerializeResponse(const Response& response) {
  std::string bytes = "HTTP/1.1 " + std::to_string(response.status) + " ";
  bytes += ReasonPhrase(response.status);
  bytes += "\r\nContent-Type: " + response.contentType;
  bytes += "\r\nContent-Length: " + std::to_string(response.body.size());
  bytes += "\r\nConnection: close\r\n";
  bytes += response.extraHeaders;
  bytes += "\r\n";
  if (response.withBody) bytes += response.body;
  return bytes;
}

Response ErrorResponse(int status) {
  Response response;
  response.status = status;
  response.contentType = "text/plain; charset=utf-8";
  response.body = std::to_string(status) + " " + std::string(ReasonPhrase(status)) + "\n";
  return response;
}

}  // namespace quenzart::standin
