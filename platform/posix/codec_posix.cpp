#include "platform/posix/codec_posix.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace quenzart {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can; returns false at a sequence it cannot take,
  // with in and inLeft standing on it, or true when all input is consumed.
  bool Convert(const char*& in, std::size_t& inLeft, std::string& out) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
      char chunk[1024];
      char* outPtr = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t result =
          iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
      out.append(chunk, outPtr - chunk);
      if (result != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      return false;
    }
    return true;
  }

 private:
  iconv_t handle_;
};

// One converter per direction and thread: opening one costs far more than a
// short conversion.
Converter& Encoder() {
  thread_local Converter converter("CP936", "UTF-16LE");
  return converter;
}
Converter& Decoder() {
  thread_local Converter converter("UTF-16LE", "CP936");
  return converter;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// A run of text without surrogates, converted as a whole.
void EncodeRun(std::u16string_view run, std::string& bytes) {
  std::string units;
  units.reserve(run.size() * 2);
  for (const char16_t c : run) {
    units += static_cast<char>(c & 0xFF);
    units += static_cast<char>(c >> 8);
  }
  const char* in = units.data();
  std::size_t inLeft = units.size();
  while (!Encoder().Convert(in, inLeft, bytes)) {
    // A character that code page 936 cannot hold.
    bytes += '?';
    const std::size_t skip = std::min<std::size_t>(2, inLeft);
    in += skip;
    inLeft -= skip;
  }
}

}  // namespace

std::string Cp936Codec::Encode(std::u16string_view text) const {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  // Code page 936 holds no character beyond U+FFFF: a surrogate pair, like a
  // lone surrogate, becomes one "?" here. (iconv would drop some of them, the
  // tag characters U+E0000 to U+E007F, without a trace.)
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsHighSurrogate(text[i]) && !IsLowSurrogate(text[i])) continue;
    EncodeRun(text.substr(runStart, i - runStart), bytes);
    bytes += '?';
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    runStart = i + 1;
  }
  EncodeRun(text.substr(runStart), bytes);
  return bytes;
}

std::u16string Cp936Codec::Decode(std::string_view bytes) const {
  std::string units;
  units.reserve(bytes.size() * 2);
  const char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  while (!Decoder().Convert(in, inLeft, units)) {
    units += static_cast<char>(0xFD);
    units += static_cast<char>(0xFF);
    ++in;
    --inLeft;
  }
  std::u16string text(units.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                    (static_cast<unsigned char>(units[2 * i + 1]) << 8));
  }
  return text;
}

}  // namespace quenzart
