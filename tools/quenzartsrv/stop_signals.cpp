#include "tools/quenzartsrv/stop_signals.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>

#include "tools/quenzartsrv/fatal_error.h"

namespace quenzart::standin {
namespace {

void SetDisposition(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  if (sigaction(signal, &action, nullptr) != 0) throw SystemError("cannot set signal handling");
}

}  // namespace

StopSignals::StopSignals(bool ignoreTerm) {
  SetDisposition(SIGPIPE, SIG_IGN);
  if (ignoreTerm) SetDisposition(SIGTERM, SIG_IGN);

  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGHUP);
  if (!ignoreTerm) sigaddset(&stops, SIGTERM);
  // Blocked before the pid file exists, so a signal sent as soon as it
  // appears waits for the loop instead of ending the process on the spot.
  if (sigprocmask(SIG_BLOCK, &stops, nullptr) != 0) throw SystemError("cannot block signals");
  fd_ = UniqueFd(signalfd(-1, &stops, SFD_NONBLOCK | SFD_CLOEXEC));
  if (!fd_.valid()) throw SystemError("cannot open a signalfd");
}

int StopSignals::TakePending() {
  signalfd_siginfo info;
  for (;;) {
    const ssize_t got = read(fd_.get(), &info, sizeof info);
    if (got == static_cast<ssize_t>(sizeof info)) return static_cast<int>(info.ssi_signo);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) return 0;
    throw SystemError("cannot read the signalfd");
  }
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "a signal";
  }
}

}  // namespace quenzart::standin
