#include "bench/window_runs.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "bench/measure.h"

extern char** environ;

namespace quenzart::bench {
namespace {

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string ReadAll(int fd) {
  std::string text;
  char chunk[4096];
  ssize_t got;
  while ((got = read(fd, chunk, sizeof chunk)) != 0) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    text.append(chunk, static_cast<std::size_t>(got));
  }
  return text;
}

std::string Field(const std::string& output, const std::string& name) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(name + "=", 0) == 0) return line.substr(name.size() + 1);
  }
  return {};
}

}  // namespace

WindowRun RunWindowProgram(const std::string& program, const std::string& directory, int idleMs) {
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe: " + std::string(strerror(errno)));
  const std::string log = directory + "/stderr.log";

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());

  std::string idle = "--idle-ms=" + std::to_string(idleMs);
  const Clock::time_point startedAt = Clock::now();
  std::string started = "--started-ns=" + std::to_string(MonotonicNs());
  std::vector<char*> argv{const_cast<char*>(program.c_str()), started.data(), idle.data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (spawned != 0) {
    close(output[0]);
    throw std::runtime_error("cannot start " + program + ": " + strerror(spawned));
  }
  const std::string text = ReadAll(output[0]);
  close(output[0]);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  WindowRun run;
  run.lifetimeMs = MillisecondsSince(startedAt);
  auto milliseconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
  };
  run.cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);

  const std::string paint = Field(text, "first_paint_ns");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || paint.empty()) {
    std::ifstream errors(log);
    std::stringstream what;
    what << program << " failed (status " << status << "); it wrote:\n" << text << errors.rdbuf();
    throw std::runtime_error(what.str());
  }
  run.firstPaintMs = static_cast<double>(std::stoll(paint)) / 1e6;
  const std::string peak = Field(text, "peak_rss_kib");
  if (!peak.empty()) run.peakMib = static_cast<double>(std::stol(peak)) / 1024.0;
  const std::string own = Field(text, "private_rss_kib");
  if (!own.empty()) run.privateMib = static_cast<double>(std::stol(own)) / 1024.0;
  run.platform = Field(text, "platform");
  run.qtVersion = Field(text, "qt");
  return run;
}

}  // namespace quenzart::bench
