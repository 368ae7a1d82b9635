#pragma once

#include "platform/platform.h"

namespace quenzart {

// Code page 936, the Simplified Chinese ANSI code page of Windows.
class Cp936Codec final : public AnsiCodec {
 public:
  std::string Encode(std::u16string_view text) const override;
  // A byte sequence that is no character of the code page becomes U+FFFD.
  std::u16string Decode(std::string_view bytes) const override;
};

}  // namespace quenzart
