#pragma once

#include <string>

namespace quenzart::standin {

inline constexpr const char* kPidFileName = "quenzartsrv.pid";

// Writes this process's id to a file for as long as the object lives, so that
// whoever started the stand-in can find and stop it.
class PidFile {
 public:
  // Throws FatalError when the file cannot be written.
  explicit PidFile(std::string path);
  ~PidFile();
  PidFile(const PidFile&) = delete;
  PidFile& operator=(const PidFile&) = delete;

 private:
  std::string path_;
};

}  // namespace quenzart::standin
