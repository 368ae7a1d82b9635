// SplitCommandLine over arbitrary command lines, and over command lines made
// from arbitrary words.
//
// - It never fails, and gives no word at all only for a line of blanks.
// - A line without quotes gives words that are neither empty nor hold a
//   blank, and that hold no more characters than the line.
// - Words written back as a command line (each argument quoted by the rules
//   the splitting follows) split into the same words: every list of words
//   can be passed, and the splitting is stable.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/command_line.h"

namespace {

using namespace quenzart;
using Words = std::vector<std::u16string>;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}
bool HasBlank(std::u16string_view text) {
  return text.find_first_of(u" \t") != std::u16string_view::npos;
}

// Bytes below 0x80 stand for themselves, so that blanks, quotes and
// backslashes are common; 0xFF and the two bytes after it give any code unit;
// other bytes give a CJK character.
std::u16string Widen(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] < 0x80) {
      text += static_cast<char16_t>(data[i]);
    } else if (data[i] == 0xFF && i + 2 < size) {
      text += static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8));
      i += 2;
    } else {
      text += static_cast<char16_t>(0x4E00 + data[i]);
    }
  }
  return text;
}

// The program name knows no escapes: quoted when it is empty, holds a blank
// or starts with a quote, and then it must hold no quote.
std::u16string QuoteProgram(const std::u16string& program) {
  if (!program.empty() && !HasBlank(program) && program.front() != u'"') return program;
  return u"\"" + program + u"\"";
}

// An argument: as it is when that is unambiguous, otherwise in quotes with
// each quote escaped and the backslashes before a quote or the closing quote
// doubled.
std::u16string QuoteArgument(const std::u16string& word) {
  if (!word.empty() && !HasBlank(word) && word.find(u'"') == std::u16string::npos) return word;
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (const char16_t c : word) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      quoted.append(2 * backslashes + 1, u'\\');
    } else {
      quoted.append(backslashes, u'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, u'\\');
  quoted += u'"';
  return quoted;
}

std::u16string JoinCommandLine(const Words& words) {
  std::u16string line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i == 0) {
      line += QuoteProgram(words[0]);
    } else {
      line += u' ';
      line += QuoteArgument(words[i]);
    }
  }
  return line;
}

void CheckArbitraryLine(const std::u16string& line) {
  const Words words = SplitCommandLine(line);
  bool onlyBlanks = true;
  for (const char16_t c : line) onlyBlanks = onlyBlanks && IsBlank(c);
  FUZZ_CHECK(words.empty() == onlyBlanks);

  std::size_t characters = 0;
  for (const std::u16string& word : words) characters += word.size();
  FUZZ_CHECK(characters <= line.size());
  if (line.find(u'"') == std::u16string::npos) {
    for (const std::u16string& word : words) FUZZ_CHECK(!word.empty() && !HasBlank(word));
  }
  FUZZ_CHECK(SplitCommandLine(JoinCommandLine(words)) == words);
}

// The input as a list of words, separated by NUL: the first is the program,
// which cannot hold a quote.
void CheckWordsRoundTrip(const std::u16string& text) {
  Words words(1);
  for (const char16_t c : text) {
    if (c == u'\0') {
      words.emplace_back();
    } else {
      words.back() += c;
    }
  }
  std::erase(words.front(), u'"');
  FUZZ_CHECK(SplitCommandLine(JoinCommandLine(words)) == words);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = Widen(data, size);
  CheckArbitraryLine(text);
  CheckWordsRoundTrip(text);
  return 0;
}
