#pragma once

#include <cstddef>
#include <string>

#include "bench/start_bench.h"

namespace quenzart::bench {

// The saved-settings file of a Start with typical values, as the panel writes it.
std::string TypicalSavedSettings();

// At least junkBytes of hand-edited junk (printable lines, some with "=",
// some "[sections]", no [Last] among them), then the typical [Last] section.
std::string HandEditedSettings(std::size_t junkBytes);

// The start-up restore (Form1::Load on the real POSIX platform, fresh for
// every run) over the file of these bytes, written into directory, against
// one read of the file and one parse of its decoded text. Each sample is the
// mean of batch runs, in milliseconds.
PairedSamples RunRestoreBench(const std::string& directory, const std::string& bytes, int pairs,
                              int batch);

}  // namespace quenzart::bench
