#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quenzart {

// A profile (".ini") text read the way the Windows profile calls read the
// files operators edit by hand:
// - CR, LF or CR LF end a line; blank lines are ignored;
// - a line whose first non-blank character is "[" and that holds a "]" is a
//   section line, its name running to the last "]"; keys before any section
//   belong to the section with the empty name;
// - other lines are split at their first "="; a line without "=" is a key
//   without a value;
// - names and values are trimmed of blanks (space, tab, CR, LF, VT, FF and
//   character 26); one pair of matching quotes around a value is taken off;
// - a NUL ends the name or value it stands in;
// - names match without regard to the case of ASCII letters; only the first
//   section of a name counts, and in it the first key of a name.
class ParsedProfile {
 public:
  explicit ParsedProfile(std::u16string_view text);

  // The value, or nothing when the section or the key is missing or the key
  // has no value.
  std::optional<std::u16string> Lookup(std::u16string_view section, std::u16string_view key) const;

 private:
  // Keyed by names with ASCII letters folded to small ones; a key without a
  // value maps to nothing.
  using Section = std::unordered_map<std::u16string, std::optional<std::u16string>>;
  std::unordered_map<std::u16string, Section> sections_;
};

// Trims the blanks of a profile name or value from both ends.
std::u16string_view TrimProfileBlanks(std::u16string_view text);

}  // namespace quenzart
