#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenzart {

// Splits a command line into its program and arguments as Windows programs
// split theirs: the program name runs to the first blank, or between quotes
// when it starts with one; in the arguments, blanks separate words, quotes
// group them, 2n backslashes before a quote give n backslashes and a
// grouping quote, 2n+1 give n backslashes and a literal quote, and "" inside
// quotes is a literal quote.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace quenzart
