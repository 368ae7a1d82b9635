#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/quenzartsrv/http.h"
#include "tools/quenzartsrv/server_config.h"
#include "tools/quenzartsrv/unique_fd.h"

namespace quenzart::standin {

// Beyond this many open connections the one that has waited longest for its
// request is dropped to make room, so that a new request is always answered
// and memory stays bounded.
inline constexpr std::size_t kMaxConnections = 64;

// A client must send a whole request head this soon after connecting.
inline constexpr std::chrono::seconds kRequestTimeout{10};

// Serves the status page on every interface at the configured port, one
// request per connection, from the caller's poll loop.
class WebServer {
 public:
  using Clock = std::chrono::steady_clock;

  // Binds and listens; throws FatalError when the port cannot be had.
  WebServer(const ServerConfig& config, Clock::time_point startedAt);

  // Appends the listening socket and then one entry per connection.
  void AddPollEntries(std::vector<pollfd>& entries) const;

  // The poll() timeout until the nearest connection deadline, or -1.
  int PollTimeoutMilliseconds(Clock::time_point now) const;

  // Takes the entries added by the last AddPollEntries(), after poll().
  void HandlePollResults(std::span<const pollfd> entries, Clock::time_point now);

 private:
  enum class Phase { kReading, kSending, kDraining, kClosed };

  struct Connection {
    UniqueFd socket;
    Phase phase = Phase::kReading;
    std::string received;
    RequestHeadScanner scanner;
    std::string unsent;
    Clock::time_point acceptedAt;
    Clock::time_point deadline;
  };

  void Receive(Connection& connection, Clock::time_point now);
  void Respond(Connection& connection, const Response& response, Clock::time_point now);
  void Send(Connection& connection, Clock::time_point now);
  void Drain(Connection& connection);
  Response Answer(std::string_view head, Clock::time_point now) const;
  void AcceptPending(Clock::time_point now);
  bool DropLongestWaiting();

  const ServerConfig& config_;
  Clock::time_point startedAt_;
  UniqueFd listener_;
  std::vector<Connection> connections_;
};

}  // namespace quenzart::standin
