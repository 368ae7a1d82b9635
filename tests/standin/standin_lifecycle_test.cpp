#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "tests/standin/standin_harness.h"

namespace quenzart::standin_test {
namespace {

using LifecycleTest = StandinTest;

class StopSignalTest : public StandinTest, public ::testing::WithParamInterface<int> {};

TEST_P(StopSignalTest, EndsCleanlyAndRemovesThePidFile) {
  ASSERT_TRUE(StartServing(DefaultFields())) << standin().Output();
  ASSERT_EQ(Exchange(port_, kPlainGet).status, 200);

  standin().Signal(GetParam());
  const std::optional<int> status = standin().WaitForExit(10s);
  ASSERT_TRUE(status) << "still running after the signal";
  ASSERT_TRUE(WIFEXITED(*status)) << "wait status " << *status;
  EXPECT_EQ(WEXITSTATUS(*status), 0) << standin().Output();
  EXPECT_FALSE(std::filesystem::exists(standin().pidFilePath()));
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(LifecycleTest, IgnoreTermOutlivesSigtermUntilKilled) {
  ASSERT_TRUE(StartServing(DefaultFields(), {"--ignore-term"})) << standin().Output();

  standin().Signal(SIGTERM);
  // Once a request made after the signal is answered, the signal has been
  // delivered: the stand-in has run since.
  EXPECT_EQ(Exchange(port_, kPlainGet).status, 200);
  EXPECT_TRUE(standin().Running());
  EXPECT_TRUE(std::filesystem::exists(standin().pidFilePath()));

  standin().Signal(SIGKILL);
  const std::optional<int> status = standin().WaitForExit(10s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL) << "wait status " << *status;
}

TEST_F(LifecycleTest, WithoutWebAccessRunsWithoutListening) {
  ConfigFields fields = DefaultFields();
  fields.allowWebAccess = "0";
  ASSERT_TRUE(StartServing(fields)) << standin().Output();

  const HttpReply reply = Exchange(port_, kPlainGet, {.limit = 2s});
  EXPECT_EQ(reply.raw, "");
  EXPECT_FALSE(reply.closedByServer) << "something accepted on port " << port_;
  EXPECT_TRUE(standin().Running());

  const int status = standin().Stop();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  EXPECT_FALSE(std::filesystem::exists(standin().pidFilePath()));
}

TEST_F(LifecycleTest, UnknownArgumentExitsWithTwo) {
  WriteConfig(ComposeConfig(DefaultFields()));
  Start({"--bogus"});
  const std::optional<int> status = standin().WaitForExit(10s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 2) << "wait status " << *status;
  EXPECT_NE(standin().Output().find("--bogus"), std::string::npos) << standin().Output();
  EXPECT_FALSE(std::filesystem::exists(standin().pidFilePath()));
}

enum class ConfigSetup { kNoFile, kPortValue, kPortTaken };

struct BadConfigCase {
  const char* name;
  ConfigSetup setup;
  std::string port;  // for kPortValue
  std::string messageMentions;

  friend void PrintTo(const BadConfigCase& testCase, std::ostream* out) { *out << testCase.name; }
};

class BadConfigTest : public StandinTest, public ::testing::WithParamInterface<BadConfigCase> {};

// A socket listening on 127.0.0.1:port, so that the stand-in cannot bind it.
class PortHolder {
 public:
  explicit PortHolder(std::uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    holding_ = fd_ >= 0 &&
               bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
               listen(fd_, 1) == 0;
  }
  ~PortHolder() {
    if (fd_ >= 0) close(fd_);
  }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;
  bool holding() const { return holding_; }

 private:
  int fd_;
  bool holding_ = false;
};

TEST_P(BadConfigTest, ExitsWithAOneLineMessage) {
  const BadConfigCase& testCase = GetParam();
  std::optional<PortHolder> holder;
  ConfigFields fields = DefaultFields();
  if (testCase.setup == ConfigSetup::kPortTaken) {
    holder.emplace(port_);
    ASSERT_TRUE(holder->holding());
  }
  if (testCase.setup == ConfigSetup::kPortValue) fields.port = testCase.port;
  if (testCase.setup != ConfigSetup::kNoFile) WriteConfig(ComposeConfig(fields));

  Start();
  const std::optional<int> status = standin().WaitForExit(10s);
  ASSERT_TRUE(status) << "still running";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) != 0) << "wait status " << *status;
  const std::string output = standin().Output();
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
  EXPECT_NE(output.find(testCase.messageMentions), std::string::npos) << output;
  EXPECT_FALSE(std::filesystem::exists(standin().pidFilePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, BadConfigTest,
    ::testing::Values(BadConfigCase{"NoFile", ConfigSetup::kNoFile, "", "quenzartsrv.conf"},
                      BadConfigCase{"PortNotANumber", ConfigSetup::kPortValue, "abc", "abc"},
                      BadConfigCase{"PortZero", ConfigSetup::kPortValue, "0", "Port"},
                      BadConfigCase{"PortTooLarge", ConfigSetup::kPortValue, "70000", "70000"},
                      BadConfigCase{"PortOverflowing", ConfigSetup::kPortValue,
                                    "99999999999999999999", "Port"},
                      BadConfigCase{"PortSigned", ConfigSetup::kPortValue, "+80", "Port"},
                      BadConfigCase{"PortEmpty", ConfigSetup::kPortValue, "", "Port"},
                      BadConfigCase{"PortTaken", ConfigSetup::kPortTaken, "", "port"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenzart::standin_test
