#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "panel/form1_layout.h"
#include "panel/form1_view.h"
#include "platform/platform.h"

// Recording stand-ins for the platform and the window. Every call that has an
// effect is appended to one shared journal, so a test can check the order of
// a handler's steps across files, launches and controls.
namespace quenzart::testing {

using Journal = std::vector<std::string>;

std::string Narrow(std::u16string_view text);

class FakeFileSystem final : public FileSystem {
 public:
  explicit FakeFileSystem(Journal& journal) : journal_(journal) {}

  Result<std::unique_ptr<TextFile>> CreateTextFile(std::u16string_view name) override;
  bool FileExists(std::u16string_view name) override {
    return existing.count(std::u16string(name)) > 0;
  }

  // The text of each file that was closed, by name.
  std::map<std::u16string, std::u16string> closed;
  std::set<std::u16string> existing;
  // Operations to fail, as "create NAME", "write NAME" or "close NAME".
  std::set<std::string> failing;

  Journal& journal_;
};

class FakeLauncher final : public ProcessLauncher {
 public:
  explicit FakeLauncher(Journal& journal) : journal_(journal) {}
  Outcome Launch(std::u16string_view commandLine, ShowMode mode) override;

  std::set<std::u16string> failing;  // command lines whose launch fails
  Journal& journal_;
};

class FakeEnvironment final : public Environment {
 public:
  std::u16string LocalIP() override { return localIp; }
  std::u16string CurrentDirectory() override { return currentDirectory; }
  std::u16string_view PathSeparator() const override { return u"/"; }

  std::u16string localIp = u"10.0.0.5";
  std::u16string currentDirectory = u"/srv/panel";
};

// Code page 936 is not needed for the logic: this codec keeps UTF-16 code
// units below 256 as bytes and turns the others into "?".
class FakeCodec final : public AnsiCodec {
 public:
  std::string Encode(std::u16string_view text) const override;
  std::u16string Decode(std::string_view bytes) const override;
};

// Answers lookups from a table of (path, section, key) -> value; names are
// matched exactly, so the test also checks what the handler asks for.
class FakeProfile final : public ProfileReader {
 public:
  explicit FakeProfile(Journal& journal) : journal_(journal) {}
  std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName,
                                         const char* defaultValue, char* returnedString,
                                         std::uint32_t size, const char* fileName) override;

  std::map<std::string, std::string> values;  // "section/key" -> value
  std::string expectedPath = "/srv/panel/quenzartsrv.ini";
  Journal& journal_;
};

class FakeProgram final : public ProgramControl {
 public:
  explicit FakeProgram(Journal& journal) : journal_(journal) {}
  void ReportFailure(std::u16string_view message) override;
  void EndProgram() override { journal_.push_back("end program"); }

  std::vector<std::u16string> reports;
  Journal& journal_;
};

// The window's controls as plain values, initialised from the layout table.
class FakeView final : public Form1View {
 public:
  explicit FakeView(Journal& journal);

  std::u16string Text(ControlId textBox) const override { return texts.at(textBox); }
  void SetText(ControlId textBox, std::u16string_view text) override;
  bool IsSelected(ControlId option) const override { return selected.count(option) > 0; }
  void Select(ControlId option) override;
  void SetEnabled(ControlId button, bool enabled) override;
  void SetCaption(ControlId label, std::u16string_view caption) override;
  void SetSelection(ControlId textBox, std::size_t start, std::size_t length) override;
  void ShowAboutWindow() override { journal_.push_back("show about"); }

  std::map<ControlId, std::u16string> texts;
  std::set<ControlId> selected;
  std::set<ControlId> disabled;
  std::pair<std::size_t, std::size_t> selection{0, 0};
  Journal& journal_;
};

// Everything a Form1 needs, recording into one journal.
struct FakePlatform {
  Journal journal;
  FakeFileSystem files{journal};
  FakeLauncher launcher{journal};
  FakeProfile profile{journal};
  FakeCodec codec;
  FakeEnvironment environment;
  FakeProgram program{journal};
  Platform platform{launcher, files, profile, codec, environment, program};
};

}  // namespace quenzart::testing
