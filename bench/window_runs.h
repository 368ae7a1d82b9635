#pragma once

#include <string>

namespace quenzart::bench {

// One run of a window program, started afresh.
struct WindowRun {
  double firstPaintMs = 0;  // from just before the start to the first paint being done
  double lifetimeMs = 0;    // from just before the start to the end of the process
  double cpuMs = 0;         // processor time of the whole process, user and system
  double peakMib = 0;       // VmHWM after the idle time; 0 when not asked for
  double privateMib = 0;    // RssAnon after the idle time; 0 when not asked for
  std::string platform;     // the Qt platform it ran on
  std::string qtVersion;
};

// Starts the program in directory, waits for its end and returns what it
// reported; idleMs > 0 asks for the peak memory after that much idle time.
// Throws when the program fails or reports nothing.
WindowRun RunWindowProgram(const std::string& program, const std::string& directory, int idleMs);

}  // namespace quenzart::bench
