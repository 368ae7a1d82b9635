#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The welcome-message box keeps its lines as paragraphs; the panel sees them
// separated by CR LF, as in a Windows edit box. These convert texts and
// positions between the two forms: a line break is one position in the
// toolkit and two in the panel.
namespace quenzart {

// From the document's raw text: paragraph and line separators become CR LF.
// Nothing else changes, no-break spaces included.
std::u16string PanelTextFromDocument(std::u16string_view raw);

// CR LF, a lone CR and a lone LF each become one "\n" for the toolkit.
std::u16string DocumentTextFromPanel(std::u16string_view text);

// The toolkit position of a panel position in text. A position between CR and
// LF maps to the start of the next line.
std::size_t DocumentPositionFromPanel(std::u16string_view text, std::size_t position);

}  // namespace quenzart
