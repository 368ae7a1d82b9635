#pragma once

#include <cstdint>

#include "panel/layout.h"

namespace quenzart {

// The controls of the About window. Its frames and labels share their names
// with controls of the main window but are its own; its button is Command1
// with a capital C.
enum class AboutControlId : std::uint8_t { Frame1, Label1, Frame2, Label2, Label3, Command1 };

using AboutControlLayout = ControlLayoutOf<AboutControlId>;
using AboutWindowLayout = WindowLayoutOf<AboutControlId>;

const AboutWindowLayout& Form2Layout();

}  // namespace quenzart
