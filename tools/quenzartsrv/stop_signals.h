#pragma once

#include "tools/quenzartsrv/unique_fd.h"

namespace quenzart::standin {

// SIGTERM, SIGINT and SIGHUP, taken through a signalfd so that the poll loop
// sees them as input and ends in order: no handler runs at all. With
// ignoreTerm, SIGTERM is ignored instead, so that a stop must fall back to
// SIGKILL. SIGPIPE is ignored: a client that goes away is no reason to end.
class StopSignals {
 public:
  explicit StopSignals(bool ignoreTerm);  // throws FatalError

  // Readable once a stop signal is pending.
  int fd() const { return fd_.get(); }

  // The number of a pending stop signal, or 0 when none is.
  int TakePending();

 private:
  UniqueFd fd_;
};

const char* SignalName(int signal);

}  // namespace quenzart::standin
