#include "tools/quenzartsrv/cp936.h"

#include <iconv.h>

#include <cerrno>

#include "tools/quenzartsrv/fatal_error.h"

namespace quenzart::standin {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

class Decoder {
 public:
  Decoder() : handle_(iconv_open("UTF-8", "CP936")) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw SystemError("cannot decode code page 936");
  }
  ~Decoder() { iconv_close(handle_); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  std::string Decode(std::string_view bytes) {
    std::string text;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
      char chunk[4096];
      char* out = chunk;
      std::size_t outLeft = sizeof chunk;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      text.append(chunk, static_cast<std::size_t>(out - chunk));
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // An invalid or cut-off sequence: mark it and go on after its first byte.
      text += kReplacementCharacter;
      ++in;
      --inLeft;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return text;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string DecodeCp936(std::string_view bytes) {
  return Decoder().Decode(bytes);
}

}  // namespace quenzart::standin
