#include "tools/quenzartsrv/web_server.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <variant>

#include "tools/quenzartsrv/fatal_error.h"
#include "tools/quenzartsrv/status_page.h"

namespace quenzart::standin {
namespace {

// Time to send a response, and then to read what the client still sends:
// closing with unread input would reset the connection and could lose the
// response on the client's side.
constexpr std::chrono::seconds kSendTimeout{10};
constexpr std::chrono::seconds kDrainTimeout{2};

// Limits on one wake-up's work, so that one busy client cannot starve others.
constexpr int kMaxAcceptsPerWake = 128;
constexpr std::size_t kMaxDrainBytesPerWake = 256 * 1024;

constexpr std::size_t kReadChunkBytes = 4096;
constexpr int kListenBacklog = 128;

bool WouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

UniqueFd ListenOnAllInterfaces(std::uint16_t port) {
  const std::string what = "cannot listen on port " + std::to_string(port);
  UniqueFd listener(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!listener.valid()) throw SystemError(what);
  const int on = 1;
  if (setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
    throw SystemError(what);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener.get(), kListenBacklog) != 0) {
    throw SystemError(what);
  }
  return listener;
}

void LogRequest(std::string_view method, std::string_view target, int status) {
  constexpr std::size_t kMaxTargetShown = 200;
  const std::string shown(target.substr(0, kMaxTargetShown));
  std::fprintf(stderr, "quenzartsrv: %.*s %s%s -> %d\n", static_cast<int>(method.size()),
               method.data(), shown.c_str(), target.size() > kMaxTargetShown ? "..." : "", status);
}

}  // namespace

WebServer::WebServer(const ServerConfig& config, Clock::time_point startedAt)
    : config_(config), startedAt_(startedAt), listener_(ListenOnAllInterfaces(config.port)) {
  connections_.reserve(kMaxConnections);
}

void WebServer::AddPollEntries(std::vector<pollfd>& entries) const {
  entries.push_back({listener_.get(), POLLIN, 0});
  for (const Connection& connection : connections_) {
    const short events = connection.phase == Phase::kSending ? POLLOUT : POLLIN;
    entries.push_back({connection.socket.get(), events, 0});
  }
}

int WebServer::PollTimeoutMilliseconds(Clock::time_point now) const {
  if (connections_.empty()) return -1;
  const auto nearest = std::min_element(
      connections_.begin(), connections_.end(),
      [](const Connection& a, const Connection& b) { return a.deadline < b.deadline; });
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nearest->deadline - now).count();
  return static_cast<int>(std::clamp<decltype(wait)>(wait, 0, INT_MAX));
}

void WebServer::HandlePollResults(std::span<const pollfd> entries, Clock::time_point now) {
  // Entry 0 is the listener; connections follow in order, and none has been
  // added or removed since the entries were made.
  for (std::size_t index = 0; index < connections_.size() && index + 1 < entries.size(); ++index) {
    Connection& connection = connections_[index];
    const short revents = entries[index + 1].revents;
    if (revents == 0) continue;
    if (revents & POLLNVAL) {
      connection.phase = Phase::kClosed;
    } else if (connection.phase == Phase::kReading) {
      Receive(connection, now);
    } else if (connection.phase == Phase::kSending) {
      Send(connection, now);
    } else if (connection.phase == Phase::kDraining) {
      Drain(connection);
    }
  }
  std::erase_if(connections_, [now](const Connection& connection) {
    return connection.phase == Phase::kClosed || connection.deadline <= now;
  });
  if (!entries.empty() && (entries[0].revents & POLLIN)) AcceptPending(now);
}

void WebServer::Receive(Connection& connection, Clock::time_point now) {
  bool peerClosed = false;
  char chunk[kReadChunkBytes];
  while (connection.received.size() <= kMaxRequestHeadBytes) {
    const ssize_t got = recv(connection.socket.get(), chunk, sizeof chunk, 0);
    if (got > 0) {
      connection.received.append(chunk, static_cast<std::size_t>(got));
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else if (got < 0 && WouldBlock(errno)) {
      break;
    } else {
      peerClosed = true;
      break;
    }
  }

  // A client may send its request and shut its side in one go: answer what
  // came before the end.
  const HeadScan scan = connection.scanner.Scan(connection.received);
  if (scan.state == HeadState::kComplete) {
    Respond(connection, Answer(scan.head, now), now);
  } else if (scan.state == HeadState::kTooLarge) {
    LogRequest("(head over 16 KiB)", "", 431);
    Respond(connection, ErrorResponse(431), now);
  } else if (peerClosed) {
    connection.phase = Phase::kClosed;
  }
}

Response WebServer::Answer(std::string_view head, Clock::time_point now) const {
  const std::variant<Request, int> parsed = ParseRequestHead(head);
  if (const int* status = std::get_if<int>(&parsed)) {
    LogRequest("(malformed request)", "", *status);
    return ErrorResponse(*status);
  }
  const Request& request = std::get<Request>(parsed);
  Response response;
  if (request.method == "GET" || request.method == "HEAD") {
    const auto uptime = std::chrono::duration_cast<std::chrono::seconds>(now - startedAt_);
    response.contentType = "text/html; charset=utf-8";
    response.body = RenderStatusPage(config_, uptime.count());
    response.withBody = request.method == "GET";
  } else {
    response = ErrorResponse(405);
    response.extraHeaders = "Allow: GET, HEAD\r\n";
  }
  LogRequest(request.method, request.target, response.status);
  return response;
}

void WebServer::Respond(Connection& connection, const Response& response, Clock::time_point now) {
  connection.received.clear();
  connection.received.shrink_to_fit();
  connection.unsent = SerializeResponse(response);
  connection.phase = Phase::kSending;
  connection.deadline = now + kSendTimeout;
  Send(connection, now);
}

void WebServer::Send(Connection& connection, Clock::time_point now) {
  while (!connection.unsent.empty()) {
    const ssize_t sent = send(connection.socket.get(), connection.unsent.data(),
                              connection.unsent.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      connection.unsent.erase(0, static_cast<std::size_t>(sent));
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && WouldBlock(errno)) {
      return;
    } else {
      connection.phase = Phase::kClosed;
      return;
    }
  }
  shutdown(connection.socket.get(), SHUT_WR);
  connection.phase = Phase::kDraining;
  connection.deadline = now + kDrainTimeout;
}

void WebServer::Drain(Connection& connection) {
  char chunk[kReadChunkBytes];
  std::size_t drained = 0;
  while (drained < kMaxDrainBytesPerWake) {
    const ssize_t got = recv(connection.socket.get(), chunk, sizeof chunk, 0);
    if (got > 0) {
      drained += static_cast<std::size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else if (got < 0 && WouldBlock(errno)) {
      return;
    } else {
      connection.phase = Phase::kClosed;
      return;
    }
  }
}

void WebServer::AcceptPending(Clock::time_point now) {
  for (int attempt = 0; attempt < kMaxAcceptsPerWake; ++attempt) {
    UniqueFd socket(accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!socket.valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      // Nothing more waits, or the process is out of descriptors for now:
      // the next wake-up tries again.
      return;
    }
    if (connections_.size() >= kMaxConnections && !DropLongestWaiting()) continue;
    Connection connection;
    connection.socket = std::move(socket);
    connection.acceptedAt = now;
    connection.deadline = now + kRequestTimeout;
    connections_.push_back(std::move(connection));
  }
}

bool WebServer::DropLongestWaiting() {
  // A connection still waiting for its request goes first, then one that has
  // had its answer; one being answered stays.
  auto oldestIn = [this](Phase phase) {
    auto oldest = connections_.end();
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
      if (it->phase == phase &&
          (oldest == connections_.end() || it->acceptedAt < oldest->acceptedAt)) {
        oldest = it;
      }
    }
    return oldest;
  };
  auto victim = oldestIn(Phase::kReading);
  if (victim == connections_.end()) victim = oldestIn(Phase::kDraining);
  if (victim == connections_.end()) return false;
  connections_.erase(victim);
  return true;
}

}  // namespace quenzart::standin
