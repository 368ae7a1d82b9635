// The POSIX profile lookup over arbitrary file bytes, the way the panel reads
// its saved settings at start-up: a 255-byte buffer and an empty default.
//
// For each input the bytes are written over one and the same file, in place,
// and a few keys are looked up through a reader that lives across inputs (so
// its cached copy of the previous file must never answer for the new one) and
// through a fresh reader. Each answer must:
// - hold at most 254 bytes, followed by the zero byte at [count];
// - hold no zero byte and no line break before it;
// - end on a whole code page 936 character: its bytes decode and encode back
//   to themselves;
// - be the same from both readers.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/posix/codec_posix.h"
#include "platform/posix/profile_reader_posix.h"

namespace {

using namespace quenzart;

constexpr std::uint32_t kBufferSize = 255;

// The lookups of the panel's start-up, in the case it asks with, and a few
// that the saved settings never hold: the empty names, a double-byte section
// name whose trail byte is "]".
constexpr struct {
  const char* section;
  const char* key;
} kLookups[] = {
    {"Last", "ServerName"}, {"last", "MotdLine"}, {"Last", "Port"},
    {"last", "MaxConnSet"}, {"LAST", "Public"},   {"", ""},
    {"\x81\x5D\x41", "K"},
};

// A temporary folder holding the one profile file, removed at exit: under
// TMPDIR, else in memory (/dev/shm) where there is such a folder, else /tmp.
class ProfileFile {
 public:
  ProfileFile() {
    const char* base = std::getenv("TMPDIR");
    if (base == nullptr || *base == '\0')
      base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/quenzart-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    directory_ = pattern;
    path_ = directory_ + "/quenzartsrv.ini";
  }
  ~ProfileFile() {
    unlink(path_.c_str());
    rmdir(directory_.c_str());
  }

  // Rewrites the file in place: same path, same inode.
  void Write(const std::uint8_t* data, std::size_t size) {
    const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t written = write(fd, data + done, size - done);
      FUZZ_CHECK(written > 0);
      done += static_cast<std::size_t>(written);
    }
    close(fd);
  }

  const char* path() const { return path_.c_str(); }

 private:
  std::string directory_;
  std::string path_;
};

std::string LookUp(PosixProfileReader& reader, const char* section, const char* key,
                   const char* path) {
  // Exactly the buffer's size on the heap, so that a byte written past it is
  // an error of the address sanitizer.
  const auto buffer = std::make_unique<char[]>(kBufferSize);
  std::memset(buffer.get(), 'X', kBufferSize);
  const std::uint32_t count =
      reader.GetPrivateProfileStringA(section, key, "", buffer.get(), kBufferSize, path);
  FUZZ_CHECK(count <= kBufferSize - 1);
  FUZZ_CHECK(buffer[count] == '\0');
  FUZZ_CHECK(std::strlen(buffer.get()) == count);
  const std::string value(buffer.get(), count);
  FUZZ_CHECK(value.find_first_of("\r\n") == std::string::npos);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Cp936Codec codec;
  static ProfileFile file;
  static PosixProfileReader lasting(codec);

  file.Write(data, size);
  PosixProfileReader fresh(codec);
  for (const auto& lookup : kLookups) {
    const std::string value = LookUp(lasting, lookup.section, lookup.key, file.path());
    FUZZ_CHECK(codec.Encode(codec.Decode(value)) == value);
    FUZZ_CHECK(LookUp(fresh, lookup.section, lookup.key, file.path()) == value);
  }
  return 0;
}
