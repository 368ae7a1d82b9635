#include "settings/welcome_message.h"

namespace quenzart {

std::vector<std::u16string> SplitWelcomeMessage(std::u16string_view message) {
  std::vector<std::u16string> segments;
  std::size_t start = 0;
  for (std::size_t p = 0; p < message.size(); ++p) {
    const char16_t c = message[p];
    if (c != u'\r' && c != u'\n') continue;
    segments.emplace_back(message.substr(start, p - start));
    if (c == u'\r' && p + 1 < message.size() && message[p + 1] == u'\n') ++p;
    start = p + 1;
  }
  segments.emplace_back(message.substr(start));
  return segments;
}

std::u16string DecodeWelcomeMessage(std::u16string_view stored) {
  if (!stored.empty() && stored.back() == u'@') stored.remove_suffix(1);
  std::u16string lines;
  lines.reserve(stored.size() + stored.size() / 8);
  for (const char16_t c : stored) {
    if (c == u'@') {
      lines += u"\r\n";
    } else {
      lines += c;
    }
  }
  return lines;
}

}  // namespace quenzart
