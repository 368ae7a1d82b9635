#pragma once

#include <string>

#include "platform/platform.h"

namespace quenzart {

// The current directory as a path in the file system's bytes, or "." when it
// cannot be read.
std::string CurrentDirectoryPath();

class PosixEnvironment final : public Environment {
 public:
  // The first IPv4 address of an interface that is up and not a loopback,
  // else 127.0.0.1.
  std::u16string LocalIP() override;
  std::u16string CurrentDirectory() override;
  std::u16string_view PathSeparator() const override { return u"/"; }
};

}  // namespace quenzart
