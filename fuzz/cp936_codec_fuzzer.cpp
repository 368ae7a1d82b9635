// Code page 936 both ways, over the input taken once as bytes and once as
// UTF-16 code units.
//
// Bytes to text: decoding never fails and gives no surrogate; encoding what
// was decoded is stable (encoding its decoding gives it back), and bytes that
// decoded without U+FFFD encode back to themselves.
//
// Text to bytes: the bytes decode without U+FFFD, to one character for each
// character of the text (a surrogate pair is one), each the text's own or
// "?" where the code page cannot hold it. Cut to any length, the bytes still
// end on a whole character.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/posix/codec_posix.h"
#include "platform/posix/profile_reader_posix.h"

namespace {

using namespace quenzart;

bool IsSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}
bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

void CheckBytesToText(const Cp936Codec& codec, const std::string& bytes) {
  const std::u16string text = codec.Decode(bytes);
  FUZZ_CHECK(text.size() <= bytes.size());
  bool replaced = false;
  for (const char16_t c : text) {
    FUZZ_CHECK(!IsSurrogate(c));
    replaced = replaced || c == 0xFFFD;
  }
  const std::string encoded = codec.Encode(text);
  FUZZ_CHECK(codec.Encode(codec.Decode(encoded)) == encoded);
  if (!replaced) FUZZ_CHECK(encoded == bytes);
}

void CheckTextToBytes(const Cp936Codec& codec, const std::u16string& text) {
  const std::string bytes = codec.Encode(text);
  const std::u16string back = codec.Decode(bytes);
  std::size_t k = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++k) {
    FUZZ_CHECK(k < back.size());
    FUZZ_CHECK(back[k] != 0xFFFD);
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      // A character beyond U+FFFF: code page 936 holds none.
      FUZZ_CHECK(back[k] == u'?');
      ++i;
    } else {
      FUZZ_CHECK(back[k] == text[i] || back[k] == u'?');
    }
  }
  FUZZ_CHECK(k == back.size());

  for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, bytes.size() / 2,
                                  bytes.size() / 2 + 1, bytes.size() - 1, bytes.size()}) {
    if (limit > bytes.size()) continue;
    const std::string_view cut = CutAnsiText(bytes, limit);
    FUZZ_CHECK(cut.size() <= limit && cut.size() + 1 >= limit);
    FUZZ_CHECK(bytes.starts_with(cut));
    const std::u16string cutText = codec.Decode(cut);
    FUZZ_CHECK(cutText.find(u'\uFFFD') == std::u16string::npos);
    FUZZ_CHECK(back.starts_with(cutText));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Cp936Codec codec;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckBytesToText(codec, bytes);
  CheckTextToBytes(codec, fuzz::Utf16Units(bytes));
  return 0;
}
