#include "platform/profile_parser.h"

namespace quenzart {
namespace {

bool IsProfileBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 26;
}

std::u16string_view UpToNul(std::u16string_view text) {
  const auto nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

std::u16string FoldCase(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return folded;
}

std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::u16string_view TrimProfileBlanks(std::u16string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsProfileBlank(text[begin])) ++begin;
  while (end > begin && IsProfileBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

ParsedProfile::ParsedProfile(std::u16string_view text) {
  // The keys before any section line belong to the section with the empty
  // name. Null while inside a later section of a name already seen: its keys
  // count for nothing.
  Section* current = &sections_[u""];
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", position);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view line = TrimProfileBlanks(text.substr(position, end - position));
    position = end + 1;
    if (end < text.size() && text[end] == u'\r' && position < text.size() &&
        text[position] == u'\n') {
      ++position;
    }
    if (line.empty()) continue;

    const auto closing = line.rfind(u']');
    if (line.front() == u'[' && closing != std::u16string_view::npos) {
      const std::u16string name = FoldCase(TrimProfileBlanks(UpToNul(line.substr(1, closing - 1))));
      const auto [entry, inserted] = sections_.try_emplace(name);
      current = inserted ? &entry->second : nullptr;
      continue;
    }
    if (current == nullptr) continue;

    const auto equals = line.find(u'=');
    const std::u16string_view keyPart =
        equals == std::u16string_view::npos ? line : line.substr(0, equals);
    const std::u16string key = FoldCase(TrimProfileBlanks(UpToNul(keyPart)));
    if (equals == std::u16string_view::npos) {
      current->try_emplace(key, std::nullopt);
    } else {
      const std::u16string_view value = TrimProfileBlanks(UpToNul(line.substr(equals + 1)));
      current->try_emplace(key, std::u16string(Unquote(value)));
    }
  }
}

std::optional<std::u16string> ParsedProfile::Lookup(std::u16string_view section,
                                                    std::u16string_view key) const {
  const auto found = sections_.find(FoldCase(TrimProfileBlanks(section)));
  if (found == sections_.end()) return std::nullopt;
  const auto entry = found->second.find(FoldCase(TrimProfileBlanks(key)));
  if (entry == found->second.end()) return std::nullopt;
  return entry->second;
}

}  // namespace quenzart
