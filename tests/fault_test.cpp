// The panel over the real POSIX platform when the system gets in its way: a
// folder it may not write, folders and mount points where its files go, a
// server that cannot be run, hostile field values and saved settings that are
// not what the panel wrote.
//
// Tests often run as root, for whom permission bits stop nothing, so each
// fault is made real: a read-only bind mount in a private mount namespace, or
// the unprivileged user "nobody", both in a forked child that reports back
// what the panel did.
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "panel/form1.h"
#include "panel/messages.h"
#include "platform/native_platform.h"
#include "platform/posix/codec_posix.h"
#include "platform/posix/error_text.h"
#include "platform/posix/profile_reader_posix.h"
#include "platform/utf.h"
#include "tests/fakes.h"
#include "tests/test_processes.h"
#include "tests/test_support.h"

namespace quenzart {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::quenzart::testing::FakeProgram;
using ::quenzart::testing::FakeView;
using ::quenzart::testing::Journal;
using ::quenzart::testing::ReadFileBytes;
using ::quenzart::testing::WaitUntil;
using ::quenzart::testing::WriteFileBytes;
using C = ControlId;
using Lines = std::vector<std::string>;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

std::string SystemError(const char* call) {
  return std::string(call) + ": " + std::strerror(errno);
}

void WriteRecord(int fd, const std::string& record) {
  const auto size = static_cast<std::uint32_t>(record.size());
  std::string bytes(reinterpret_cast<const char*>(&size), sizeof size);
  bytes += record;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

// What a forked child reports: why the fault could not be made in it, or
// the lines of what the panel did.
struct ChildReport {
  std::string unavailable;
  Lines lines;
};

// Forks; the child makes the fault (returning why it cannot, or ""), runs the
// body and sends back its lines. The child never returns into the test.
ChildReport InChild(const std::function<std::string()>& makeFault,
                    const std::function<Lines()>& body) {
  int channel[2];
  if (pipe(channel) != 0) throw std::runtime_error(SystemError("pipe"));
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error(SystemError("fork"));
  if (child == 0) {
    close(channel[0]);
    std::string unavailable;
    Lines lines;
    try {
      unavailable = makeFault();
      if (unavailable.empty()) lines = body();
    } catch (const std::exception& error) {
      lines = {std::string("exception in the child: ") + error.what()};
    }
    WriteRecord(channel[1], unavailable);
    for (const std::string& line : lines) WriteRecord(channel[1], line);
    close(channel[1]);
    _exit(0);
  }
  close(channel[1]);
  std::string bytes;
  char chunk[4096];
  ssize_t got;
  while ((got = read(channel[0], chunk, sizeof chunk)) != 0) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;

  std::vector<std::string> records;
  for (std::size_t at = 0; at + sizeof(std::uint32_t) <= bytes.size();) {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at, sizeof size);
    at += sizeof size;
    records.push_back(bytes.substr(at, size));
    at += size;
  }
  if (records.empty()) return {"the child reported nothing", {}};
  return {records.front(), Lines(records.begin() + 1, records.end())};
}

// In the child: a mount namespace of its own whose mounts reach no one else.
std::string PrivateMounts() {
  if (unshare(CLONE_NEWNS) != 0) return SystemError("unshare(CLONE_NEWNS) is not permitted here");
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return SystemError("mount --make-rprivate /");
  return "";
}

// In the child: the folder as a read-only bind mount of itself, made the
// current directory again (the old one lies under the mount).
std::string MountReadOnly(const fs::path& folder) {
  if (std::string why = PrivateMounts(); !why.empty()) return why;
  if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
    return SystemError("mount --bind");
  if (mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
    return SystemError("mount -o remount,bind,ro");
  }
  if (chdir(folder.c_str()) != 0) return SystemError("chdir");
  return "";
}

// In the child: the file as a mount point, so that nothing can be renamed
// over it.
std::string MountOverItself(const fs::path& file) {
  if (std::string why = PrivateMounts(); !why.empty()) return why;
  if (mount(file.c_str(), file.c_str(), nullptr, MS_BIND, nullptr) != 0)
    return SystemError("mount --bind");
  return "";
}

// In the child: run as "nobody" from here on. A test that is not run as root
// runs unprivileged already.
std::string BecomeUnprivileged() {
  if (geteuid() != 0) return "";
  if (setgroups(0, nullptr) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0) {
    return SystemError("dropping to the user nobody");
  }
  return "";
}

const std::string kOldConfig = "ServerName=old\r\nAllowWebAccess=1";
const std::string kOldSavedSettings = "[Last]\r\nServerName=old\r\n";

class FaultTest : public ::testing::Test {
 protected:
  quenzart::testing::TemporaryDirectory directory;
  fs::path work = directory / "work";
  fs::path bin = directory / "bin";
  // Where a server stand-in notes that it was started: outside the folder
  // that the faults make read-only, writable by everyone.
  fs::path marks = directory / "marks";
  fs::path started = marks / "started";
  std::string previousPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  Journal journal;
  FakeProgram program{journal};
  FakeView view{journal};

  void SetUp() override {
    for (const fs::path& folder : {work, bin, marks}) fs::create_directories(folder);
    // The user nobody must reach the folders and note a start.
    fs::permissions(directory.path(), fs::perms(0755));
    fs::permissions(marks, fs::perms::all);
    setenv("PATH", (bin.string() + ":" + previousPath).c_str(), 1);
    fs::current_path(work);
  }
  void TearDown() override {
    setenv("PATH", previousPath.c_str(), 1);
    fs::current_path(directory.path());
    std::error_code ignored;
    fs::permissions(work, fs::perms::owner_all, fs::perm_options::add, ignored);
  }

  fs::path Server() const { return bin / "quenzartsrv.exe"; }
  void InstallServer(const std::string& bytes, fs::perms permissions) {
    WriteFileBytes(Server(), bytes);
    fs::permissions(Server(), permissions);
  }
  // A server that only notes that it was started.
  std::string RecordingServer() const {
    return "#!/bin/sh\necho started >> '" + started.string() + "'\n";
  }
  bool ServerWasStarted() {
    return WaitUntil([&] { return fs::exists(started); }, 300ms);
  }

  // Clicks Start on a panel over the real platform: what the window and the
  // message boxes saw, then the panel's state.
  Lines Start() {
    NativePlatform native(program);
    Form1 form(view, native.platform());
    journal.clear();
    form.command1_Click();
    Lines lines = journal;
    lines.push_back(form.ServerRunning ? "running" : "stopped");
    return lines;
  }

  std::set<std::string> Entries(const fs::path& folder) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    return names;
  }
};

std::string Report(const std::u16string& action, const std::string& object,
                   const std::u16string& reason) {
  return "report " + ToUtf8(DescribeFailure(Failure{action, FromUtf8(object), reason}));
}

bool IsWholeConfig(const std::string& bytes) {
  return bytes.starts_with("ServerName=Tamberlow\r\n") && bytes.ends_with("\r\nAllowWebAccess=1");
}
bool IsWholeSavedSettings(const std::string& bytes) {
  return bytes.starts_with("[Last]\r\nServerName=Tamberlow\r\n") &&
         bytes.ends_with("\r\nMotdLine=\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1@@\r\n");
}

// Faults that stop Start while it writes the files: the failure is shown, no
// server is started, the window stays as it was, and each file is whole: the
// one of the last Start, or the new one where it was renamed into place.
enum class WriteFault {
  ReadOnlyMount,
  FolderNotWritable,
  FolderAtConfig,
  FolderAtSavedSettings,
  SavedSettingsMountPoint
};

struct WriteFaultCase {
  const char* name;
  WriteFault fault;
  std::string report;
  bool configReplaced;
};

class WriteFaultTest : public FaultTest, public ::testing::WithParamInterface<WriteFaultCase> {};

TEST_P(WriteFaultTest, StartShowsTheFailureStartsNothingAndLeavesEachFileWhole) {
  const WriteFaultCase& c = GetParam();
  const fs::path config = work / "quenzartsrv.conf";
  const fs::path saved = work / "quenzartsrv.ini";
  WriteFileBytes(config, kOldConfig);
  WriteFileBytes(saved, kOldSavedSettings);
  if (c.fault == WriteFault::FolderAtConfig) {
    fs::remove(config);
    fs::create_directory(config);
  }
  if (c.fault == WriteFault::FolderAtSavedSettings) {
    fs::remove(saved);
    fs::create_directory(saved);
  }
  InstallServer(RecordingServer(), fs::perms(0755));

  const ChildReport child = InChild(
      [&]() -> std::string {
        switch (c.fault) {
          case WriteFault::ReadOnlyMount:
            return MountReadOnly(work);
          case WriteFault::FolderNotWritable:
            if (chmod(work.c_str(), 0555) != 0) return SystemError("chmod");
            return BecomeUnprivileged();
          case WriteFault::SavedSettingsMountPoint:
            return MountOverItself(saved);
          default:
            return "";
        }
      },
      [&] { return Start(); });
  if (!child.unavailable.empty()) GTEST_SKIP() << "cannot make the fault: " << child.unavailable;

  EXPECT_EQ(child.lines, (Lines{c.report, "stopped"}));
  EXPECT_FALSE(ServerWasStarted());
  EXPECT_EQ(Entries(work), (std::set<std::string>{"quenzartsrv.conf", "quenzartsrv.ini"}))
      << "no half-written file is left";
  if (c.fault != WriteFault::FolderAtConfig) {
    const std::string bytes = ReadFileBytes(config);
    EXPECT_TRUE(c.configReplaced ? IsWholeConfig(bytes) : bytes == kOldConfig) << bytes;
  }
  if (c.fault != WriteFault::FolderAtSavedSettings) {
    EXPECT_EQ(ReadFileBytes(saved), kOldSavedSettings);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WriteFaultTest,
    ::testing::Values(
        WriteFaultCase{"ReadOnlyMount", WriteFault::ReadOnlyMount,
                       Report(u"创建文件", "quenzartsrv.conf", u"文件系统是只读的"), false},
        WriteFaultCase{"FolderNotWritable", WriteFault::FolderNotWritable,
                       Report(u"创建文件", "quenzartsrv.conf", u"没有权限"), false},
        WriteFaultCase{"FolderAtConfig", WriteFault::FolderAtConfig,
                       Report(u"创建文件", "quenzartsrv.conf", u"该名称已被一个文件夹占用"), false},
        // The first file is not touched when the second cannot even be created.
        WriteFaultCase{"FolderAtSavedSettings", WriteFault::FolderAtSavedSettings,
                       Report(u"创建文件", "quenzartsrv.ini", u"该名称已被一个文件夹占用"), false},
        // Only the rename finds out: the first file is in place by then.
        WriteFaultCase{"SavedSettingsMountPoint", WriteFault::SavedSettingsMountPoint,
                       Report(u"保存文件", "quenzartsrv.ini", ReasonFromErrno(EBUSY)), true}),
    [](const auto& info) { return std::string(info.param.name); });

// A server program that is there but cannot be run: both files are written,
// the failure names the program and why, and the panel stays stopped.
enum class RunFault { NoExecuteBit, NotAProgram, MissingInterpreter, OnlyItsOwnerMayRun };

struct RunFaultCase {
  const char* name;
  RunFault fault;
  std::u16string reason;
};

class RunFaultTest : public FaultTest, public ::testing::WithParamInterface<RunFaultCase> {};

TEST_P(RunFaultTest, StartWritesTheFilesAndShowsWhyTheServerDidNotStart) {
  const RunFaultCase& c = GetParam();
  if (c.fault == RunFault::OnlyItsOwnerMayRun && geteuid() != 0) {
    GTEST_SKIP() << "running as another user needs root; NoExecuteBit covers this user";
  }
  fs::permissions(work, fs::perms::all);  // the user nobody writes the files
  switch (c.fault) {
    case RunFault::NoExecuteBit:
      InstallServer(RecordingServer(), fs::perms(0644));
      break;
    case RunFault::NotAProgram:
      InstallServer(std::string("\x7f"
                                "ELF\2\1\1 not really",
                                18),
                    fs::perms(0755));
      break;
    case RunFault::MissingInterpreter:
      InstallServer("#!/no/such/interpreter\n", fs::perms(0755));
      break;
    case RunFault::OnlyItsOwnerMayRun:
      InstallServer(RecordingServer(), fs::perms(0700));
      break;
  }

  const ChildReport child = InChild(
      [&] {
        return c.fault == RunFault::OnlyItsOwnerMayRun ? BecomeUnprivileged() : std::string();
      },
      [&] { return Start(); });
  if (!child.unavailable.empty()) GTEST_SKIP() << "cannot make the fault: " << child.unavailable;

  EXPECT_EQ(child.lines, (Lines{Report(u"启动程序", Server().string(), c.reason), "stopped"}));
  EXPECT_FALSE(ServerWasStarted());
  EXPECT_TRUE(IsWholeConfig(ReadFileBytes(work / "quenzartsrv.conf")));
  EXPECT_TRUE(IsWholeSavedSettings(ReadFileBytes(work / "quenzartsrv.ini")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RunFaultTest,
    ::testing::Values(
        RunFaultCase{"NoExecuteBit", RunFault::NoExecuteBit, u"没有权限"},
        RunFaultCase{"NotAProgram", RunFault::NotAProgram, u"不是可以执行的程序"},
        RunFaultCase{"MissingInterpreter", RunFault::MissingInterpreter, u"找不到该文件或目录"},
        RunFaultCase{"OnlyItsOwnerMayRun", RunFault::OnlyItsOwnerMayRun, u"没有权限"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every field holds shell syntax: it reaches the files and the status page
// opener as plain text, and nothing runs it. The stand-in server reads it too.
TEST_F(FaultTest, ShellSyntaxInEveryFieldIsPlainTextAndRunsNothing) {
  if (quenzart::testing::OtherStandInRunning()) {
    GTEST_SKIP()
        << "a quenzartsrv process that this test did not start is running; end it to run this test";
  }
  fs::copy_file(quenzart::testing::StandInPath(), bin / "quenzartsrv");
  WriteFileBytes(bin / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" +
                                       (marks / "opened.new").string() + "' && /bin/mv '" +
                                       (marks / "opened.new").string() + "' '" +
                                       (marks / "opened").string() + "'\n");
  fs::permissions(bin / "xdg-open", fs::perms(0755));
  const std::string hostile =
      "a;touch pwned1|touch pwned2&touch pwned3 $(touch pwned4) `touch pwned5` \"q\" 'r' \\ "
      ">pwned6 <in";
  const std::u16string text = FromUtf8(hostile);
  for (const C box : {C::Text1_0, C::Text1_1, C::Text1_2, C::Text1_3, C::Text1_4, C::Text1_5,
                      C::Text1_8, C::Text3, C::Text4, C::Text2}) {
    view.SetText(box, text);
  }

  NativePlatform native(program);
  Form1 form(view, native.platform());
  form.command1_Click();
  EXPECT_TRUE(program.reports.empty()) << ToUtf8(program.reports.front());
  form.Command5_Click();
  EXPECT_TRUE(program.reports.empty());
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(marks / "opened"); }, 5s));
  // The server ends at once over a port that is no number.
  EXPECT_TRUE(WaitUntil([&] { return quenzart::testing::FindStandIns().empty(); }, 5s));
  form.command2_Click();
  EXPECT_TRUE(program.reports.empty());

  const std::string ip = ToUtf8(native.platform().environment.LocalIP());
  EXPECT_EQ(ReadFileBytes(marks / "opened"), "1\nhttp://" + ip + ":" + hostile + "\n");
  const std::string config = "\r\n" + ReadFileBytes(work / "quenzartsrv.conf");
  const std::string saved = ReadFileBytes(work / "quenzartsrv.ini");
  for (const char* key : {"ServerName", "Location", "URL", "MaxUsers", "Port", "IP", "FloodMsgNb",
                          "FloodMsgTime", "MinPing", "MotdLine"}) {
    EXPECT_NE(config.find(std::string("\r\n") + key + "=" + hostile + "\r\n"), std::string::npos)
        << key;
  }
  EXPECT_NE(saved.find("\r\nMotdLine=" + hostile + "@\r\n"), std::string::npos);
  for (const auto& entry : fs::recursive_directory_iterator(directory.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("pwned")) << entry.path();
  }
}

// A file system that stamps file times in coarse steps, as ramfs does (and
// ext4 before Linux 6.13, in clock ticks): a rewrite of the same size within
// one step leaves identity, size and times as they were, and the lookup must
// still not answer from its copy of the old text.
TEST_F(FaultTest, ProfileLookupSeesARewriteThatLeftTheFileTimesAsTheyWere) {
  const fs::path saved = work / "quenzartsrv.ini";
  const ChildReport child = InChild(
      [&]() -> std::string {
        if (std::string why = PrivateMounts(); !why.empty()) return why;
        if (mount("none", work.c_str(), "ramfs", 0, nullptr) != 0)
          return SystemError("mount -t ramfs");
        return "";
      },
      [&] {
        const Cp936Codec codec;
        PosixProfileReader reader(codec);
        Lines seen;
        for (int port = 1000; port < 1008; ++port) {
          WriteFileBytes(saved, "[Last]\r\nPort=" + std::to_string(port) + "\r\n");
          char value[255] = {};
          reader.GetPrivateProfileStringA("Last", "Port", "", value, sizeof value, saved.c_str());
          seen.push_back(value);
        }
        return seen;
      });
  if (!child.unavailable.empty()) GTEST_SKIP() << "cannot make the fault: " << child.unavailable;
  EXPECT_EQ(child.lines, (Lines{"1000", "1001", "1002", "1003", "1004", "1005", "1006", "1007"}));
}

// Characters that code page 936 cannot hold reach the files as "?", never as a
// broken byte sequence, and come back as "?" at the next start.
TEST_F(FaultTest, CharactersOutsideTheCodePageAreWrittenAsQuestionMarks) {
  InstallServer("#!/bin/sh\nexit 0\n", fs::perms(0755));
  // Korean, an emoji, a lone surrogate, U+FFFD, and a tag character, which
  // the system's converter would drop without a trace.
  const std::u16string name =
      std::u16string(u"服务器한😀x") + char16_t(0xD800) + u"y\uFFFD€\U000E0041";
  const std::u16string message = std::u16string(u"a") + char16_t(0xD83D) + u"\r\n한b";
  view.SetText(C::Text1_0, name);
  view.SetText(C::Text2, message);
  NativePlatform native(program);
  {
    Form1 form(view, native.platform());
    form.command1_Click();
    ASSERT_TRUE(program.reports.empty()) << ToUtf8(program.reports.front());
  }

  const std::string config = ReadFileBytes(work / "quenzartsrv.conf");
  const std::string saved = ReadFileBytes(work / "quenzartsrv.ini");
  const std::string nameBytes = "\xB7\xFE\xCE\xF1\xC6\xF7??x?y?\x80?";
  EXPECT_TRUE(config.starts_with("ServerName=" + nameBytes + "\r\n")) << config;
  EXPECT_NE(config.find("\r\nMotdLine=a?\r\nMotdLine=?b\r\nAllowWebAccess=1"), std::string::npos)
      << config;
  EXPECT_TRUE(saved.starts_with("[Last]\r\nServerName=" + nameBytes + "\r\n")) << saved;
  EXPECT_TRUE(saved.ends_with("\r\nMotdLine=a?@?b@\r\n")) << saved;
  const Cp936Codec codec;
  for (const std::string* bytes : {&config, &saved}) {
    EXPECT_EQ(codec.Decode(*bytes).find(u'\uFFFD'), std::u16string::npos);
  }

  FakeView restored(journal);
  Form1 next(restored, native.platform());
  next.Load();
  EXPECT_EQ(restored.texts.at(C::Text1_0), u"服务器??x?y?€?");
  EXPECT_EQ(restored.texts.at(C::Text2), u"a?\r\n?b");
}

// Saved settings that the panel did not write, or that were damaged, are
// restored from without a failure, and every field gets a sane value: no
// broken character, no line break in a single-line field, at most the 254
// bytes of the lookup, one option of each frame selected.
struct DamagedFile {
  const char* name;
  std::string bytes;
  std::vector<std::pair<C, std::u16string>> expected;
  std::vector<C> selected = {C::Option2, C::Option3_0};  // as the window opens
};

std::string Junk(std::size_t size) {
  std::string bytes;
  std::uint32_t state = 20240611;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes += static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string Utf16Le(const std::u16string& text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>(c >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::string LongLine() {
  std::string bytes(50 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < bytes.size(); i += 4)
    bytes.replace(i, 4, "\xBB\xB6\xD3\xAD");  // 欢迎
  return "[Last]\r\nMotdLine=x" + bytes + "\r\nPort=1\r\n";
}

std::u16string LongLineMessage() {
  // One byte and 126 double-byte characters: the 127th would end past 254.
  std::u16string text = u"x";
  for (int i = 0; i < 63; ++i) text += u"欢迎";
  return text;
}

TEST_F(FaultTest, DamagedSavedSettingsRestoreSaneValues) {
  const DamagedFile files[] = {
      {"binary junk",
       Junk(100000) + "\r\n[Last]\r\nPort=27888\r\n",
       {{C::Text1_4, u"27888"}, {C::Text1_0, u""}}},
      {"invalid double-byte sequences",
       "[Last]\r\nServerName=\x81\x20\xFF\xA1\r\nLocation=\xB1\xB1\xBE\xA9\r\nURL="
       "\x80\xA1\r\nMotdLine=\xB0",
       {{C::Text1_0, u"? ??"}, {C::Text1_1, u"北京"}, {C::Text1_2, u"€?"}, {C::Text2, u"?"}}},
      {"UTF-16 with its mark",
       Utf16Le(
           u"[Last]\r\nServerName=欢迎\r\nMaxConnSet=3\r\nPublic=0\r\nMotdLine=第一行@第二行@\r\n"),
       {{C::Text1_0, u"欢迎"}, {C::Text2, u"第一行\r\n第二行"}},
       {C::Option1, C::Option3_3}},
      {"UTF-16 big-endian, which is not read as UTF-16",
       Utf16Le(u"[Last]\r\nServerName=欢迎\r\n", /*bigEndian=*/true),
       {{C::Text1_0, u""}}},
      {"a 50 MB line", LongLine(), {{C::Text2, LongLineMessage()}, {C::Text1_4, u"1"}}},
  };
  const C singleLine[] = {C::Text1_0, C::Text1_1, C::Text1_2, C::Text1_3, C::Text1_4,
                          C::Text1_5, C::Text1_8, C::Text3,   C::Text4};
  const Cp936Codec codec;
  NativePlatform native(program);
  for (const DamagedFile& file : files) {
    SCOPED_TRACE(file.name);
    WriteFileBytes(work / "quenzartsrv.ini", file.bytes);
    FakeView restored(journal);
    Form1 form(restored, native.platform());
    form.Load();
    EXPECT_TRUE(program.reports.empty());
    for (const auto& [id, text] : file.expected) {
      EXPECT_EQ(ToUtf8(restored.texts.at(id)), ToUtf8(text)) << LayoutOf(id).name;
    }
    for (const C id : singleLine) {
      const std::u16string& text = restored.texts.at(id);
      EXPECT_EQ(text.find_first_of(u"\r\n\uFFFD"), std::u16string::npos) << LayoutOf(id).name;
      EXPECT_LE(codec.Encode(text).size(), 254u) << LayoutOf(id).name;
    }
    // The welcome message: its lines, each "@" of the stored value a CR LF.
    std::u16string stored;
    const std::u16string& message = restored.texts.at(C::Text2);
    for (std::size_t i = 0; i < message.size(); ++i) {
      const bool lineBreak = message.compare(i, 2, u"\r\n") == 0;
      stored += lineBreak ? u'@' : message[i];
      i += lineBreak ? 1 : 0;
    }
    EXPECT_EQ(stored.find_first_of(u"\r\n\uFFFD"), std::u16string::npos);
    EXPECT_LE(codec.Encode(stored).size(), 254u);
    std::vector<C> selected;
    for (const ControlLayout& control : Form1Layout().controls) {
      if (restored.IsSelected(control.id)) selected.push_back(control.id);
    }
    EXPECT_EQ(selected, file.selected);
  }
}

}  // namespace
}  // namespace quenzart
