#include "platform/posix/file_system_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/posix/error_text.h"
#include "platform/utf.h"

namespace quenzart {
namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const auto slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  return directory + "." + base + ".new-" + std::to_string(getpid()) + "-" +
         std::to_string(counter++);
}

class PosixTextFile final : public TextFile {
 public:
  PosixTextFile(int fd, std::string temporary, std::string target, std::u16string name,
                const AnsiCodec& codec)
      : fd_(fd),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        name_(std::move(name)),
        codec_(codec) {}

  ~PosixTextFile() override {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(temporary_.c_str());
  }

  Outcome Write(std::u16string_view text) override {
    if (fd_ < 0) return Failed(u"写入文件", EBADF);
    const std::string bytes = codec_.Encode(text);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written = write(fd_, bytes.data() + done, bytes.size() - done);
      if (written < 0) {
        if (errno == EINTR) continue;
        return Failed(u"写入文件", errno);
      }
      done += static_cast<std::size_t>(written);
    }
    return std::nullopt;
  }

  Outcome Close() override {
    if (fd_ < 0) return Failed(u"保存文件", EBADF);
    if (fsync(fd_) != 0) return Failed(u"保存文件", errno);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 && errno != EINTR) return Failed(u"保存文件", errno);
    if (rename(temporary_.c_str(), target_.c_str()) != 0) return Failed(u"保存文件", errno);
    committed_ = true;
    // The rename itself reaches the disk only with its directory.
    const int directory = open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
      fsync(directory);
      close(directory);
    }
    return std::nullopt;
  }

 private:
  Failure Failed(std::u16string_view action, int error) const {
    return Failure{std::u16string(action), name_, ReasonFromErrno(error)};
  }

  int fd_;
  std::string temporary_;
  std::string target_;
  std::u16string name_;
  const AnsiCodec& codec_;
  bool committed_ = false;
};

}  // namespace

Result<std::unique_ptr<TextFile>> PosixFileSystem::CreateTextFile(std::u16string_view name) {
  const std::string target = ToUtf8(name);
  auto failed = [&](int error) {
    return Failure{u"创建文件", std::u16string(name), ReasonFromErrno(error)};
  };
  // Only the rename would find a folder in the way; say so before writing.
  struct stat existing {};
  if (lstat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return failed(EISDIR);

  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = TemporaryNameFor(target);
    const int fd =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      return std::unique_ptr<TextFile>(std::make_unique<PosixTextFile>(
          fd, std::move(temporary), target, std::u16string(name), codec_));
    }
    if (errno != EEXIST) return failed(errno);
  }
  return failed(EEXIST);
}

bool PosixFileSystem::FileExists(std::u16string_view name) {
  struct stat status {};
  return stat(ToUtf8(name).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace quenzart
