#pragma once

#include <string>

#include "bench/measure.h"

namespace quenzart::bench {

// Start (command1_Click) on the real POSIX platform in directory, which it
// makes, against writing the same two files' bytes with the same durability
// and one detached launch of the same trivial program; in milliseconds.
PairedSamples RunStartBench(const std::string& directory, int pairs);

}  // namespace quenzart::bench
