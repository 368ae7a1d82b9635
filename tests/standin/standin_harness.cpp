#include "tests/standin/standin_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace quenzart::standin_test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollStep = 20ms;
constexpr auto kStopGrace = 5s;

sockaddr_in LoopbackAddress(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A non-blocking socket connected to 127.0.0.1:port, or -1.
int ConnectLoopback(std::uint16_t port, std::chrono::milliseconds limit) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const sockaddr_in address = LoopbackAddress(port);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
  if (errno == EINPROGRESS) {
    pollfd entry{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    if (poll(&entry, 1, static_cast<int>(limit.count())) == 1 &&
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) {
      return fd;
    }
  }
  close(fd);
  return -1;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

HttpReply ParseReply(std::string raw, bool closedByServer) {
  HttpReply reply;
  reply.raw = std::move(raw);
  reply.closedByServer = closedByServer;
  const std::size_t headEnd = reply.raw.find("\r\n\r\n");
  if (headEnd == std::string::npos) return reply;
  reply.head = reply.raw.substr(0, headEnd + 2);
  reply.body = reply.raw.substr(headEnd + 4);
  if (reply.head.size() > 12 && reply.head.starts_with("HTTP/1.")) {
    reply.status = std::atoi(reply.head.substr(9, 3).c_str());
  }
  return reply;
}

}  // namespace

std::string ComposeConfig(const ConfigFields& fields, std::string_view lineEnd,
                          bool breakAfterLast) {
  std::vector<std::string> lines{
      "ServerName=" + fields.serverName,
      "Location=" + fields.location,
      "URL=" + fields.url,
      "MaxUsers=" + fields.maxUsers,
      "Port=" + fields.port,
      "Public=1",
      "IP=192.0.2.2",
      "FloodMsgNb=3",
      "FloodMsgTime=5",
      "MinPing=0",
      "MaxConnSet=0",
  };
  for (const std::string& line : fields.welcomeLines) lines.push_back("MotdLine=" + line);
  lines.push_back("AllowWebAccess=" + fields.allowWebAccess);

  std::string text;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    text += lines[index];
    if (index + 1 < lines.size() || breakAfterLast) text += lineEnd;
  }
  return text;
}

std::uint16_t FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  const bool bound = fd >= 0 &&
                     bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  if (fd >= 0) close(fd);
  if (!bound) throw std::runtime_error("no free port on 127.0.0.1");
  return ntohs(address.sin_port);
}

std::optional<pid_t> FindRunningStandin() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code unreadable;
    std::string program = std::filesystem::read_symlink(entry.path() / "exe", unreadable).string();
    if (unreadable) continue;
    constexpr std::string_view kDeleted = " (deleted)";
    if (program.ends_with(kDeleted)) program.resize(program.size() - kDeleted.size());
    if (std::filesystem::path(program).filename() == "quenzartsrv") return std::stoi(name);
  }
  return std::nullopt;
}

StandinProcess::StandinProcess(const std::filesystem::path& program,
                               const std::filesystem::path& directory,
                               const std::vector<std::string>& arguments)
    : directory_(directory) {
  const std::string programText = program.string();
  const std::string directoryText = directory.string();
  const std::string logText = (directory / "standin.log").string();
  std::vector<std::string> words{programText};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int log = open(logText.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int input = open("/dev/null", O_RDONLY);
    if (chdir(directoryText.c_str()) != 0 || log < 0 || input < 0) _exit(127);
    dup2(input, STDIN_FILENO);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    execv(programText.c_str(), argv.data());
    _exit(127);
  }
}

StandinProcess::~StandinProcess() {
  if (!waitStatus_) Stop();
}

std::string StandinProcess::Output() const {
  return ::quenzart::testing::ReadFileBytes(directory_ / "standin.log");
}

bool StandinProcess::WaitForPidFile(std::chrono::milliseconds limit) {
  const std::string expected = std::to_string(pid_) + "\n";
  const auto deadline = Clock::now() + limit;
  for (int attempt = 0; attempt < 10000 && Clock::now() < deadline; ++attempt) {
    if (::quenzart::testing::ReadFileBytes(pidFilePath()) == expected) return true;
    if (!Running()) return false;
    std::this_thread::sleep_for(kPollStep);
  }
  return false;
}

std::optional<int> StandinProcess::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (int attempt = 0; attempt < 10000; ++attempt) {
    if (!Running() || Clock::now() >= deadline) break;
    std::this_thread::sleep_for(kPollStep);
  }
  return waitStatus_;
}

bool StandinProcess::Running() {
  if (waitStatus_) return false;
  int status = 0;
  const pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == pid_) waitStatus_ = status;
  return !waitStatus_;
}

void StandinProcess::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

int StandinProcess::Stop() {
  Signal(SIGTERM);
  if (!WaitForExit(kStopGrace)) {
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waitStatus_ = status;
  }
  return *waitStatus_;
}

std::optional<std::string> HttpReply::Header(std::string_view name) const {
  std::string_view rest = head;
  rest.remove_prefix(std::min(rest.size(), rest.find("\r\n") + 2));  // the status line
  for (int line = 0; line < 200 && !rest.empty(); ++line) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view field = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos || !EqualIgnoringCase(field.substr(0, colon), name)) {
      continue;
    }
    std::string_view value = field.substr(colon + 1);
    while (value.starts_with(' ')) value.remove_prefix(1);
    return std::string(value);
  }
  return std::nullopt;
}

HttpReply Exchange(std::uint16_t port, std::string_view request, const ClientBehaviour& behaviour) {
  const auto deadline = Clock::now() + behaviour.limit;
  const int fd = ConnectLoopback(port, behaviour.limit);
  if (fd < 0) return {};
  std::string received;
  bool closedByServer = false;
  bool sending = true;
  for (int round = 0; round < 100000 && MillisecondsLeft(deadline) > 0; ++round) {
    if (sending && request.empty()) {
      sending = false;
      if (behaviour.closeAfterSending) shutdown(fd, SHUT_WR);
    }
    // Reads while it sends: a server may answer before it has taken the
    // whole request.
    pollfd entry{fd, static_cast<short>(POLLIN | (sending ? POLLOUT : 0)), 0};
    if (poll(&entry, 1, MillisecondsLeft(deadline)) <= 0) continue;
    if (sending && (entry.revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t sent = send(fd, request.data(), request.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        request.remove_prefix(static_cast<std::size_t>(sent));
      } else if (sent < 0 && errno != EAGAIN && errno != EINTR) {
        sending = false;
      }
    }
    if (entry.revents & (POLLIN | POLLHUP | POLLERR)) {
      char chunk[8192];
      const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
      if (got > 0) {
        received.append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        closedByServer = true;
        break;
      }
    }
  }
  close(fd);
  return ParseReply(std::move(received), closedByServer);
}

LoopbackConnection::LoopbackConnection(std::uint16_t port) : fd_(ConnectLoopback(port, 5s)) {}

LoopbackConnection::~LoopbackConnection() {
  if (fd_ >= 0) close(fd_);
}

LoopbackConnection::LoopbackConnection(LoopbackConnection&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

bool LoopbackConnection::Send(std::string_view bytes) {
  return fd_ >= 0 &&
         send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool LoopbackConnection::ClosedByServerWithin(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (int round = 0; round < 100000 && fd_ >= 0; ++round) {
    pollfd entry{fd_, POLLIN, 0};
    const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
    if (ready <= 0) return false;
    char chunk[4096];
    const ssize_t got = recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return true;
  }
  return false;
}

void StandinTest::SetUp() {
  if (const std::optional<pid_t> other = FindRunningStandin()) {
    GTEST_SKIP() << "a quenzartsrv that these tests did not start runs as pid " << *other
                 << "; it is left alone, and these tests run once it has ended";
  }
  const char* program = std::getenv("QUENZART_STANDIN");
  ASSERT_NE(program, nullptr) << "QUENZART_STANDIN must name the stand-in program";
  program_ = program;
  directory_.emplace();
  port_ = FreeLoopbackPort();
}

void StandinTest::TearDown() {
  if (standin_ && HasFailure()) {
    std::cerr << "stand-in output:\n" << standin_->Output() << '\n';
  }
  standin_.reset();
}

ConfigFields StandinTest::DefaultFields() const {
  ConfigFields fields;
  fields.port = std::to_string(port_);
  return fields;
}

void StandinTest::WriteConfig(std::string_view bytes) {
  ::quenzart::testing::WriteFileBytes(directory_->path() / "quenzartsrv.conf", bytes);
}

StandinProcess& StandinTest::Start(const std::vector<std::string>& arguments) {
  standin_.reset();
  return standin_.emplace(program_, directory_->path(), arguments);
}

bool StandinTest::StartServing(const ConfigFields& fields,
                               const std::vector<std::string>& arguments) {
  WriteConfig(ComposeConfig(fields));
  return Start(arguments).WaitForPidFile();
}

}  // namespace quenzart::standin_test
