#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenzart::testing {

// A fresh directory under the system's temporary folder, removed with
// everything in it when the test ends.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Makes a directory the current one for the lifetime of the object.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::filesystem::path& directory);
  ~CurrentDirectoryScope();

 private:
  std::filesystem::path previous_;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace quenzart::testing
