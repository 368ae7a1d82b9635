#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/failure.h"

// The operations the panel needs from its surroundings, as small interfaces so
// that the handlers can be driven by recording fakes in tests. The real ones
// live in platform/posix/ and platform/qt/.
namespace quenzart {

// Windows window-show modes; the panel passes them through as given.
enum class ShowMode : int { Hide = 0, ShowMinimized = 2 };

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program of a Windows-style command line without waiting for it.
  virtual Outcome Launch(std::u16string_view commandLine, ShowMode mode) = 0;
};

// A text file being written. Nothing is visible under the file's name until
// Close() succeeds; a file dropped without Close() leaves the old one in place.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // Adds the text, converted to the ANSI code page, with no line break of its own.
  virtual Outcome Write(std::u16string_view text) = 0;
  virtual Outcome Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a text file under a name relative to the current directory,
  // replacing an existing file of that name when it is closed.
  virtual Result<std::unique_ptr<TextFile>> CreateTextFile(std::u16string_view name) = 0;
  virtual bool FileExists(std::u16string_view name) = 0;
};

// The profile lookup of Windows: section, key and default in the ANSI code
// page; at most size - 1 bytes of value and a zero byte are written into the
// buffer; the result is the number of value bytes.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  virtual std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                 const char* defaultValue, char* returnedString,
                                                 std::uint32_t size, const char* fileName) = 0;
};

// Conversion between the panel's UTF-16 texts and the system's ANSI code page.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // A character the code page cannot hold becomes "?".
  virtual std::string Encode(std::u16string_view text) const = 0;
  virtual std::u16string Decode(std::string_view bytes) const = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // The machine's local IPv4 address in dotted form.
  virtual std::u16string LocalIP() = 0;
  // Absolute path of the current directory, without a trailing separator
  // unless it is the root.
  virtual std::u16string CurrentDirectory() = 0;
  // The separator between a directory and a name in a path.
  virtual std::u16string_view PathSeparator() const = 0;
};

// What the window toolkit does for the handlers beyond the window's controls.
class ProgramControl {
 public:
  virtual ~ProgramControl() = default;
  // Shows a failure to the operator in a message box and returns when it is closed.
  virtual void ReportFailure(std::u16string_view message) = 0;
  // Ends the whole program, every window with it, with no further window event.
  virtual void EndProgram() = 0;
};

struct Platform {
  ProcessLauncher& launcher;
  FileSystem& files;
  ProfileReader& profile;
  AnsiCodec& codec;
  Environment& environment;
  ProgramControl& program;
};

}  // namespace quenzart
