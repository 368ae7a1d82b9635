#pragma once

#include <cstdint>

namespace quenzart {

// The controls of the main window. Arrays keep their indices in the name:
// Text1_5 is Text1(5). The gaps in the indices are the window's own.
// clang-format off
enum class ControlId : std::uint8_t {
  Label1_0, Text1_0, Label1_1, Text1_1, Label1_2, Text1_2, Label1_3, Text1_3,
  Label1_4, Text1_4, Label1_6, Text1_5, Label1_7, Text1_8,
  Frame1, Option1, Option2,
  Frame2, Text3, Label2, Text4, Label3,
  Label1_8, Text2,
  Frame3, Option3_0, Option3_1, Option3_2, Option3_3, Option3_4, Option3_5, Option3_6,
  Label4, command1, command2, Command5, Command3, command4,
};
// clang-format on

inline constexpr ControlId kSpeedClassOptions[] = {
    ControlId::Option3_0, ControlId::Option3_1, ControlId::Option3_2, ControlId::Option3_3,
    ControlId::Option3_4, ControlId::Option3_5, ControlId::Option3_6,
};

}  // namespace quenzart
