#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/profile_parser.h"

namespace quenzart {

// The profile lookup on POSIX. Every call reads the file as it is on disk at
// that moment; the parsed copy of the last file read is reused only while its
// identity, size and modification time are unchanged, and only when it was
// read well after its last change: file systems stamp times in steps (a clock
// tick, or two seconds), and two writes within one step leave the same times.
class PosixProfileReader final : public ProfileReader {
 public:
  explicit PosixProfileReader(const AnsiCodec& codec) : codec_(codec) {}

  std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName,
                                         const char* defaultValue, char* returnedString,
                                         std::uint32_t size, const char* fileName) override;

 private:
  const ParsedProfile* Load(const std::string& path);

  struct Cached {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    timespec read{};  // when the file was read, by the clock of file times
    std::unique_ptr<ParsedProfile> profile;
  };

  const AnsiCodec& codec_;
  Cached cached_;
};

// Turns the bytes of a profile file into text: a UTF-8 or UTF-16LE byte-order
// mark says which of the two it is; otherwise the bytes are code page 936.
std::u16string DecodeProfileBytes(std::string_view bytes, const AnsiCodec& codec);

// The first bytes of a code page 936 text that fit into limit bytes, never
// ending inside a double-byte character.
std::string_view CutAnsiText(std::string_view bytes, std::size_t limit);

}  // namespace quenzart
