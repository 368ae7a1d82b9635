#pragma once

#include <memory>

#include "platform/platform.h"

namespace quenzart {

// The real platform operations of the system the panel runs on.
class NativePlatform {
 public:
  explicit NativePlatform(ProgramControl& program);
  ~NativePlatform();
  NativePlatform(const NativePlatform&) = delete;
  NativePlatform& operator=(const NativePlatform&) = delete;

  Platform& platform();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// A descriptor that becomes readable when the system asks the program to end
// (on POSIX: SIGTERM, SIGHUP or SIGINT), or -1 where there is no such thing.
// Each request writes one byte to it.
int TerminationRequestDescriptor();

}  // namespace quenzart
