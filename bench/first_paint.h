#pragma once

#include <cstdint>
#include <vector>

namespace quenzart::bench {

// What the driver tells a window program on its command line.
struct WindowRunOptions {
  // CLOCK_MONOTONIC in nanoseconds just before the driver started the process.
  std::int64_t startedNs = 0;
  // Idle time after the first paint before the peak memory is read; 0 ends at once.
  int idleMs = 0;
  // The arguments left for the application: the program name and anything else.
  std::vector<char*> qtArguments;
  int qtArgumentCount = 0;
};

// Takes --started-ns=N and --idle-ms=N off the command line, for the watch
// that WatchFirstPaint sets up. Call first in main.
WindowRunOptions& ParseWindowRunOptions(int argc, char** argv);

// Run from the application's constructor (Q_COREAPP_STARTUP_FUNCTION), so
// that the program under test builds its application and windows itself:
// watches every event for the first paint of a top-level window. Once that
// paint and the flush that follows it are done (a queued call after the paint
// event), prints the time since the process was started, the platform and the
// Qt version; after the idle time prints the peak and the private resident
// memory, then quits.
void WatchFirstPaint();

}  // namespace quenzart::bench
