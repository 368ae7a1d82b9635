#include "platform/posix/process_launcher_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/command_line.h"
#include "platform/posix/environment_posix.h"
#include "platform/posix/error_text.h"
#include "platform/utf.h"

extern char** environ;

namespace quenzart {
namespace {

constexpr std::u16string_view kStartAction = u"启动程序";

char ToLowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  }
  return true;
}

bool EndsWithExe(std::string_view name) {
  return name.size() > 4 && EqualsIgnoringCase(name.substr(name.size() - 4), ".exe");
}

// The name as given, then without ".exe", as Windows tries a program name.
std::vector<std::string> NameVariants(const std::string& name) {
  std::vector<std::string> names{name};
  if (EndsWithExe(name)) names.push_back(name.substr(0, name.size() - 4));
  return names;
}

int PidfdOpen(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}
int PidfdSendSignal(int pidfd, int signal) {
  return static_cast<int>(syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

// Closes every descriptor from 3 up but keep; only async-signal-safe calls.
void CloseDescriptorsExcept(int keep) {
  auto closeRange = [](unsigned first, unsigned last) {
    if (first > last) return;
    if (syscall(SYS_close_range, first, last, 0) == 0) return;
    for (unsigned fd = first; fd <= last && fd < 65536; ++fd) close(static_cast<int>(fd));
  };
  if (keep < 3) {
    closeRange(3, ~0U);
  } else {
    closeRange(3, static_cast<unsigned>(keep) - 1);
    closeRange(static_cast<unsigned>(keep) + 1, ~0U);
  }
}

void ResetSignals() {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  sigemptyset(&defaults.sa_mask);
  for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &defaults, nullptr);
}

void WaitForChild(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// Starts path with argv detached from the panel: in a session of its own, in
// the current directory, its standard streams on /dev/null, with no other
// descriptor of the panel and default signal handling, as a grandchild that
// init reaps. Returns 0, or the errno of the failed start. Between the forks
// and the exec only async-signal-safe calls are made: the toolkit runs threads.
int SpawnDetached(const std::string& path, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }

  const pid_t middle = _Fork();
  if (middle == 0) {
    close(report[0]);
    setsid();
    const pid_t child = _Fork();
    if (child == 0) {
      ResetSignals();
      dup2(devNull, STDIN_FILENO);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      CloseDescriptorsExcept(report[1]);
      execve(path.c_str(), argv.data(), environ);
      const int error = errno;
      (void)!write(report[1], &error, sizeof error);
      _exit(127);
    }
    if (child < 0) {
      const int error = errno;
      (void)!write(report[1], &error, sizeof error);
    }
    _exit(0);
  }
  const int forkError = middle < 0 ? errno : 0;
  close(report[1]);
  close(devNull);
  if (middle > 0) WaitForChild(middle);

  // The report pipe closes on exec: end of file is success, an errno is not.
  int error = forkError;
  if (error == 0) {
    int reported = 0;
    ssize_t got;
    while ((got = read(report[0], &reported, sizeof reported)) < 0 && errno == EINTR) {
    }
    if (got == static_cast<ssize_t>(sizeof reported)) error = reported;
  }
  close(report[0]);
  return error;
}

struct FoundProgram {
  std::string path;
  int error = 0;  // set when the file is there but cannot be executed
};

std::optional<FoundProgram> Probe(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return std::nullopt;
  if (!S_ISREG(status.st_mode)) return FoundProgram{path, EACCES};
  if (access(path.c_str(), X_OK) != 0) return FoundProgram{path, errno};
  return FoundProgram{path, 0};
}

std::string Join(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

// Looks for a program as Windows does for a name without a path: the panel's
// directory, the current directory, then PATH, each under the name as given
// and then without ".exe". The first file found ends the search, whether it
// can be executed or not.
std::optional<FoundProgram> FindProgram(const std::string& name,
                                        const std::vector<std::string>& directories) {
  if (name.find('/') != std::string::npos) {
    for (const std::string& variant : NameVariants(name)) {
      if (auto found = Probe(variant)) return found;
    }
    return std::nullopt;
  }
  for (const std::string& directory : directories) {
    for (const std::string& variant : NameVariants(name)) {
      if (auto found = Probe(Join(directory, variant))) return found;
    }
  }
  return std::nullopt;
}

std::vector<std::string> PathDirectories() {
  std::vector<std::string> directories;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return directories;
  std::string_view rest(path);
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    if (!entry.empty()) directories.emplace_back(entry);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return directories;
}

std::optional<std::u16string> StopCommandImageName(const std::vector<std::u16string>& words) {
  if (words.size() != 6) return std::nullopt;
  const std::string program = ToUtf8(words[0]);
  if (!EqualsIgnoringCase(program, "ntsd") && !EqualsIgnoringCase(program, "ntsd.exe")) {
    return std::nullopt;
  }
  if (words[1] != u"-noshell" || words[2] != u"-c" || words[3] != u"q" || words[4] != u"-pn") {
    return std::nullopt;
  }
  return words[5];
}

bool IsExplorer(const std::u16string& program) {
  const std::string name = ToUtf8(program);
  return EqualsIgnoringCase(name, "explorer.exe") || EqualsIgnoringCase(name, "explorer");
}

std::optional<std::string> ExecutableName(int pid) {
  const std::string link = "/proc/" + std::to_string(pid) + "/exe";
  char target[4096];
  const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  if (length <= 0) return std::nullopt;  // gone, a zombie, a kernel thread, or not ours
  std::string path(target, static_cast<std::size_t>(length));
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return path.substr(path.rfind('/') + 1);
}

bool HasImageName(int pid, const std::vector<std::string>& names) {
  const auto executable = ExecutableName(pid);
  if (!executable) return false;
  for (const std::string& name : names) {
    if (EqualsIgnoringCase(*executable, name)) return true;
  }
  return false;
}

bool HasEnded(int pidfd) {
  pollfd watch{pidfd, POLLIN, 0};
  return poll(&watch, 1, 0) > 0;
}

long long NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// In a detached grandchild: SIGTERM, then SIGKILL if the process is still
// there when the grace is over. Only async-signal-safe calls.
void SignalDetached(int pidfd, long long graceMilliseconds) {
  const pid_t middle = _Fork();
  if (middle == 0) {
    setsid();
    if (_Fork() == 0) {
      CloseDescriptorsExcept(pidfd);
      PidfdSendSignal(pidfd, SIGTERM);
      const long long deadline = NowMilliseconds() + graceMilliseconds;
      for (;;) {
        const long long left = deadline - NowMilliseconds();
        if (left <= 0) break;
        pollfd watch{pidfd, POLLIN, 0};
        const int ready = poll(&watch, 1, static_cast<int>(left));
        if (ready > 0) _exit(0);
        if (ready < 0 && errno != EINTR) break;
      }
      PidfdSendSignal(pidfd, SIGKILL);
      _exit(0);
    }
    _exit(0);
  }
  if (middle > 0) WaitForChild(middle);
}

}  // namespace

std::string RunningProgramDirectory() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  const std::string program(path, static_cast<std::size_t>(length));
  const auto slash = program.rfind('/');
  return slash == 0 ? "/" : program.substr(0, slash);
}

std::vector<int> FindProcessesByImageName(const std::u16string& imageName) {
  std::vector<int> found;
  const std::vector<std::string> names = NameVariants(ToUtf8(imageName));
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  const uid_t user = geteuid();
  const int self = getpid();
  while (const dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (*end != '\0' || pid <= 0 || pid == self) continue;
    struct stat owner {};
    const std::string directory = std::string("/proc/") + entry->d_name;
    if (stat(directory.c_str(), &owner) != 0 || owner.st_uid != user) continue;
    if (HasImageName(static_cast<int>(pid), names)) found.push_back(static_cast<int>(pid));
  }
  closedir(proc);
  return found;
}

PosixProcessLauncher::PosixProcessLauncher()
    : PosixProcessLauncher(Options{RunningProgramDirectory(), std::chrono::milliseconds(3000)}) {}

PosixProcessLauncher::PosixProcessLauncher(Options options) : options_(std::move(options)) {}

Outcome PosixProcessLauncher::Launch(std::u16string_view commandLine, ShowMode) {
  std::vector<std::u16string> words = SplitCommandLine(commandLine);
  if (words.empty() || words[0].empty()) {
    return Failure{std::u16string(kStartAction), std::u16string(commandLine),
                   u"命令行中没有程序名"};
  }
  if (auto imageName = StopCommandImageName(words)) return StopProcessesNamed(*imageName);
  if (IsExplorer(words[0])) {
    // Everything after the program name and one blank is the address, as is.
    const std::size_t start = commandLine.find_first_not_of(u" \t");
    const std::size_t nameEnd = commandLine.find_first_of(u" \t", start);
    const std::u16string_view url = nameEnd == std::u16string_view::npos
                                        ? std::u16string_view()
                                        : commandLine.substr(nameEnd + 1);
    return OpenUrl(url);
  }
  const std::u16string program = words[0];
  words.erase(words.begin());
  return Start(program, words);
}

Outcome PosixProcessLauncher::Start(const std::u16string& program,
                                    const std::vector<std::u16string>& arguments) {
  std::vector<std::string> directories;
  if (!options_.programDirectory.empty()) directories.push_back(options_.programDirectory);
  directories.push_back(CurrentDirectoryPath());
  for (std::string& directory : PathDirectories()) directories.push_back(std::move(directory));

  const auto found = FindProgram(ToUtf8(program), directories);
  if (!found) return Failure{std::u16string(kStartAction), program, u"找不到该程序"};
  if (found->error != 0) {
    return Failure{std::u16string(kStartAction), FromUtf8(found->path),
                   ReasonFromErrno(found->error)};
  }
  std::vector<std::string> argv{found->path};
  for (const std::u16string& argument : arguments) argv.push_back(ToUtf8(argument));
  if (const int error = SpawnDetached(found->path, argv)) {
    return Failure{std::u16string(kStartAction), FromUtf8(found->path), ReasonFromErrno(error)};
  }
  return std::nullopt;
}

Outcome PosixProcessLauncher::OpenUrl(std::u16string_view url) {
  const auto found = FindProgram("xdg-open", PathDirectories());
  if (!found) {
    return Failure{u"打开网页", std::u16string(url), u"找不到打开网页的程序 xdg-open"};
  }
  if (found->error != 0) {
    return Failure{u"打开网页", std::u16string(url), ReasonFromErrno(found->error)};
  }
  if (const int error = SpawnDetached(found->path, {found->path, ToUtf8(url)})) {
    return Failure{u"打开网页", std::u16string(url), ReasonFromErrno(error)};
  }
  return std::nullopt;
}

Outcome PosixProcessLauncher::StopProcessesNamed(const std::u16string& imageName) {
  auto failed = [&](int error) {
    return Failure{u"结束服务器程序", imageName, ReasonFromErrno(error)};
  };
  if (access("/proc/self/exe", F_OK) != 0) return failed(errno);

  const std::vector<int> processes = FindProcessesByImageName(imageName);
  // The name must be unique: with none or several, nothing is ended.
  if (processes.size() != 1) return std::nullopt;

  const int pid = processes.front();
  const int pidfd = PidfdOpen(pid);
  if (pidfd < 0) return errno == ESRCH ? Outcome() : Outcome(failed(errno));
  // The id may have passed to another process between the search and the
  // pidfd; from here on the pidfd holds the process that was checked.
  if (!HasImageName(pid, NameVariants(ToUtf8(imageName))) || HasEnded(pidfd)) {
    close(pidfd);
    return std::nullopt;
  }
  SignalDetached(pidfd, options_.stopGrace.count());
  close(pidfd);
  return std::nullopt;
}

}  // namespace quenzart
