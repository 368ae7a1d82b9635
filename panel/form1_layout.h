#pragma once

#include <optional>
#include <string_view>

#include "panel/controls.h"
#include "panel/layout.h"

namespace quenzart {

using ControlLayout = ControlLayoutOf<ControlId>;
using WindowLayout = WindowLayoutOf<ControlId>;

const WindowLayout& Form1Layout();
const ControlLayout& LayoutOf(ControlId id);

// The label that captions a field, for its accessible name: Label1(6)
// captions Text1(5), Label2 and Label3 stand to the right of Text3 and Text4.
std::optional<ControlId> LabelOf(ControlId field);

// Status-line texts of the running and the stopped state.
inline constexpr std::u16string_view kRunningCaption = u"Quenzart服务器端正在运行.....";
inline constexpr std::u16string_view kStoppedCaption = u"Quenzart服务器端已停止运行";

}  // namespace quenzart
