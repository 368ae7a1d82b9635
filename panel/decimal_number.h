#pragma once

#include <optional>
#include <string_view>

namespace quenzart {

// Reads a decimal number as an operator may have written it into the saved
// settings by hand: optional blanks, an optional sign, digits with an optional
// decimal point, an optional exponent, optional blanks. Anything else
// (hexadecimal, "inf", "nan", full-width digits, the empty text) is no number.
// A number too large or too small for a double comes back as NaN: it is a
// number, but it equals no value.
std::optional<double> ParseDecimalNumber(std::u16string_view text);

}  // namespace quenzart
