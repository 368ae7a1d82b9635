#include "tests/fakes.h"

#include <cstring>

#include "platform/utf.h"

namespace quenzart::testing {
namespace {

class FakeTextFile final : public TextFile {
 public:
  FakeTextFile(FakeFileSystem& files, std::u16string name)
      : files_(files), name_(std::move(name)) {}

  Outcome Write(std::u16string_view text) override {
    files_.journal_.push_back("write " + Narrow(name_));
    if (files_.failing.count("write " + Narrow(name_)))
      return Failure{u"写入文件", name_, u"磁盘空间不足"};
    text_ += text;
    return std::nullopt;
  }
  Outcome Close() override {
    files_.journal_.push_back("close " + Narrow(name_));
    if (files_.failing.count("close " + Narrow(name_)))
      return Failure{u"保存文件", name_, u"磁盘空间不足"};
    files_.closed[name_] = text_;
    return std::nullopt;
  }

 private:
  FakeFileSystem& files_;
  std::u16string name_;
  std::u16string text_;
};

}  // namespace

std::string Narrow(std::u16string_view text) {
  return ToUtf8(text);
}

Result<std::unique_ptr<TextFile>> FakeFileSystem::CreateTextFile(std::u16string_view name) {
  journal_.push_back("create " + Narrow(name));
  if (failing.count("create " + Narrow(name))) {
    return Failure{u"创建文件", std::u16string(name), u"文件系统是只读的"};
  }
  return std::unique_ptr<TextFile>(std::make_unique<FakeTextFile>(*this, std::u16string(name)));
}

Outcome FakeLauncher::Launch(std::u16string_view commandLine, ShowMode mode) {
  journal_.push_back("launch " + Narrow(commandLine) + " mode " +
                     std::to_string(static_cast<int>(mode)));
  if (failing.count(std::u16string(commandLine))) {
    return Failure{u"启动程序", std::u16string(commandLine), u"找不到该程序"};
  }
  return std::nullopt;
}

std::string FakeCodec::Encode(std::u16string_view text) const {
  std::string bytes;
  for (const char16_t c : text) bytes += c < 256 ? static_cast<char>(c) : '?';
  return bytes;
}

std::u16string FakeCodec::Decode(std::string_view bytes) const {
  std::u16string text;
  for (const char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  return text;
}

std::uint32_t FakeProfile::GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                    const char* defaultValue, char* returnedString,
                                                    std::uint32_t size, const char* fileName) {
  journal_.push_back(std::string("lookup ") + appName + "/" + keyName);
  std::string value = defaultValue;
  const auto found = values.find(std::string(appName) + "/" + keyName);
  if (found != values.end() && fileName == expectedPath) value = found->second;
  value = value.substr(0, size - 1);
  std::memcpy(returnedString, value.c_str(), value.size() + 1);
  return static_cast<std::uint32_t>(value.size());
}

void FakeProgram::ReportFailure(std::u16string_view message) {
  journal_.push_back("report " + Narrow(message));
  reports.emplace_back(message);
}

FakeView::FakeView(Journal& journal) : journal_(journal) {
  for (const ControlLayout& control : Form1Layout().controls) {
    if (control.kind == ControlKind::TextBox || control.kind == ControlKind::Label) {
      texts[control.id] = std::u16string(control.caption);
    }
    if (control.selected) selected.insert(control.id);
    if (!control.enabled) disabled.insert(control.id);
  }
}

void FakeView::SetText(ControlId textBox, std::u16string_view text) {
  journal_.push_back("set text " + std::string(LayoutOf(textBox).name) + " " + Narrow(text));
  texts[textBox] = std::u16string(text);
}

void FakeView::Select(ControlId option) {
  journal_.push_back("select " + std::string(LayoutOf(option).name) + "(" +
                     std::to_string(LayoutOf(option).index) + ")");
  const auto container = LayoutOf(option).container;
  for (const ControlLayout& control : Form1Layout().controls) {
    if (control.kind == ControlKind::OptionButton && control.container == container) {
      selected.erase(control.id);
    }
  }
  selected.insert(option);
}

void FakeView::SetEnabled(ControlId button, bool enabled) {
  journal_.push_back(std::string(enabled ? "enable " : "disable ") +
                     std::string(LayoutOf(button).name));
  if (enabled) {
    disabled.erase(button);
  } else {
    disabled.insert(button);
  }
}

void FakeView::SetCaption(ControlId label, std::u16string_view caption) {
  journal_.push_back("caption " + std::string(LayoutOf(label).name) + " " + Narrow(caption));
  texts[label] = std::u16string(caption);
}

void FakeView::SetSelection(ControlId, std::size_t start, std::size_t length) {
  journal_.push_back("select text " + std::to_string(start) + "+" + std::to_string(length));
  selection = {start, length};
}

}  // namespace quenzart::testing
