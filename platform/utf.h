#pragma once

#include <string>
#include <string_view>

namespace quenzart {

// UTF-16 to UTF-8 and back; an unpaired surrogate or a malformed byte
// sequence becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

}  // namespace quenzart
