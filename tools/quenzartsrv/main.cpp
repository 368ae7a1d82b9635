// quenzartsrv: a stand-in for the Quenzart server, for trying the panel without
// the real program and for the panel's end-to-end tests. It reads the
// configuration the panel writes, keeps a pid file, and serves a status page
// when web access is on.

#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/quenzartsrv/fatal_error.h"
#include "tools/quenzartsrv/pid_file.h"
#include "tools/quenzartsrv/server_config.h"
#include "tools/quenzartsrv/stop_signals.h"
#include "tools/quenzartsrv/web_server.h"

namespace quenzart::standin {
namespace {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  bool ignoreTerm = false;
};

Options ParseArguments(int argc, char** argv) {
  Options options;
  for (int index = 1; index < argc; ++index) {
    const std::string_view argument = argv[index];
    if (argument == "--ignore-term") {
      options.ignoreTerm = true;
    } else {
      throw UsageError("unknown argument \"" + std::string(argument) + "\"");
    }
  }
  return options;
}

int Run(const Options& options) {
  const auto startedAt = WebServer::Clock::now();
  StopSignals signals(options.ignoreTerm);
  const ServerConfig config = LoadServerConfig(kConfigFileName);
  std::optional<WebServer> web;
  if (config.allowWebAccess) web.emplace(config, startedAt);
  // Written once everything is set up: while the file exists the stand-in
  // runs, and the status page is served if it is on.
  const PidFile pidFile(kPidFileName);
  if (web) {
    std::fprintf(stderr, "quenzartsrv: serving the status page on port %u\n",
                 static_cast<unsigned>(config.port));
  } else {
    std::fprintf(stderr, "quenzartsrv: web access is off; running until stopped\n");
  }

  std::vector<pollfd> entries;
  for (;;) {
    entries.clear();
    entries.push_back({signals.fd(), POLLIN, 0});
    if (web) web->AddPollEntries(entries);
    const int timeout = web ? web->PollTimeoutMilliseconds(WebServer::Clock::now()) : -1;
    if (poll(entries.data(), entries.size(), timeout) < 0) {
      if (errno == EINTR) continue;
      throw SystemError("poll failed");
    }
    if (entries[0].revents != 0) {
      if (const int signal = signals.TakePending(); signal != 0) {
        std::fprintf(stderr, "quenzartsrv: stopping on %s\n", SignalName(signal));
        return 0;
      }
    }
    if (web) web->HandlePollResults(std::span(entries).subspan(1), WebServer::Clock::now());
  }
}

}  // namespace
}  // namespace quenzart::standin

int main(int argc, char** argv) {
  using namespace quenzart::standin;
  try {
    return Run(ParseArguments(argc, argv));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "quenzartsrv: %s (usage: quenzartsrv [--ignore-term])\n", error.what());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quenzartsrv: %s\n", error.what());
    return 1;
  }
}
