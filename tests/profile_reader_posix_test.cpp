#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/codec_posix.h"
#include "platform/posix/profile_reader_posix.h"
#include "tests/test_support.h"

namespace quenzart {
namespace {

using ::quenzart::testing::TemporaryDirectory;
using ::quenzart::testing::WriteFileBytes;

class PosixProfileReaderTest : public ::testing::Test {
 protected:
  TemporaryDirectory directory;
  std::string path = (directory / "quenzartsrv.ini").string();
  Cp936Codec codec;
  PosixProfileReader reader{codec};

  // The bytes and count of one lookup with the panel's 255-byte buffer.
  std::pair<std::string, std::uint32_t> Lookup(const char* section, const char* key,
                                               const std::string& file) {
    std::string buffer(255, '\0');
    const std::uint32_t count =
        reader.GetPrivateProfileStringA(section, key, "", buffer.data(), 255, file.c_str());
    EXPECT_EQ(buffer[count], '\0');
    return {buffer.substr(0, count), count};
  }
  std::string Value(const char* section, const char* key) {
    return Lookup(section, key, path).first;
  }
};

TEST_F(PosixProfileReaderTest, MissingFileSectionAndKeyGiveTheEmptyText) {
  EXPECT_EQ(Lookup("Last", "Port", path), (std::pair<std::string, std::uint32_t>{"", 0}));
  WriteFileBytes(path, "[Last]\r\nPort=1\r\n");
  EXPECT_EQ(Lookup("Other", "Port", path).second, 0u);
  EXPECT_EQ(Lookup("Last", "URL", path).second, 0u);
  EXPECT_EQ(Lookup("Last", "Port", (directory / "no-such-dir" / "x.ini").string()).second, 0u);
}

TEST_F(PosixProfileReaderTest, FileEncodings) {
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"code page 936", "[Last]\r\nServerName=\xBB\xB6\xD3\xAD\r\n"},
      {"UTF-8 with mark", "\xEF\xBB\xBF[Last]\r\nServerName=\xE6\xAC\xA2\xE8\xBF\x8E\r\n"},
      {"UTF-16LE with mark",
       std::string(
           "\xFF\xFE[\0L\0a\0s\0t\0]\0\n\0S\0e\0r\0v\0e\0r\0N\0a\0m\0e\0=\0\x22\x6B\xCE\x8F", 42)},
  };
  for (const auto& file : files) {
    WriteFileBytes(path, file.bytes);
    EXPECT_EQ(Value("last", "ServerName"), "\xBB\xB6\xD3\xAD") << file.name;  // 欢迎 in CP936
  }
}

TEST_F(PosixProfileReaderTest, ATrailByteNeverClosesASectionName) {
  // 乚 is 0x81 0x5D in code page 936: its second byte is "]".
  WriteFileBytes(path, "[\x81\x5D\x41]\r\nK=v\r\n");
  EXPECT_EQ(Value("\x81\x5D\x41", "K"), "v");
}

TEST_F(PosixProfileReaderTest, ValuesAreCutTo254BytesAndNeverHalfACharacter) {
  const struct {
    std::string value;
    std::string expected;
  } cases[] = {
      {std::string(254, 'a'), std::string(254, 'a')},
      {std::string(255, 'a'), std::string(254, 'a')},
      {std::string(1000, 'a'), std::string(254, 'a')},
      // 253 single bytes and a double-byte character: the character does not fit.
      {std::string(253, 'a') + "\xBB\xB6", std::string(253, 'a')},
      {std::string(252, 'a') + "\xBB\xB6", std::string(252, 'a') + "\xBB\xB6"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(path, "[Last]\r\nMotdLine=" + c.value + "\r\n");
    const auto [value, count] = Lookup("Last", "MotdLine", path);
    EXPECT_EQ(value, c.expected) << c.value.size();
    EXPECT_EQ(count, c.expected.size());
  }
}

TEST_F(PosixProfileReaderTest, EveryLookupSeesTheFileAsItIsNow) {
  WriteFileBytes(path, "[Last]\r\nPort=1111\r\n");
  EXPECT_EQ(Value("Last", "Port"), "1111");
  // Same size, rewritten in place.
  WriteFileBytes(path, "[Last]\r\nPort=2222\r\n");
  EXPECT_EQ(Value("Last", "Port"), "2222");
  // Replaced by a rename, as the panel saves it.
  WriteFileBytes(directory / "new.ini", "[Last]\r\nPort=3333\r\n");
  std::filesystem::rename(directory / "new.ini", path);
  EXPECT_EQ(Value("Last", "Port"), "3333");
  std::filesystem::remove(path);
  EXPECT_EQ(Value("Last", "Port"), "");
}

TEST_F(PosixProfileReaderTest, HostileFilesGiveValuesWithoutCrashing) {
  std::string junk;
  for (int i = 0; i < 200000; ++i) junk += static_cast<char>((i * 7919) % 256);
  WriteFileBytes(path, junk + "\r\n[Last]\r\nPort=27888\r\n");
  EXPECT_EQ(Value("Last", "Port"), "27888");

  WriteFileBytes(path,
                 "[Last]\r\nMotdLine=" + std::string(10 * 1024 * 1024, 'x') + "\r\nPort=1\r\n");
  EXPECT_EQ(Value("Last", "MotdLine").size(), 254u);
  EXPECT_EQ(Value("Last", "Port"), "1");

  WriteFileBytes(path, "[Last]\r\nURL=\xFF\xFE\x80\x81\r\n");
  EXPECT_EQ(Value("Last", "URL"), "??\x80?");
}

TEST_F(PosixProfileReaderTest, DefaultIsCopiedAndCut) {
  char buffer[8];
  EXPECT_EQ(
      reader.GetPrivateProfileStringA("Last", "Port", "fallback-value", buffer, 8, path.c_str()),
      7u);
  EXPECT_STREQ(buffer, "fallbac");
}

}  // namespace
}  // namespace quenzart
