#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "panel/controls.h"

namespace quenzart {

enum class ControlKind { Label, TextBox, Frame, OptionButton, Button };

// One control of a window as the toolkit is to build it. Positions and sizes
// are in twips (15 twips are one pixel at 96 dots per inch), relative to the
// client area of the container: the window, or the frame named.
struct ControlLayout {
  ControlId id;
  std::string_view name;  // the control's name, e.g. "Text1"
  int index;              // index in its control array, or -1
  ControlKind kind;
  std::optional<ControlId> container;
  std::u16string_view caption;  // caption, or default text of a text box
  int left, top, width, height;
  int tabIndex;
  double fontPoints;
  bool bold = false;
  bool enabled = true;
  bool selected = false;   // option buttons
  bool centred = false;    // text boxes
  bool multiLine = false;  // text boxes: multi-line, vertical scroll bar, wrapping
  bool highlight = false;  // text in the system's highlight colour
};

struct WindowLayout {
  std::u16string_view caption;
  int clientWidth, clientHeight;  // twips
  double fontPoints;
  std::span<const ControlLayout> controls;
};

inline constexpr std::u16string_view kPanelFontFamily = u"宋体";
inline constexpr int kTwipsPerPixel = 15;

const WindowLayout& Form1Layout();
const ControlLayout& LayoutOf(ControlId id);

// Status-line texts of the running and the stopped state.
inline constexpr std::u16string_view kRunningCaption = u"Quenzart服务器端正在运行.....";
inline constexpr std::u16string_view kStoppedCaption = u"Quenzart服务器端已停止运行";

}  // namespace quenzart
