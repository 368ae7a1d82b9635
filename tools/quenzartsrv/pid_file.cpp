#include "tools/quenzartsrv/pid_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/quenzartsrv/fatal_error.h"
#include "tools/quenzartsrv/unique_fd.h"

namespace quenzart::standin {

PidFile::PidFile(std::string path) : path_(std::move(path)) {
  const std::string text = std::to_string(getpid()) + "\n";
  UniqueFd file(open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!file.valid()) throw SystemError("cannot write " + path_);
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t count = write(file.get(), text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      const FatalError error = SystemError("cannot write " + path_);
      unlink(path_.c_str());
      throw error;
    }
    written += static_cast<std::size_t>(count);
  }
}

PidFile::~PidFile() {
  unlink(path_.c_str());
}

}  // namespace quenzart::standin
