#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace quenzart {

enum class ControlKind { Label, TextBox, Frame, OptionButton, Button };

// One control of a window as the toolkit is to build it. Positions and sizes
// are in twips (15 twips are one pixel at 96 dots per inch), relative to the
// client area of the container: the window, or the frame named.
template <typename Id>
struct ControlLayoutOf {
  Id id;
  std::string_view name;  // the control's name, e.g. "Text1"
  int index;              // index in its control array, or -1
  ControlKind kind;
  std::optional<Id> container;
  std::u16string_view caption;  // caption, or default text of a text box
  int left, top, width, height;
  int tabIndex;
  double fontPoints;  // 0: the window's font
  bool bold = false;
  bool enabled = true;
  bool selected = false;   // option buttons
  bool centred = false;    // text boxes
  bool multiLine = false;  // text boxes: multi-line, vertical scroll bar, wrapping
  bool highlight = false;  // text in the system's highlight colour
};

template <typename Id>
struct WindowLayoutOf {
  std::u16string_view caption;
  int clientWidth, clientHeight;  // twips
  double fontPoints;              // 0: the toolkit's default font
  bool sizable;                   // else fixed, with no minimize button
  std::span<const ControlLayoutOf<Id>> controls;
};

// Every font a window or control sets is this one, GB2312 character set.
inline constexpr std::u16string_view kPanelFontFamily = u"宋体";
inline constexpr int kTwipsPerPixel = 15;

}  // namespace quenzart
