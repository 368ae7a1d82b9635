#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/codec_posix.h"
#include "platform/posix/file_system_posix.h"
#include "settings/settings_files.h"
#include "tests/sample_settings.h"
#include "tests/test_support.h"

namespace quenzart {
namespace {

using ::quenzart::testing::CurrentDirectoryScope;
using ::quenzart::testing::ReadFileBytes;
using ::quenzart::testing::TemporaryDirectory;
using ::quenzart::testing::WriteFileBytes;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  TemporaryDirectory directory;
  CurrentDirectoryScope inside{directory.path()};
  Cp936Codec codec;
  PosixFileSystem files{codec};

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(PosixFileSystemTest, NewWindowFilesAreTheseBytes) {
  ASSERT_FALSE(WriteSettingsFiles(quenzart::testing::NewWindowSettings(), files));

  EXPECT_EQ(ReadFileBytes("quenzartsrv.conf"),
            "ServerName=Tamberlow\r\nLocation=\r\nURL=http://\r\nMaxUsers=50\r\nPort=27888\r\n"
            "Public=1\r\nIP=10.0.0.5\r\nFloodMsgNb=3\r\nFloodMsgTime=5\r\nMinPing=0\r\n"
            "MaxConnSet=0\r\nMotdLine=\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1\r\nMotdLine=\r\n"
            "AllowWebAccess=1");
  EXPECT_EQ(ReadFileBytes("quenzartsrv.ini"),
            "[Last]\r\nServerName=Tamberlow\r\nLocation=\r\nURL=http://\r\nMaxUsers=50\r\n"
            "Port=27888\r\nPublic=1\r\nFloodMsgNb=3\r\nFloodMsgTime=5\r\nMinPing=0\r\n"
            "MaxConnSet=0\r\nMotdLine=\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xA3\xA1@@\r\n");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"quenzartsrv.conf", "quenzartsrv.ini"}));
}

TEST_F(PosixFileSystemTest, ALongerOldFileIsReplacedWhole) {
  WriteFileBytes("f.txt", std::string(10000, 'x'));
  auto file = files.CreateTextFile(u"f.txt");
  ASSERT_TRUE(file.ok());
  ASSERT_FALSE(file.value()->Write(u"new"));
  ASSERT_FALSE(file.value()->Close());
  EXPECT_EQ(ReadFileBytes("f.txt"), "new");
}

TEST_F(PosixFileSystemTest, AFileNotClosedLeavesTheOldOneAndNoLeftovers) {
  WriteFileBytes("f.txt", "old");
  {
    auto file = files.CreateTextFile(u"f.txt");
    ASSERT_TRUE(file.ok());
    ASSERT_FALSE(file.value()->Write(u"half"));
  }
  EXPECT_EQ(ReadFileBytes("f.txt"), "old");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"f.txt"}));
}

TEST_F(PosixFileSystemTest, ASymbolicLinkIsReplacedAndItsTargetLeftAlone) {
  WriteFileBytes("target.txt", "precious");
  ASSERT_EQ(symlink("target.txt", "f.txt"), 0);
  auto file = files.CreateTextFile(u"f.txt");
  ASSERT_TRUE(file.ok());
  ASSERT_FALSE(file.value()->Write(u"new"));
  ASSERT_FALSE(file.value()->Close());
  EXPECT_EQ(ReadFileBytes("target.txt"), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink("f.txt"));
  EXPECT_EQ(ReadFileBytes("f.txt"), "new");
}

TEST_F(PosixFileSystemTest, AFolderAtTheNameIsAFailureThatSaysSo) {
  std::filesystem::create_directory("quenzartsrv.conf");
  auto file = files.CreateTextFile(u"quenzartsrv.conf");
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.failure(),
            (Failure{u"创建文件", u"quenzartsrv.conf", u"该名称已被一个文件夹占用"}));
}

TEST_F(PosixFileSystemTest, NewFilesFollowTheUmask) {
  const mode_t previous = umask(022);
  auto file = files.CreateTextFile(u"f.txt");
  umask(previous);
  ASSERT_TRUE(file.ok());
  ASSERT_FALSE(file.value()->Close());
  struct stat status {};
  ASSERT_EQ(stat("f.txt", &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(PosixFileSystemTest, FileExistsOnlyForFiles) {
  WriteFileBytes("f.txt", "");
  std::filesystem::create_directory("d");
  EXPECT_TRUE(files.FileExists(u"f.txt"));
  EXPECT_FALSE(files.FileExists(u"d"));
  EXPECT_FALSE(files.FileExists(u"missing"));
}

}  // namespace
}  // namespace quenzart
