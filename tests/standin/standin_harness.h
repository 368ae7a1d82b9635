#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/test_support.h"

namespace quenzart::standin_test {

using namespace std::chrono_literals;

// CP936 bytes of text the tests put in configurations, and the same text in
// UTF-8 as the page must show it.
inline constexpr std::string_view kWelcomeCp936 = "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1";
inline constexpr std::string_view kWelcomeUtf8 = "欢迎光临！";
inline constexpr std::string_view kServerNameCp936 = "\xC7\xE0\xC9\xBD\xB7\xFE\xCE\xF1\xC6\xF7";
inline constexpr std::string_view kServerNameUtf8 = "青山服务器";
inline constexpr std::string_view kLocationCp936 = "\xB1\xB1\xBE\xA9";
inline constexpr std::string_view kLocationUtf8 = "北京";
inline constexpr std::string_view kSecondLineCp936 = "\xB5\xDA\xB6\xFE\xD0\xD0";
inline constexpr std::string_view kSecondLineUtf8 = "第二行";

// The values of a quenzartsrv.conf, laid out in the order the panel writes.
struct ConfigFields {
  std::string serverName = "Tamberlow";
  std::string location;
  std::string url = "http://";
  std::string maxUsers = "50";
  std::string port;
  std::vector<std::string> welcomeLines{std::string(kWelcomeCp936), ""};
  std::string allowWebAccess = "1";
};

// The bytes of the file: lines joined by lineEnd, with or without a break
// after the last one.
std::string ComposeConfig(const ConfigFields& fields, std::string_view lineEnd = "\r\n",
                          bool breakAfterLast = false);

using ::quenzart::testing::TemporaryDirectory;

// A TCP port on 127.0.0.1 that was free a moment ago.
std::uint16_t FreeLoopbackPort();

// A quenzartsrv process that this test did not start, such as one an
// operator left running.
std::optional<pid_t> FindRunningStandin();

// The stand-in started as a child of the test in a directory, its stdout and
// stderr in a file there. Whatever the test does, the child is ended by its
// id and reaped when the object goes.
class StandinProcess {
 public:
  StandinProcess(const std::filesystem::path& program, const std::filesystem::path& directory,
                 const std::vector<std::string>& arguments);
  ~StandinProcess();
  StandinProcess(const StandinProcess&) = delete;
  StandinProcess& operator=(const StandinProcess&) = delete;

  pid_t pid() const { return pid_; }
  std::filesystem::path pidFilePath() const { return directory_ / "quenzartsrv.pid"; }
  std::string Output() const;

  // True once the pid file holds this process's id; false when the process
  // ended first or the time ran out.
  bool WaitForPidFile(std::chrono::milliseconds limit = 10s);

  // The wait status once the process has ended within the limit.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  bool Running();
  void Signal(int signal);

  // SIGTERM, then SIGKILL when it has not ended after a few seconds.
  int Stop();

 private:
  std::filesystem::path directory_;
  pid_t pid_ = -1;
  std::optional<int> waitStatus_;
};

struct HttpReply {
  std::string raw;
  int status = 0;  // 0 when nothing like a status line came back
  std::string head;
  std::string body;
  bool closedByServer = false;

  // The value of a header, names compared without case; nothing when absent.
  std::optional<std::string> Header(std::string_view name) const;
};

// How a test client talks to the server.
struct ClientBehaviour {
  // Shuts its sending side once the request is out, as some clients do.
  bool closeAfterSending = false;
  std::chrono::milliseconds limit = 10s;
};

// Sends request to 127.0.0.1:port and reads until the server closes or the
// limit passes.
HttpReply Exchange(std::uint16_t port, std::string_view request,
                   const ClientBehaviour& behaviour = {});

inline constexpr std::string_view kPlainGet = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

// A connection to 127.0.0.1:port held open by the test.
class LoopbackConnection {
 public:
  explicit LoopbackConnection(std::uint16_t port);
  ~LoopbackConnection();
  LoopbackConnection(LoopbackConnection&& other) noexcept;
  LoopbackConnection(const LoopbackConnection&) = delete;
  LoopbackConnection& operator=(const LoopbackConnection&) = delete;
  LoopbackConnection& operator=(LoopbackConnection&&) = delete;

  bool connected() const { return fd_ >= 0; }
  bool Send(std::string_view bytes);
  // Whether the server closes the connection within the limit; data it
  // sends meanwhile is read past.
  bool ClosedByServerWithin(std::chrono::milliseconds limit);

 private:
  int fd_ = -1;
};

// Each test gets its own directory and port; it skips when a quenzartsrv
// that it did not start is running, and leaves that one alone.
class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ConfigFields DefaultFields() const;
  void WriteConfig(std::string_view bytes);
  // Starts the stand-in; expects nothing about how it fares.
  StandinProcess& Start(const std::vector<std::string>& arguments = {});
  // Writes the configuration, starts the stand-in and waits for its pid
  // file; false when it never appears.
  [[nodiscard]] bool StartServing(const ConfigFields& fields,
                                  const std::vector<std::string>& arguments = {});
  StandinProcess& standin() { return *standin_; }

  std::filesystem::path program_;
  std::optional<TemporaryDirectory> directory_;
  std::uint16_t port_ = 0;
  std::optional<StandinProcess> standin_;
};

}  // namespace quenzart::standin_test
