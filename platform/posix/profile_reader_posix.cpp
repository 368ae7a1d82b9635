#include "platform/posix/profile_reader_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/utf.h"

namespace quenzart {
namespace {

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Longer than any step in which a file system stamps its times.
constexpr long long kTimeStepNanoseconds = 2'000'000'000;

bool LongAfter(const timespec& later, const timespec& earlier) {
  const long long seconds = static_cast<long long>(later.tv_sec) - earlier.tv_sec;
  return seconds * 1'000'000'000 + (later.tv_nsec - earlier.tv_nsec) > kTimeStepNanoseconds;
}

bool ReadWholeFile(int fd, std::string& bytes) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
}

std::uint32_t CopyOut(std::string_view value, char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  const std::string_view cut = CutAnsiText(value, size - 1);
  std::memcpy(buffer, cut.data(), cut.size());
  buffer[cut.size()] = '\0';
  return static_cast<std::uint32_t>(cut.size());
}

}  // namespace

std::u16string DecodeProfileBytes(std::string_view bytes, const AnsiCodec& codec) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) {
    bytes.remove_prefix(2);
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
  }
  return codec.Decode(bytes);
}

std::string_view CutAnsiText(std::string_view bytes, std::size_t limit) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[end]);
    const std::size_t width = (lead >= 0x81 && lead <= 0xFE && end + 1 < bytes.size()) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return bytes.substr(0, end);
}

const ParsedProfile* PosixProfileReader::Load(const std::string& path) {
  // Taken before the file is looked at: a change after it gets a later time.
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return nullptr;
  }
  if (cached_.profile && cached_.path == path && cached_.device == status.st_dev &&
      cached_.inode == status.st_ino && cached_.size == status.st_size &&
      SameTime(cached_.modified, status.st_mtim) && SameTime(cached_.changed, status.st_ctim) &&
      LongAfter(cached_.read, cached_.changed)) {
    close(fd);
    return cached_.profile.get();
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(status.st_size));
  const bool read = ReadWholeFile(fd, bytes);
  close(fd);
  if (!read) return nullptr;

  cached_.profile = std::make_unique<ParsedProfile>(DecodeProfileBytes(bytes, codec_));
  cached_.path = path;
  cached_.device = status.st_dev;
  cached_.inode = status.st_ino;
  cached_.size = status.st_size;
  cached_.modified = status.st_mtim;
  cached_.changed = status.st_ctim;
  cached_.read = now;
  return cached_.profile.get();
}

std::uint32_t PosixProfileReader::GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                           const char* defaultValue,
                                                           char* returnedString, std::uint32_t size,
                                                           const char* fileName) {
  const std::string_view fallback = defaultValue == nullptr ? "" : defaultValue;
  if (appName == nullptr || keyName == nullptr || fileName == nullptr) {
    return CopyOut(fallback, returnedString, size);
  }
  const ParsedProfile* profile = Load(ToUtf8(codec_.Decode(fileName)));
  if (profile == nullptr) return CopyOut(fallback, returnedString, size);
  const auto value = profile->Lookup(codec_.Decode(appName), codec_.Decode(keyName));
  if (!value) return CopyOut(fallback, returnedString, size);
  return CopyOut(codec_.Encode(*value), returnedString, size);
}

}  // namespace quenzart
