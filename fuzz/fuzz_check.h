#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A property of the code under test that must hold for every input. A
// violation prints what failed and aborts, which libFuzzer reports as a crash
// and keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

namespace quenzart::fuzz {

// Every two input bytes, little-endian, make one UTF-16 code unit: any
// sequence of units can be reached, lone surrogates and NUL included. An odd
// last byte is dropped.
inline std::u16string Utf16Units(const std::string& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return text;
}

}  // namespace quenzart::fuzz
