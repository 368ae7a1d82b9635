#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenzart {

// Cuts the welcome message into its lines. CR LF, a lone CR and a lone LF each
// end a line; the result has one more segment than the text has line breaks,
// so the text after the last break (possibly empty) is always the last one.
std::vector<std::u16string> SplitWelcomeMessage(std::u16string_view message);

// Turns the stored form of the message, every line followed by "@", back into
// lines separated by CR LF. A final "@" is dropped; a value that lost it (cut
// short, or edited by hand) keeps its last character.
std::u16string DecodeWelcomeMessage(std::u16string_view stored);

}  // namespace quenzart
