#include "platform/command_line.h"

namespace quenzart {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> words;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && IsBlank(line[i])) ++i;
  if (i == n) return words;

  // The program name knows no escapes: Windows reads it as a file name.
  std::u16string program;
  if (line[i] == u'"') {
    ++i;
    while (i < n && line[i] != u'"') program += line[i++];
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(line[i])) program += line[i++];
  }
  words.push_back(std::move(program));

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) break;
    std::u16string word;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      if (line[i] == u'\\') {
        std::size_t backslashes = 0;
        while (i < n && line[i] == u'\\') ++backslashes, ++i;
        if (i < n && line[i] == u'"') {
          word.append(backslashes / 2, u'\\');
          if (backslashes % 2 == 1) {
            word += u'"';
            ++i;
          }
        } else {
          word.append(backslashes, u'\\');
        }
      } else if (line[i] == u'"') {
        if (quoted && i + 1 < n && line[i + 1] == u'"') {
          word += u'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        word += line[i++];
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace quenzart
