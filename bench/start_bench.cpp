#include "bench/start_bench.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "bench/measure.h"
#include "panel/form1.h"
#include "platform/native_platform.h"
#include "tests/fakes.h"

extern char** environ;

namespace quenzart::bench {
namespace {

namespace fs = std::filesystem;
using testing::FakeProgram;
using testing::FakeView;
using testing::Journal;

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  if (!file) throw std::runtime_error("cannot read " + path);
  return bytes.str();
}

// The floor of one file: the same durable replace in the fewest calls.
void WriteDurably(const std::string& temporary, const std::string& target,
                  const std::string& bytes) {
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  Check(fd >= 0, "open " + temporary);
  Check(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()), "write");
  Check(fsync(fd) == 0, "fsync");
  Check(close(fd) == 0, "close");
  Check(rename(temporary.c_str(), target.c_str()) == 0, "rename");
  const int directory = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  Check(directory >= 0, "open .");
  fsync(directory);
  close(directory);
}

// The floor of one launch: double fork and exec, waiting only to know that the
// exec happened (the pipe closes on exec), as any launch that reports its
// failure must.
void LaunchDetached(const std::string& path) {
  char* argv[] = {const_cast<char*>("quenzartsrv"), nullptr};
  int report[2];
  Check(pipe2(report, O_CLOEXEC) == 0, "pipe");
  const pid_t middle = _Fork();
  if (middle == 0) {
    setsid();
    if (_Fork() == 0) {
      execve(path.c_str(), argv, environ);
      const int error = errno;
      (void)!write(report[1], &error, sizeof error);
      _exit(127);
    }
    _exit(0);
  }
  Check(middle > 0, "fork");
  close(report[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  const ssize_t got = read(report[0], &error, sizeof error);
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    errno = error;
    Check(false, "exec " + path);
  }
}

}  // namespace

PairedSamples RunStartBench(const std::string& directory, int pairs) {
  const fs::path bin = fs::path(directory) / "bin";
  fs::create_directories(bin);
  const fs::path server = bin / "quenzartsrv";
  fs::copy_file("/bin/true", server, fs::copy_options::overwrite_existing);
  fs::permissions(server, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);

  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath == nullptr ? "" : oldPath;
  setenv("PATH", (bin.string() + (savedPath.empty() ? "" : ":" + savedPath)).c_str(), 1);
  const fs::path savedDirectory = fs::current_path();
  fs::current_path(directory);

  Journal journal;
  FakeProgram program(journal);
  NativePlatform native(program);
  FakeView view(journal);
  Form1 form(view, native.platform());

  auto product = [&] {
    journal.clear();
    const Clock::time_point start = Clock::now();
    form.command1_Click();
    const double elapsed = MillisecondsSince(start);
    if (!program.reports.empty()) {
      throw std::runtime_error("Start failed: " + testing::Narrow(program.reports.front()));
    }
    ReapOneOrphan();
    return elapsed;
  };

  // The first Start writes the files whose bytes the floor writes again.
  product();
  const std::string config = ReadFile("quenzartsrv.conf");
  const std::string saved = ReadFile("quenzartsrv.ini");
  auto floor = [&] {
    const Clock::time_point start = Clock::now();
    WriteDurably(".quenzartsrv.conf.floor", "quenzartsrv.conf", config);
    WriteDurably(".quenzartsrv.ini.floor", "quenzartsrv.ini", saved);
    LaunchDetached(server.string());
    const double elapsed = MillisecondsSince(start);
    ReapOneOrphan();
    return elapsed;
  };
  floor();

  PairedSamples samples;
  RunInterleaved(
      pairs, [&] { samples.product.push_back(product()); },
      [&] { samples.floor.push_back(floor()); });
  if (ReadFile("quenzartsrv.conf") != config || ReadFile("quenzartsrv.ini") != saved) {
    throw std::runtime_error("Start wrote other bytes than the first time");
  }

  fs::current_path(savedDirectory);
  setenv("PATH", savedPath.c_str(), 1);
  return samples;
}

}  // namespace quenzart::bench
