#pragma once

#include <string>
#include <string_view>

namespace quenzart::standin {

// Converts code page 936 bytes to UTF-8. A byte that starts no valid sequence
// becomes U+FFFD, so that any file gives text the page can show. Throws
// FatalError when the system has no such conversion.
std::string DecodeCp936(std::string_view bytes);

}  // namespace quenzart::standin
