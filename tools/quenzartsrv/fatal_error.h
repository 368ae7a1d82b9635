#pragma once

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quenzart::standin {

// Something that keeps the stand-in from running on. main() prints the text
// as one line on stderr and exits with a failure code.
struct FatalError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "what: reason" for the current errno. The stand-in runs one thread, so
// strerror() is safe here.
inline FatalError SystemError(const std::string& what) {
  return FatalError(what + ": " + std::strerror(errno));
}

}  // namespace quenzart::standin
