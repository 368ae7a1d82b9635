#pragma once

#include "platform/platform.h"

namespace quenzart {

// Text files that replace their namesake atomically and durably: the text goes
// into a new file beside the target, is flushed to disk, and is renamed over
// the target on Close. A symbolic link at the name is replaced, not followed.
class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(const AnsiCodec& codec) : codec_(codec) {}
  Result<std::unique_ptr<TextFile>> CreateTextFile(std::u16string_view name) override;
  bool FileExists(std::u16string_view name) override;

 private:
  const AnsiCodec& codec_;
};

}  // namespace quenzart
