#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "panel/controls.h"

namespace quenzart {

// The main window as the handlers see it: plain get and set operations on its
// controls. The welcome-message box separates its lines by CR LF, and its
// positions count a line break as two characters.
class Form1View {
 public:
  virtual ~Form1View() = default;
  virtual std::u16string Text(ControlId textBox) const = 0;
  virtual void SetText(ControlId textBox, std::u16string_view text) = 0;
  virtual bool IsSelected(ControlId option) const = 0;
  // Selects an option button and clears the others of its frame.
  virtual void Select(ControlId option) = 0;
  virtual void SetEnabled(ControlId button, bool enabled) = 0;
  virtual void SetCaption(ControlId label, std::u16string_view caption) = 0;
  virtual void SetSelection(ControlId textBox, std::size_t start, std::size_t length) = 0;
  // Shows the About window modeless, creating it when it is not open.
  virtual void ShowAboutWindow() = 0;
};

}  // namespace quenzart
