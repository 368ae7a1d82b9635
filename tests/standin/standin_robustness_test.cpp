#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/standin/standin_harness.h"

namespace quenzart::standin_test {
namespace {

using RobustnessTest = StandinTest;

// The stand-in's limit on connections open at once.
constexpr int kConnectionLimit = 64;

int OpenSockets(pid_t pid) {
  std::error_code error;
  int sockets = 0;
  const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
  for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
    std::error_code gone;
    if (std::filesystem::read_symlink(entry.path(), gone).string().starts_with("socket:")) {
      ++sockets;
    }
  }
  return sockets;
}

TEST_F(RobustnessTest, AnswersAnOversizedHeadWith431AndGoesOn) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  const std::string request =
      "GET / HTTP/1.1\r\nX-Filler: " + std::string(1024 * 1024, 'a') + "\r\n\r\n";
  const HttpReply reply = Exchange(port_, request);
  EXPECT_EQ(reply.status, 431) << reply.raw.substr(0, 200);
  EXPECT_TRUE(reply.closedByServer);

  EXPECT_EQ(Exchange(port_, kPlainGet).status, 200);
}

TEST_F(RobustnessTest, HoldsNoMoreThanItsLimitAndStillAnswers) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  std::vector<LoopbackConnection> idle;
  for (int index = 0; index < 100; ++index) {
    idle.emplace_back(port_);
    ASSERT_TRUE(idle.back().connected()) << "connection " << index;
  }

  const HttpReply reply = Exchange(port_, kPlainGet);
  EXPECT_EQ(reply.status, 200) << reply.raw;
  // By the time that answer came, every earlier connection had been taken.
  EXPECT_LE(OpenSockets(standin().pid()), kConnectionLimit + 1) << "+1 for the listener";
  EXPECT_TRUE(standin().Running());
}

TEST_F(RobustnessTest, AnUnfinishedRequestNeitherBlocksOthersNorStaysForever) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  LoopbackConnection slow(port_);
  ASSERT_TRUE(slow.Send("GET / HTTP/1.1\r\nHost: 127.0."));

  const HttpReply reply = Exchange(port_, kPlainGet);
  EXPECT_EQ(reply.status, 200) << reply.raw;

  // Dropped after its ten seconds, not at once.
  EXPECT_FALSE(slow.ClosedByServerWithin(1s));
  EXPECT_TRUE(slow.ClosedByServerWithin(20s));
}

// Each reply must be nothing at all or a response of its own.
TEST_F(RobustnessTest, SurvivesRandomBytes) {
  ASSERT_TRUE(StartServing(DefaultFields()));
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  const std::string valid(kPlainGet);

  for (int round = 0; round < 150; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      const int length = std::uniform_int_distribution<int>(1, 20000)(random);
      for (int index = 0; index < length; ++index) bytes += static_cast<char>(byte(random));
    } else {
      bytes = valid;
      for (int flip = 0; flip < 4; ++flip) {
        const auto at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
        bytes[at] = static_cast<char>(byte(random));
      }
    }
    const HttpReply reply = Exchange(port_, bytes, {.closeAfterSending = true, .limit = 5s});
    ASSERT_TRUE(reply.closedByServer) << "round " << round;
    if (!reply.raw.empty()) {
      EXPECT_TRUE(reply.raw.starts_with("HTTP/1.1 ")) << "round " << round << ": " << reply.raw;
    }
  }

  EXPECT_EQ(Exchange(port_, kPlainGet).status, 200);
  EXPECT_TRUE(standin().Running());
}

}  // namespace
}  // namespace quenzart::standin_test
