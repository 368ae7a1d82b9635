#include "platform/qt/text_box_text.h"

namespace quenzart {
namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

}  // namespace

std::u16string PanelTextFromDocument(std::u16string_view raw) {
  std::u16string text;
  text.reserve(raw.size() + 16);
  for (const char16_t c : raw) {
    if (c == kParagraphSeparator || c == kLineSeparator || c == u'\n') {
      text += u"\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

std::u16string DocumentTextFromPanel(std::u16string_view text) {
  std::u16string document;
  document.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      document += u'\n';
    } else {
      document += text[i];
    }
  }
  return document;
}

std::size_t DocumentPositionFromPanel(std::u16string_view text, std::size_t position) {
  std::size_t document = 0;
  std::size_t i = 0;
  while (i < position && i < text.size()) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      i += 2;
    } else {
      ++i;
    }
    ++document;
  }
  return document;
}

}  // namespace quenzart
