#include "panel/decimal_number.h"

#include <charconv>
#include <limits>
#include <string>

namespace quenzart {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

std::optional<double> ParseDecimalNumber(std::u16string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  std::string ascii;
  std::size_t i = begin;
  bool negative = false;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  std::size_t digits = 0;
  while (i < end && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
  if (i < end && text[i] == u'.') {
    ascii += '.';
    ++i;
    while (i < end && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
    std::size_t exponentDigits = 0;
    while (i < end && IsDigit(text[i])) ascii += static_cast<char>(text[i++]), ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;

  // from_chars is independent of the C locale, which the toolkit sets from
  // the environment.
  double value = 0;
  const auto [last, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error == std::errc::invalid_argument || last != ascii.data() + ascii.size()) {
    return std::nullopt;
  }
  if (error == std::errc::result_out_of_range) value = std::numeric_limits<double>::quiet_NaN();
  return negative ? -value : value;
}

}  // namespace quenzart
