#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "platform/native_platform.h"
#include "platform/posix/codec_posix.h"
#include "platform/posix/environment_posix.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/process_launcher_posix.h"
#include "platform/posix/profile_reader_posix.h"

namespace quenzart {

struct NativePlatform::Parts {
  explicit Parts(ProgramControl& program)
      : files(codec), profile(codec), platform{launcher, files,       profile,
                                               codec,    environment, program} {}

  Cp936Codec codec;
  PosixFileSystem files;
  PosixProcessLauncher launcher;
  PosixProfileReader profile;
  PosixEnvironment environment;
  Platform platform;
};

NativePlatform::NativePlatform(ProgramControl& program)
    : parts_(std::make_unique<Parts>(program)) {}
NativePlatform::~NativePlatform() = default;
Platform& NativePlatform::platform() {
  return parts_->platform;
}

namespace {

int terminationPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const int saved = errno;
  const char byte = 1;
  (void)!write(terminationPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

int TerminationRequestDescriptor() {
  if (terminationPipe[0] >= 0) return terminationPipe[0];
  if (pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
  return terminationPipe[0];
}

}  // namespace quenzart
