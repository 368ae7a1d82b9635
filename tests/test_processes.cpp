#include "tests/test_processes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/posix/process_launcher_posix.h"

namespace quenzart::testing {

std::filesystem::path StandInPath() {
  return QUENZART_STANDIN_PATH;
}
std::filesystem::path ProbePath() {
  return QUENZART_PROBE_PATH;
}

std::vector<int> FindStandIns() {
  return FindProcessesByImageName(u"quenzartsrv");
}
bool OtherStandInRunning() {
  return !FindStandIns().empty();
}

pid_t StartChild(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& directory) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string log = (directory / "child.log").string();
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(out, 1);
    dup2(out, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (child < 0) throw std::runtime_error("fork failed");
  return child;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool ChildEnds(pid_t child, std::chrono::milliseconds within) {
  return WaitUntil(
      [child] {
        int status = 0;
        return waitpid(child, &status, WNOHANG) == child;
      },
      within);
}

void EndChild(pid_t child) {
  if (kill(child, SIGTERM) != 0) {
    waitpid(child, nullptr, WNOHANG);
    return;
  }
  if (!ChildEnds(child, std::chrono::seconds(5))) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
}

bool ProcessGone(pid_t process) {
  if (kill(process, 0) != 0) return true;
  // A zombie that another parent has not reaped yet has ended too.
  const std::string stat = "/proc/" + std::to_string(process) + "/stat";
  char buffer[512] = {};
  const int fd = open(stat.c_str(), O_RDONLY);
  if (fd < 0) return true;
  const ssize_t got = read(fd, buffer, sizeof buffer - 1);
  close(fd);
  const char* end = got > 0 ? strrchr(buffer, ')') : nullptr;
  return end != nullptr && end[1] == ' ' && end[2] == 'Z';
}

void EndDetached(pid_t process) {
  if (process <= 0 || ProcessGone(process)) return;
  kill(process, SIGTERM);
  if (!WaitUntil([process] { return ProcessGone(process); }, std::chrono::seconds(5))) {
    kill(process, SIGKILL);
    WaitUntil([process] { return ProcessGone(process); }, std::chrono::seconds(5));
  }
}

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("no free port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

std::string HttpGetLoopback(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  timeval timeout{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return "";
  }
  const std::string request = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  (void)!write(fd, request.data(), request.size());
  std::string answer;
  char chunk[4096];
  ssize_t got;
  while ((got = read(fd, chunk, sizeof chunk)) > 0)
    answer.append(chunk, static_cast<std::size_t>(got));
  close(fd);
  return answer;
}

}  // namespace quenzart::testing
