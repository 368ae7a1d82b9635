#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace quenzart::standin {

// Larger request heads are answered with 431: the status page needs none of
// that, and it keeps every connection's buffer small.
inline constexpr std::size_t kMaxRequestHeadBytes = 16 * 1024;

enum class HeadState { kIncomplete, kComplete, kTooLarge };

struct HeadScan {
  HeadState state = HeadState::kIncomplete;
  std::string_view head;  // request line and header lines, when complete
};

// Looks for the empty line that ends a request head in what has arrived so
// far. Lines may end in CR LF or LF alone; empty lines before the request
// line are passed over. Each call looks only at bytes it has not seen, so a
// client sending a byte at a time costs no more than one sending it all.
class RequestHeadScanner {
 public:
  // received is everything so far: what an earlier call saw, then more.
  HeadScan Scan(std::string_view received);

 private:
  std::size_t lineStart_ = 0;
  std::size_t searchFrom_ = 0;
  std::size_t headStart_ = 0;
  bool sawRequestLine_ = false;
};

struct Request {
  std::string_view method;
  std::string_view target;
};

// The request line of a complete head, or the status that answers a head
// that is not HTTP/1.x: 400 for a malformed one, 505 for another version.
std::variant<Request, int> ParseRequestHead(std::string_view head);

std::string_view ReasonPhrase(int status);

struct Response {
  int status = 200;
  std::string contentType;
  std::string body;
  std::string extraHeaders;  // whole "Name: value\r\n" lines
  bool withBody = true;      // false answers HEAD: same headers, no body
};

// The bytes sent for a response; every connection closes after one.
std::string SerializeResponse(const Response& response);

// A short text/plain response carrying its own status line as the body.
Response ErrorResponse(int status);

}  // namespace quenzart::standin
