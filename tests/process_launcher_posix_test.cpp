#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/posix/process_launcher_posix.h"
#include "tests/test_processes.h"
#include "tests/test_support.h"

namespace quenzart {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::quenzart::testing::CurrentDirectoryScope;
using ::quenzart::testing::ProbePath;
using ::quenzart::testing::ReadFileBytes;
using ::quenzart::testing::TemporaryDirectory;
using ::quenzart::testing::WaitUntil;
using ::quenzart::testing::WriteFileBytes;

std::u16string Wide(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

// Sets PATH for one test and puts it back.
class PathScope {
 public:
  explicit PathScope(const std::string& path)
      : previous_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~PathScope() { setenv("PATH", previous_.c_str(), 1); }

 private:
  std::string previous_;
};

void InstallProgram(const fs::path& source, const fs::path& target) {
  fs::create_directories(target.parent_path());
  fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

std::map<std::string, std::string> ReadProbe(const fs::path& directory) {
  std::map<std::string, std::string> facts;
  std::ifstream in(directory / "probe.txt");
  for (std::string line; std::getline(in, line);) {
    const auto separator = line.find_first_of("=:");
    std::string key = line.substr(0, separator);
    std::string value = line.substr(separator + 1);
    if (key == "arg") {
      facts["args"] += value + "|";
    } else {
      facts[key] = value;
    }
  }
  return facts;
}

class LauncherTest : public ::testing::Test {
 protected:
  TemporaryDirectory directory;
  fs::path own = directory / "own";
  fs::path work = directory / "work";
  fs::path onPath = directory / "bin";
  PosixProcessLauncher launcher{PosixProcessLauncher::Options{own.string(), 300ms}};

  void SetUp() override {
    for (const fs::path& folder : {own, work, onPath}) fs::create_directories(folder);
  }
  bool ProbeRan() {
    return WaitUntil([&] { return fs::exists(work / "probe.txt"); }, 5s);
  }
};

TEST_F(LauncherTest, StartedProgramIsDetachedFromThePanel) {
  InstallProgram(ProbePath(), onPath / "probe");
  PathScope path(onPath.string());
  CurrentDirectoryScope inside(work);
  sigset_t blocked;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGUSR1);
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &blocked, &previous);
  signal(SIGUSR2, SIG_IGN);
  const Outcome failure = launcher.Launch(u"probe \"two words\" x\\\"y", ShowMode::Hide);
  signal(SIGUSR2, SIG_DFL);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ASSERT_FALSE(failure);
  ASSERT_TRUE(ProbeRan());
  auto facts = ReadProbe(work);
  EXPECT_EQ(facts["args"], "two words|x\"y|");
  EXPECT_EQ(facts["cwd"], work.string());
  EXPECT_NE(facts["sid"], std::to_string(getsid(0)));
  EXPECT_NE(facts["ppid"], std::to_string(getpid()));
  EXPECT_EQ(facts["fds"], "0,1,2,");
  EXPECT_EQ(facts["stdin"], "/dev/null");
  EXPECT_EQ(facts["SigBlk"], "\t0000000000000000");
  EXPECT_EQ(facts["SigIgn"], "\t0000000000000000");
}

TEST_F(LauncherTest, ProgramIsSearchedAsWindowsSearchesIt) {
  // Each place holds a probe that writes where it was found.
  struct Case {
    const char* name;
    std::vector<fs::path> installed;
    std::string expectedArgument;
  };
  const Case cases[] = {
      {"own directory first", {"own/tool.exe", "work/tool.exe", "bin/tool.exe"}, "own/tool.exe"},
      {"then the current directory", {"work/tool.exe", "bin/tool.exe"}, "work/tool.exe"},
      {"then PATH", {"bin/tool.exe"}, "bin/tool.exe"},
      {"name without .exe", {"bin/tool"}, "bin/tool"},
      {"name as given before without .exe", {"bin/tool", "bin/tool.exe"}, "bin/tool.exe"},
  };
  for (const Case& c : cases) {
    for (const fs::path& folder : {own, work, onPath}) {
      for (const char* name : {"tool.exe", "tool", "probe.txt"}) fs::remove(folder / name);
    }
    for (const fs::path& relative : c.installed) {
      const fs::path target = directory / relative;
      WriteFileBytes(target, "#!/bin/sh\necho \"arg=" + relative.string() + "\" > probe.txt\n");
      fs::permissions(target, fs::perms::owner_all);
    }
    PathScope path(onPath.string());
    CurrentDirectoryScope inside(work);
    ASSERT_FALSE(launcher.Launch(u"tool.exe", ShowMode::Hide)) << c.name;
    ASSERT_TRUE(ProbeRan()) << c.name;
    EXPECT_EQ(ReadProbe(work)["args"], c.expectedArgument + "|") << c.name;
  }
}

TEST_F(LauncherTest, FailuresNameTheProgramAndTheReason) {
  PathScope path(onPath.string());
  CurrentDirectoryScope inside(work);
  EXPECT_EQ(launcher.Launch(u"quenzartsrv.exe", ShowMode::Hide),
            (Failure{u"启动程序", u"quenzartsrv.exe", u"找不到该程序"}));

  // Found but not executable: the search ends there, though PATH has one.
  WriteFileBytes(work / "tool", "#!/bin/sh\n");
  fs::permissions(work / "tool", fs::perms::owner_read | fs::perms::owner_write);
  InstallProgram(ProbePath(), onPath / "tool");
  EXPECT_EQ(launcher.Launch(u"tool.exe", ShowMode::Hide),
            (Failure{u"启动程序", Wide((work / "tool").string()), u"没有权限"}));

  // Executable, but the system cannot run it.
  WriteFileBytes(work / "tool", std::string("\x7f"
                                            "ELF garbage",
                                            12));
  fs::permissions(work / "tool", fs::perms::owner_all);
  const Outcome failure = launcher.Launch(u"tool", ShowMode::Hide);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, u"不是可以执行的程序");
  EXPECT_EQ(launcher.Launch(u"   ", ShowMode::Hide)->reason, u"命令行中没有程序名");
}

TEST_F(LauncherTest, ShellCharactersAreNeverInterpreted) {
  InstallProgram(ProbePath(), onPath / "probe");
  PathScope path(onPath.string());
  CurrentDirectoryScope inside(work);
  ASSERT_FALSE(launcher.Launch(u"probe ;touch pwned |touch pwned2 $(touch pwned3) `touch pwned4`",
                               ShowMode::Hide));
  ASSERT_TRUE(ProbeRan());
  EXPECT_EQ(ReadProbe(work)["args"], ";touch|pwned||touch|pwned2|$(touch|pwned3)|`touch|pwned4`|");
  for (const char* name : {"pwned", "pwned2", "pwned3", "pwned4"})
    EXPECT_FALSE(fs::exists(work / name));
}

TEST_F(LauncherTest, StatusPageAddressGoesWholeToTheOpener) {
  WriteFileBytes(onPath / "xdg-open",
                 "#!/bin/sh\nprintf 'argc=%s\\narg=%s\\n' \"$#\" \"$1\" > probe.new && /bin/mv "
                 "probe.new probe.txt\n");
  fs::permissions(onPath / "xdg-open", fs::perms::owner_all);
  PathScope path(onPath.string());
  CurrentDirectoryScope inside(work);
  ASSERT_FALSE(launcher.Launch(u"explorer.exe http://127.0.0.1: 27 888", ShowMode::ShowMinimized));
  ASSERT_TRUE(ProbeRan());
  auto facts = ReadProbe(work);
  EXPECT_EQ(facts["argc"], "1");
  EXPECT_EQ(facts["args"], "http://127.0.0.1: 27 888|");
}

TEST_F(LauncherTest, NoOpenerIsAFailure) {
  PathScope path(onPath.string());
  const Outcome failure =
      launcher.Launch(u"explorer.exe http://127.0.0.1:27888", ShowMode::ShowMinimized);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->action, u"打开网页");
  EXPECT_EQ(failure->object, u"http://127.0.0.1:27888");
}

// Stopping, against copies of the stand-in under a name of this test's own,
// so that nothing else on the machine can be hit.
class StopTest : public LauncherTest {
 protected:
  std::string name = "qzstop" + std::to_string(getpid());
  fs::path program = onPath / name;
  std::vector<pid_t> children;

  void SetUp() override {
    LauncherTest::SetUp();
    InstallProgram(quenzart::testing::StandInPath(), program);
    // A configuration without web access: the copies only wait for a signal.
    WriteFileBytes(work / "quenzartsrv.conf", "ServerName=stop test\r\nPort=1\r\n");
  }
  void TearDown() override {
    for (const pid_t child : children) quenzart::testing::EndChild(child);
  }
  pid_t StartCopy(std::vector<std::string> arguments = {}) {
    const fs::path folder = work / ("copy" + std::to_string(children.size()));
    fs::create_directories(folder);
    fs::copy_file(work / "quenzartsrv.conf", folder / "quenzartsrv.conf");
    const pid_t child = quenzart::testing::StartChild(program, arguments, folder);
    children.push_back(child);
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder / "quenzartsrv.pid"); }, 5s));
    return child;
  }
  Outcome Stop() {
    return launcher.Launch(Wide("ntsd -noshell -c q -pn " + name + ".exe"), ShowMode::Hide);
  }
};

TEST_F(StopTest, TheOneProcessOfTheNameIsEnded) {
  const pid_t child = StartCopy();
  ASSERT_FALSE(Stop());
  EXPECT_TRUE(quenzart::testing::ChildEnds(child, 5s));
}

TEST_F(StopTest, AProcessIgnoringTermIsKilledAfterTheGrace) {
  const pid_t child = StartCopy({"--ignore-term"});
  ASSERT_FALSE(Stop());
  EXPECT_FALSE(quenzart::testing::ChildEnds(child, 100ms));
  EXPECT_TRUE(quenzart::testing::ChildEnds(child, 5s));
}

TEST_F(StopTest, WithTwoRunningNeitherIsEnded) {
  const pid_t first = StartCopy();
  const pid_t second = StartCopy();
  ASSERT_FALSE(Stop());
  EXPECT_FALSE(quenzart::testing::ChildEnds(first, 1s));
  EXPECT_FALSE(quenzart::testing::ChildEnds(second, 10ms));
}

TEST_F(StopTest, WithNoneRunningNothingHappensAndNothingFails) {
  EXPECT_FALSE(Stop());
  // An ended copy that is not reaped yet counts as gone.
  const pid_t child = StartCopy();
  kill(child, SIGKILL);
  EXPECT_TRUE(WaitUntil([&] { return FindProcessesByImageName(Wide(name)).empty(); }, 5s));
  EXPECT_FALSE(Stop());
}

TEST_F(StopTest, OtherCommandLinesAreNotStops) {
  // Not the stop command's form: launched as a program named ntsd, which is not there.
  PathScope path(onPath.string());
  StartCopy();
  EXPECT_EQ(launcher.Launch(Wide("ntsd -c q -pn " + name), ShowMode::Hide)->reason,
            u"找不到该程序");
  EXPECT_FALSE(quenzart::testing::ChildEnds(children.front(), 300ms));
}

}  // namespace
}  // namespace quenzart
