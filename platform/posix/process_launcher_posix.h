#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quenzart {

// Carries out the panel's Windows command lines on POSIX, never through a
// shell:
// - "ntsd -noshell -c q -pn NAME" ends the one process of this user whose
//   executable file is NAME (or NAME without ".exe"): SIGTERM, then SIGKILL
//   after a grace, from a detached child, through a pidfd. With none or
//   several such processes, nothing is ended.
// - "explorer.exe URL" hands URL, exactly as it stands, to xdg-open.
// - Anything else starts its program detached, found as Windows finds a
//   program named without a path.
class PosixProcessLauncher final : public ProcessLauncher {
 public:
  struct Options {
    // Where the search for a program named without a path looks first: the
    // panel's own directory.
    std::string programDirectory;
    std::chrono::milliseconds stopGrace{3000};
  };

  PosixProcessLauncher();  // the running program's directory, default grace
  explicit PosixProcessLauncher(Options options);

  Outcome Launch(std::u16string_view commandLine, ShowMode mode) override;

 private:
  Outcome Start(const std::u16string& program, const std::vector<std::u16string>& arguments);
  Outcome OpenUrl(std::u16string_view url);
  Outcome StopProcessesNamed(const std::u16string& imageName);

  Options options_;
};

// The processes of this user whose executable file is named imageName, or
// imageName without ".exe", letters compared without regard to case.
// Processes that have ended but are not reaped yet are not among them.
std::vector<int> FindProcessesByImageName(const std::u16string& imageName);

// The directory of the running program file.
std::string RunningProgramDirectory();

}  // namespace quenzart
